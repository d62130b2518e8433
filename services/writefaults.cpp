#include "services/writefaults.h"

#include <QRegularExpression>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

const QString crashVariable = QStringLiteral("TRASPASOR_CRASH_AT_WRITE");
const QString failVariable = QStringLiteral("TRASPASOR_FAIL_AT_WRITE");

// A positive whole number, or 0 when text is no such number.
qint64 positiveWhole(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,15}$"));
    if (!digits.match(text).hasMatch())
        return 0;
    return text.toLongLong();
}

QString refused(const QString &variable, const QString &value, const QString &form)
{
    return QStringLiteral("%1=%2 no es válido: se espera %3.").arg(variable, value, form);
}

[[noreturn]] void crashNow(qint64 write)
{
    std::fprintf(stderr, "%s: el proceso se detiene antes de la escritura %lld.\n",
                 crashVariable.toLatin1().constData(), static_cast<long long>(write));
    std::fflush(stderr);
#ifdef SIGKILL
    std::raise(SIGKILL);
#endif
    std::_Exit(137);
}

} // namespace

bool WriteFaults::readEnvironment(QString *error)
{
    return configure(qEnvironmentVariable(crashVariable.toLatin1().constData()),
                     qEnvironmentVariable(failVariable.toLatin1().constData()), error);
}

bool WriteFaults::configure(const QString &crashAt, const QString &failAt, QString *error)
{
    *this = WriteFaults();
    qint64 crash = 0;
    if (!crashAt.isEmpty() && (crash = positiveWhole(crashAt)) == 0) {
        if (error)
            *error = refused(crashVariable, crashAt, QStringLiteral("un número entero positivo (k)"));
        return false;
    }
    qint64 fail = 0;
    const bool lasting = failAt.endsWith(QLatin1Char('+'));
    if (!failAt.isEmpty() && (fail = positiveWhole(lasting ? failAt.chopped(1) : failAt)) == 0) {
        if (error)
            *error = refused(failVariable, failAt,
                             QStringLiteral("un número entero positivo (k, o k+ para un fallo que persiste)"));
        return false;
    }
    m_crashAt = crash;
    m_failAt = fail;
    m_failLasting = lasting;
    return true;
}

bool WriteFaults::beforeWrite(const QString &statement)
{
    if (!active())
        return false;
    if (m_failPending && statement == m_failedStatement) {
        m_failPending = m_failLasting;
        return m_failLasting;
    }
    m_failPending = false;
    ++m_writes;
    if (m_writes == m_crashAt)
        crashNow(m_writes);
    if (m_writes == m_failAt) {
        m_failPending = true;
        m_failedStatement = statement;
        return true;
    }
    return false;
}

bool WriteFaults::isWriteStatement(const QString &statement)
{
    static const QRegularExpression write(QStringLiteral("^\\s*(INSERT|UPDATE|DELETE)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    return write.match(statement).hasMatch();
}
