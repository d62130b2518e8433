#include "services/consoleoperator.h"
#include "services/log.h"

#include <cstdio>

ReportChoice ConsoleOperator::chooseOnError(const RunError &error)
{
    // The error is logged before the question; a log that echoes it has shown it.
    if (m_log.echoesWarnings())
        return ChoiceAbort;
    const QByteArray line = (QStringLiteral("ERROR: ") + error.text() + QLatin1Char('\n')).toUtf8();
    std::fputs(line.constData(), stderr);
    return ChoiceAbort;
}

bool ConsoleOperator::askYesNo(const QString &text, const QString &title, MessageIcon, bool defaultYes)
{
    m_log.info(
        QStringLiteral("%1: %2 -> %3").arg(title, text, defaultYes ? QStringLiteral("Sí") : QStringLiteral("No")));
    return defaultYes;
}

void ConsoleOperator::showMessage(const QString &text, const QString &title, MessageIcon)
{
    // SharedServices::message has logged it already; the console shows it
    // too, unless the log's echo has.
    if (m_log.echoesWarnings())
        return;
    const QByteArray line = (title + QStringLiteral(": ") + text + QLatin1Char('\n')).toUtf8();
    std::fputs(line.constData(), stderr);
}
