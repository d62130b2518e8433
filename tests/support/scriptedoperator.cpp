#include "support/scriptedoperator.h"

ReportChoice ScriptedOperator::chooseOnError(const RunError &error)
{
    errorsSeen << error;
    if (onError)
        onError(error);
    const int choice = errorChoices.isEmpty() ? ChoiceAbort : errorChoices.takeFirst();
    if (choice == ChoiceRetry || choice == ChoiceIgnore)
        return ReportChoice(choice);
    return ChoiceAbort; // as the error box: any other answer gives up
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
