#include "support/scriptedoperator.h"

int ScriptedOperator::chooseOnError(const RunError &error)
{
    errorsSeen << error;
    if (onError)
        onError(error);
    return errorChoices.isEmpty() ? ChoiceAbort : errorChoices.takeFirst();
}

bool ScriptedOperator::askYesNo(const QString &text, const QString &title, MessageIcon, bool defaultYes)
{
    messages << title + QLatin1Char('|') + text;
    return yesNoAnswers.isEmpty() ? defaultYes : yesNoAnswers.takeFirst();
}

void ScriptedOperator::showMessage(const QString &text, const QString &title, MessageIcon)
{
    messages << title + QLatin1Char('|') + text;
}
