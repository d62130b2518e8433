#pragma once
// What the real-server tests share: where the throw-away servers of
// scripts/servers/start.sh listen (read from servers.env in the folder named
// by TRASPASOR_SERVERS_DIR), fresh databases on them, and a private ODBC
// driver list.

#include "services/sqlscript.h"
#include "support/fixtures.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTest>
#include <QUuid>

struct Servers
{
    bool available = false;
    QString reason;
    QString fbHost, fbUser, fbPassword, fbData;
    int fbPort = 0;
    QString pgHost, pgSocket, pgAdmin, pgUser, pgPassword, pgBin;
    int pgPort = 0;

    // "127.0.0.1/30551": the Firebird server as a KTZ_SERVIDOR value.
    QString fbServer() const { return QStringLiteral("%1/%2").arg(fbHost).arg(fbPort); }
    QString fbPath(const QString &file) const { return fbData + QLatin1Char('/') + file; }

    static Servers load()
    {
        Servers s;
        QFile file(qEnvironmentVariable("TRASPASOR_SERVERS_DIR") + QStringLiteral("/servers.env"));
        if (!file.open(QIODevice::ReadOnly)) {
            s.reason = QStringLiteral("no servers.env (TRASPASOR_SERVERS_DIR)");
            return s;
        }
        QHash<QString, QString> v;
        for (const QByteArray &line : file.readAll().split('\n')) {
            const int eq = line.indexOf('=');
            if (eq > 0)
                v.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)).trimmed());
        }
        s.available = v.value(QStringLiteral("SERVERS_AVAILABLE")) == QLatin1String("1");
        s.reason = v.value(QStringLiteral("SERVERS_REASON"));
        s.fbHost = v.value(QStringLiteral("FB_HOST"));
        s.fbPort = v.value(QStringLiteral("FB_PORT")).toInt();
        s.fbUser = v.value(QStringLiteral("FB_USER"));
        s.fbPassword = v.value(QStringLiteral("FB_PASSWORD"));
        s.fbData = v.value(QStringLiteral("FB_DATA"));
        s.pgHost = v.value(QStringLiteral("PG_HOST"));
        s.pgPort = v.value(QStringLiteral("PG_PORT")).toInt();
        s.pgSocket = v.value(QStringLiteral("PG_SOCKET"));
        s.pgAdmin = v.value(QStringLiteral("PG_ADMIN"));
        s.pgUser = v.value(QStringLiteral("PG_USER"));
        s.pgPassword = v.value(QStringLiteral("PG_PASSWORD"));
        s.pgBin = v.value(QStringLiteral("PG_BIN"));
        return s;
    }

    // Runs an isql script from a file (standard input would lose the bytes
    // that are no text of the locale). Texts go as UTF-8 for a UTF8
    // attachment, as Latin-1 (Windows-1252) bytes for any other.
    bool isql(const QString &script, const QString &charset, QString *output = nullptr) const
    {
        QTemporaryFile file;
        if (!file.open())
            return false;
        file.write(charset == QLatin1String("UTF8") ? script.toUtf8() : script.toLatin1());
        file.flush();
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStandardPaths::findExecutable(QStringLiteral("isql-fb")),
                {QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-n"), QStringLiteral("-ch"), charset,
                 QStringLiteral("-i"), file.fileName()});
        const bool done = p.waitForFinished(60000);
        const QString out = QString::fromUtf8(p.readAll());
        if (output)
            *output = out;
        if (!done || p.exitCode() != 0)
            qWarning("isql: %s", qPrintable(out));
        return done && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    // Creates database file on the Firebird server with the given default
    // character set and runs statements in it (texts sent in that set; for
    // NONE as Windows-1252 bytes). Returns the path, or "" on failure.
    QString createFirebird(const QString &file, const QString &charset, const QStringList &statements) const
    {
        const QString path = fbPath(file);
        QString script = QStringLiteral("CREATE DATABASE '%1:%2' USER '%3' PASSWORD '%4' DEFAULT CHARACTER SET %5;\n")
                             .arg(fbServer(), path, fbUser, fbPassword, charset);
        for (const QString &s : statements)
            script += s + QStringLiteral(";\n");
        script += QStringLiteral("COMMIT;\n");
        return isql(script, charset, nullptr) ? path : QString();
    }

    // A fresh folder for database files of the Firebird server, which runs
    // as its own user: open to everyone. "" when it cannot be made.
    QString firebirdFolder(const QString &prefix) const
    {
        const QString folder = fbPath(prefix + QLatin1Char('_') + QUuid::createUuid().toString(QUuid::Id128).left(8));
        if (!QDir().mkpath(folder))
            return QString();
        QFile::setPermissions(folder,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                  | QFile::WriteOther | QFile::ExeOther | QFile::ReadGroup | QFile::WriteGroup
                                  | QFile::ExeGroup);
        return folder;
    }

    // A fresh PostgreSQL database owned by the test role; "" on failure.
    QString createPostgres(const QString &prefix) const
    {
        const QString name = prefix + QLatin1Char('_') + QUuid::createUuid().toString(QUuid::Id128).left(10).toLower();
        return adminExec(
                   QStringLiteral("CREATE DATABASE %1 OWNER %2 ENCODING 'UTF8' TEMPLATE template0").arg(name, pgUser))
            ? name
            : QString();
    }

    // Runs the project's script files (schema, demo) in database as the
    // test role, the owner of what they create.
    bool loadPostgres(const QString &database, const QStringList &files) const
    {
        const QString connection = QUuid::createUuid().toString();
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
            db.setHostName(pgHost);
            db.setPort(pgPort);
            db.setDatabaseName(database);
            db.setUserName(pgUser);
            db.setPassword(pgPassword);
            ok = db.open();
            for (const QString &file : files) {
                QString error;
                ok = ok && runSqlScript(db, sourceFileText(file), &error);
                if (!error.isEmpty())
                    qWarning("%s: %s", qPrintable(file), qPrintable(error));
            }
        }
        QSqlDatabase::removeDatabase(connection);
        return ok;
    }

    // A statement run as the cluster's superuser through its socket (no
    // password), in database (default: the maintenance database).
    bool adminExec(const QString &sql, const QString &database = QStringLiteral("postgres")) const
    {
        const QString connection = QUuid::createUuid().toString();
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
            db.setHostName(pgSocket);
            db.setPort(pgPort);
            db.setDatabaseName(database);
            db.setUserName(pgAdmin);
            ok = db.open();
            QSqlQuery q(db);
            ok = ok && q.exec(sql);
            if (!ok)
                qWarning("admin: %s | %s", qPrintable(q.lastError().text()), qPrintable(sql));
        }
        QSqlDatabase::removeDatabase(connection);
        return ok;
    }

    // Rows of a query as the superuser: each row's values joined by "|".
    QStringList adminRows(const QString &sql, const QString &database) const
    {
        QStringList rows;
        const QString connection = QUuid::createUuid().toString();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
            db.setHostName(pgSocket);
            db.setPort(pgPort);
            db.setDatabaseName(database);
            db.setUserName(pgAdmin);
            QSqlQuery q(db);
            if (!db.open() || !q.exec(sql))
                qWarning("admin: %s | %s", qPrintable(q.lastError().text()), qPrintable(sql));
            while (q.next()) {
                QStringList values;
                for (int i = 0; i < q.record().count(); ++i)
                    values << (q.isNull(i) ? QStringLiteral("NULL") : q.value(i).toString());
                rows << values.join(QLatin1Char('|'));
            }
        }
        QSqlDatabase::removeDatabase(connection);
        return rows;
    }
};

// Skips the running test when the servers could not be started here.
#define REQUIRE_SERVERS(servers)                                                                                       \
    do {                                                                                                               \
        if (!(servers).available) {                                                                                    \
            qInfo("skipped: server not available (%s)", qPrintable((servers).reason));                                 \
            QSKIP("skipped: server not available");                                                                    \
        }                                                                                                              \
    } while (false)

// A private ODBC driver list (odbcinst.ini) in folder, with the given
// [name] = library entries; the driver manager reads it through ODBCSYSINI,
// which must be set before the first ODBC connection of the process.
inline bool usePrivateOdbcDrivers(const QString &folder, const QList<QPair<QString, QString>> &drivers)
{
    QFile ini(folder + QStringLiteral("/odbcinst.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return false;
    for (const auto &d : drivers)
        ini.write(QStringLiteral("[%1]\nDescription=%1\nDriver=%2\nSetup=%2\n\n").arg(d.first, d.second).toUtf8());
    ini.close();
    QFile odbc(folder + QStringLiteral("/odbc.ini"));
    odbc.open(QIODevice::WriteOnly);
    qputenv("ODBCSYSINI", QFile::encodeName(folder));
    return true;
}

// The folder of the distribution's ODBC driver libraries.
inline QString odbcLibrary(const QString &file)
{
    for (const QString &dir : {QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc"),
                               QStringLiteral("/usr/lib/aarch64-linux-gnu/odbc"), QStringLiteral("/usr/lib/odbc")}) {
        if (QFile::exists(dir + QLatin1Char('/') + file))
            return dir + QLatin1Char('/') + file;
    }
    return QString();
}
