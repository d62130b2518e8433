#include "run/sourceconnection.h"
#include "services/svctools.h"

#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>

KtzConnectionText KtzConnectionText::parse(const QString &text)
{
    KtzConnectionText t;
    for (const QString &part : text.split(QLatin1Char(';'))) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString name = part.left(eq).trimmed();
        const QString value = part.mid(eq + 1);
        if (sameText(name, QStringLiteral("Driver"))) {
            t.driver = value.trimmed();
            if (t.driver.startsWith(QLatin1Char('{')) && t.driver.endsWith(QLatin1Char('}')))
                t.driver = t.driver.mid(1, t.driver.size() - 2);
        } else if (sameText(name, QStringLiteral("Server"))) {
            t.server = value;
        } else if (sameText(name, QStringLiteral("Database"))) {
            t.database = value;
        } else if (sameText(name, QStringLiteral("Uid"))) {
            t.uid = value;
        } else if (sameText(name, QStringLiteral("Pwd"))) {
            t.pwd = value;
        }
    }
    return t;
}

QStringList installedOdbcDrivers()
{
    QStringList drivers;
    const QString folder = qEnvironmentVariable("ODBCSYSINI", QStringLiteral("/etc"));
    const QString path = SvcTools::FolderPath(folder) + QStringLiteral("odbcinst.ini");
    if (!QFile::exists(path))
        return drivers;
    QSettings ini(path, QSettings::IniFormat);
    for (const QString &group : ini.childGroups()) {
        if (!sameText(group, QStringLiteral("ODBC")))
            drivers << group;
    }
    return drivers;
}

bool isSqliteFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

ConnectionSpec sourceConnectionSpec(const QString &connectionText, const QString &noneCharset)
{
    const KtzConnectionText t = KtzConnectionText::parse(connectionText);
    ConnectionSpec target;
    bool odbc = false;
    if (QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC"))) {
        for (const QString &driver : installedOdbcDrivers())
            odbc = odbc || sameText(driver, t.driver);
    }
    if (odbc) {
        target.driver = QStringLiteral("QODBC");
        target.databaseName = connectionText;
        target.dialect = SqlDialect::Firebird;
        return target;
    }
    const QString database = t.database.trimmed();
    if (isSqliteFile(database)) {
        target.driver = QStringLiteral("QSQLITE");
        target.databaseName = database;
        target.dialect = SqlDialect::Sqlite;
        target.options = QStringLiteral("QSQLITE_OPEN_READONLY");
        return target;
    }
    target.driver = QStringLiteral("QIBASE");
    target.host = t.server.trimmed();
    static const QRegularExpression withPort(QStringLiteral("^(.+)[/:](\\d+)$"));
    const QRegularExpressionMatch port = withPort.match(target.host);
    if (port.hasMatch()) {
        target.host = port.captured(1);
        target.port = port.captured(2).toInt();
    }
    target.sourceCharset = noneCharset;
    target.databaseName = database;
    target.user = t.uid.trimmed();
    target.password = t.pwd;
    target.dialect = SqlDialect::Firebird;
    return target;
}

QString ktzConnectionText(Session &session, const QString &keySuffix)
{
    // The values go in untrimmed and the password in lower case; nothing follows it.
    return QStringLiteral("Driver={Easysoft IB6 ODBC};") + QStringLiteral("Server=")
        + session.Cfg(QStringLiteral("KTZ_SERVIDOR") + keySuffix) + QLatin1Char(';') + QStringLiteral("Database=")
        + session.Cfg(QStringLiteral("KTZ_BASEDEDATOS") + keySuffix) + QLatin1Char(';') + QStringLiteral("Uid=")
        + session.Cfg(QStringLiteral("KTZ_USUARIO") + keySuffix) + QLatin1Char(';') + QStringLiteral("Pwd=")
        + session.Cfg(QStringLiteral("KTZ_PASSWORD") + keySuffix).toLower();
}
