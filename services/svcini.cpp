#include "services/svcini.h"
#include "services/svctools.h"

#include <QFile>
#include <QTextStream>

QString SvcIni::ReadValue(const QString &file, const QString &section, const QString &key,
                          const QString &defaultValue) const
{
    // Read by hand: the classic INI files are matched without regard to case.
    QFile ini(SvcTools::FolderPath(folder) + file);
    if (!ini.open(QIODevice::ReadOnly | QIODevice::Text))
        return defaultValue;
    QTextStream in(&ini);
    bool inSection = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inSection = sameText(line.mid(1, line.size() - 2).trimmed(), section);
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (inSection && eq > 0 && sameText(line.left(eq).trimmed(), key))
            return line.mid(eq + 1).trimmed();
    }
    return defaultValue;
}
