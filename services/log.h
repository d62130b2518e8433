#pragma once
// The tool's log file: one line per event with the local time and its UTC
// offset. Unattended runs write here what they cannot show on screen; Qt's
// own messages land here too, with their level. No password ever reaches it.

#include <QFile>
#include <QString>

class Log
{
public:
    ~Log();

    // Appends to path (created when missing). An empty path logs nowhere.
    void open(const QString &path);
    QString path() const { return m_file.fileName(); }

    // Writes one line "yyyy-MM-dd HH:mm:ss+hh:mm [run id] level text";
    // passwords are masked.
    void write(const QString &level, const QString &text);
    void info(const QString &text) { write(QStringLiteral("INFO "), text); }
    void warning(const QString &text) { write(QStringLiteral("AVISO"), text); }
    void error(const QString &text) { write(QStringLiteral("ERROR"), text); }

    // Also copy every line to standard error.
    void setEcho(bool echo) { m_echo = echo; }
    // Copy warnings and errors to standard error (unattended runs: a
    // scheduler sees them even when the progress lines are off).
    void setEchoWarnings(bool echo) { m_echoWarnings = echo; }
    bool echoesWarnings() const { return m_echo || m_echoWarnings; }

    // Qt's own messages (warnings of its classes, plugins) go into this log
    // as lines "Qt <level>: text" instead of standard error, until the log
    // is destroyed or another log takes them.
    void takeQtMessages();

    // The size bound of the log: a log of maxBytes or more is moved to
    // path.1 (path.1 to path.2, ...) before a run opens it, so at most
    // `files` files remain. Called between runs only, never while a run
    // writes, so a line is never split. True when the log was moved.
    static constexpr qint64 DefaultMaxBytes = 5 * 1024 * 1024;
    static constexpr int DefaultFiles = 3;
    static bool rotate(const QString &path, qint64 maxBytes = DefaultMaxBytes, int files = DefaultFiles);

    // The time stamp of a line: local time with its offset from UTC.
    static QString timeStamp(const class QDateTime &moment);

    // The id on every line, so that two runs (or a refused second start)
    // never interleave unreadably. The process has one from its start; each
    // run after the first gets "<id>.2", "<id>.3", ... until endRun().
    QString runId() const { return m_runId; }
    QString startRun();
    void endRun() { m_runId = m_processId; }

private:
    QFile m_file;
    bool m_echo = false;
    bool m_echoWarnings = false;
    QString m_processId = newProcessId();
    QString m_runId = m_processId;
    int m_runs = 0;
    static QString newProcessId();
};
