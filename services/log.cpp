#include "services/log.h"
#include "services/redact.h"

#include <QDateTime>
#include <cstdio>

void Log::open(const QString &path)
{
    if (m_file.isOpen())
        m_file.close();
    if (path.isEmpty())
        return;
    m_file.setFileName(path);
    m_file.open(QIODevice::Append | QIODevice::Text);
}

void Log::write(const QString &level, const QString &text)
{
    const QString line = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
        + QLatin1Char(' ') + level + QLatin1Char(' ') + redactPasswords(text) + QLatin1Char('\n');
    const QByteArray bytes = line.toUtf8();
    if (m_file.isOpen()) {
        m_file.write(bytes);
        m_file.flush();
    }
    if (m_echo)
        std::fputs(bytes.constData(), stderr);
}
