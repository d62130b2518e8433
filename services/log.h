#pragma once
// The tool's log file: one line per event with a timestamp. Unattended runs
// write here what they cannot show on screen. No password ever reaches it.

#include <QFile>
#include <QString>

class Log
{
public:
    // Appends to path (created when missing). An empty path logs nowhere.
    void open(const QString &path);
    QString path() const { return m_file.fileName(); }

    // Writes one line "yyyy-MM-dd HH:mm:ss level text"; passwords are masked.
    void write(const QString &level, const QString &text);
    void info(const QString &text) { write(QStringLiteral("INFO "), text); }
    void warning(const QString &text) { write(QStringLiteral("AVISO"), text); }
    void error(const QString &text) { write(QStringLiteral("ERROR"), text); }

    // Also copy every line to standard error (unattended runs).
    void setEcho(bool echo) { m_echo = echo; }

private:
    QFile m_file;
    bool m_echo = false;
};
