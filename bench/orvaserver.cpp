#include "bench/orvaserver.h"
#include "bench/benchdata.h"

#include <QFile>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

// The KEY=value lines of folder/servers.env; false with *error when the
// servers are not running.
bool readServersEnv(const QString &folder, QHash<QString, QString> *v, QString *error)
{
    QFile file(folder + QStringLiteral("/servers.env"));
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QStringLiteral("no %1: start the servers with scripts/servers/start.sh %2").arg(file.fileName(), folder);
        return false;
    }
    for (const QByteArray &line : file.readAll().split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0)
            v->insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)).trimmed());
    }
    if (v->value(QStringLiteral("SERVERS_AVAILABLE")) != QLatin1String("1")) {
        *error = QStringLiteral("servers not available: ") + v->value(QStringLiteral("SERVERS_REASON"));
        return false;
    }
    return true;
}

} // namespace

bool loadFirebirdServer(const QString &folder, FirebirdServer *server, QString *error)
{
    QHash<QString, QString> v;
    if (!readServersEnv(folder, &v, error))
        return false;
    server->host = v.value(QStringLiteral("FB_HOST"));
    server->port = v.value(QStringLiteral("FB_PORT")).toInt();
    server->user = v.value(QStringLiteral("FB_USER"));
    server->password = v.value(QStringLiteral("FB_PASSWORD"));
    server->dataFolder = v.value(QStringLiteral("FB_DATA"));
    return true;
}

bool OrvaServer::load(const QString &folder, QString *error)
{
    QHash<QString, QString> v;
    if (!readServersEnv(folder, &v, error))
        return false;
    m_host = v.value(QStringLiteral("PG_HOST"));
    m_port = v.value(QStringLiteral("PG_PORT")).toInt();
    m_socket = v.value(QStringLiteral("PG_SOCKET"));
    m_admin = v.value(QStringLiteral("PG_ADMIN"));
    m_user = v.value(QStringLiteral("PG_USER"));
    m_password = v.value(QStringLiteral("PG_PASSWORD"));
    return true;
}

bool OrvaServer::adminExec(const QString &sql, QString *error) const
{
    const QString name = QUuid::createUuid().toString();
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(m_socket);
        db.setPort(m_port);
        db.setDatabaseName(QStringLiteral("postgres"));
        db.setUserName(m_admin);
        QSqlQuery q(db);
        ok = db.open() && q.exec(sql);
        if (!ok)
            *error = (db.isOpen() ? q.lastError() : db.lastError()).text() + QStringLiteral(" | ") + sql;
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool OrvaServer::open(const OrvaTarget &target, const QString &name, QSqlDatabase *db) const
{
    *db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db->setHostName(target.host);
    db->setPort(target.port);
    db->setDatabaseName(target.database);
    db->setUserName(target.user);
    db->setPassword(target.password);
    return db->open();
}

bool OrvaServer::createOrva(const QString &ktzPath, OrvaTarget *target, QString *error, const QString &ktzServer)
{
    const QString database = QStringLiteral("bench_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    if (!adminExec(
            QStringLiteral("CREATE DATABASE %1 OWNER %2 ENCODING 'UTF8' TEMPLATE template0").arg(database, m_user),
            error))
        return false;
    m_made << database;
    target->postgresql = true;
    target->host = m_host;
    target->port = m_port;
    target->database = database;
    target->user = m_user;
    target->password = m_password;
    const QString name = QUuid::createUuid().toString();
    bool ok = false;
    {
        QSqlDatabase db;
        ok = open(*target, name, &db);
        if (!ok)
            *error = db.lastError().text();
        ok = ok && loadOrvaDatabase(db, QStringLiteral("schema/orva.postgresql.sql"), ktzPath, error, ktzServer);
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

void OrvaServer::dropAll()
{
    QString ignored;
    // The run's own session may still hold its database: it is ended with it.
    for (const QString &database : m_made)
        adminExec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database), &ignored);
    m_made.clear();
}
