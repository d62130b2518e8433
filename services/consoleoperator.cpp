#include "services/consoleoperator.h"
#include "services/log.h"

#include <cstdio>

int ConsoleOperator::chooseOnError(const RunError &error)
{
    const QByteArray line = (QStringLiteral("ERROR: ") + error.text() + QLatin1Char('\n')).toUtf8();
    std::fputs(line.constData(), stderr);
    return ChoiceAbort;
}

bool ConsoleOperator::askYesNo(const QString &text, const QString &title, MessageIcon, bool defaultYes)
{
    m_log.info(QStringLiteral("%1: %2 -> %3").arg(title, text, defaultYes ? QStringLiteral("Sí") : QStringLiteral("No")));
    return defaultYes;
}

void ConsoleOperator::showMessage(const QString &text, const QString &title, MessageIcon)
{
    // SharedServices::message has logged it already; the console shows it too.
    const QByteArray line = (title + QStringLiteral(": ") + text + QLatin1Char('\n')).toUtf8();
    std::fputs(line.constData(), stderr);
}
