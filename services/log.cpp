#include "services/log.h"
#include "services/redact.h"

#include <QDateTime>
#include <QFileInfo>
#include <atomic>
#include <QUuid>
#include <cstdio>

namespace {

std::atomic<Log *> qtMessagesLog{nullptr};

QString qtLevelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return QStringLiteral("depuración");
    case QtInfoMsg:
        return QStringLiteral("información");
    case QtWarningMsg:
        return QStringLiteral("aviso");
    case QtCriticalMsg:
        return QStringLiteral("crítico");
    case QtFatalMsg:
        break;
    }
    return QStringLiteral("fatal");
}

void toLog(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    Log *log = qtMessagesLog.load();
    const QString line = QStringLiteral("Qt %1: %2").arg(qtLevelName(type), message);
    if (!log) {
        std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stderr);
        return;
    }
    if (type == QtDebugMsg || type == QtInfoMsg)
        log->info(line);
    else if (type == QtWarningMsg)
        log->warning(line);
    else
        log->error(line);
    // A fatal message ends the process (Qt aborts after this handler): the
    // console sees why.
    if (type == QtFatalMsg)
        std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

} // namespace

Log::~Log()
{
    Log *self = this;
    if (qtMessagesLog.compare_exchange_strong(self, nullptr))
        qInstallMessageHandler(nullptr);
}

void Log::open(const QString &path)
{
    if (m_file.isOpen())
        m_file.close();
    if (path.isEmpty())
        return;
    m_file.setFileName(path);
    m_file.open(QIODevice::Append | QIODevice::Text);
}

QString Log::timeStamp(const QDateTime &moment)
{
    const int offset = moment.offsetFromUtc();
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
        + QStringLiteral("%1%2:%3")
              .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
              .arg(minutes / 60, 2, 10, QLatin1Char('0'))
              .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

void Log::write(const QString &level, const QString &text)
{
    const QString line = timeStamp(QDateTime::currentDateTime()) + QStringLiteral(" [") + m_runId + QStringLiteral("] ")
        + level + QLatin1Char(' ') + redactPasswords(text) + QLatin1Char('\n');
    const QByteArray bytes = line.toUtf8();
    if (m_file.isOpen()) {
        m_file.write(bytes);
        m_file.flush();
    }
    if (m_echo || (m_echoWarnings && level != QLatin1String("INFO ")))
        std::fputs(bytes.constData(), stderr);
}

void Log::takeQtMessages()
{
    qtMessagesLog.store(this);
    qInstallMessageHandler(toLog);
}

bool Log::rotate(const QString &path, qint64 maxBytes, int files)
{
    const QFileInfo current(path);
    if (!current.exists() || current.size() < maxBytes || files < 2)
        return false;
    const auto numbered = [&path](int n) { return path + QLatin1Char('.') + QString::number(n); };
    QFile::remove(numbered(files - 1));
    for (int n = files - 2; n >= 1; --n) {
        if (QFileInfo::exists(numbered(n)))
            QFile::rename(numbered(n), numbered(n + 1));
    }
    return QFile::rename(path, numbered(1));
}

QString Log::newProcessId()
{
    return QUuid::createUuid().toString(QUuid::Id128).left(12);
}

QString Log::startRun()
{
    ++m_runs;
    m_runId = m_runs == 1 ? m_processId : m_processId + QLatin1Char('.') + QString::number(m_runs);
    return m_runId;
}
