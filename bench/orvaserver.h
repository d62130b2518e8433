#pragma once
// Orva on the throw-away PostgreSQL server of scripts/servers/start.sh: a
// fresh database per measurement, made from schema/orva.postgresql.sql and
// the benchmark's configuration, dropped afterwards.

#include "bench/benchdata.h"
#include "bench/benchrun.h"

#include <QSqlDatabase>
#include <QStringList>

// Reads the Firebird server of folder/servers.env into *server. False with
// *error when the servers are not running.
bool loadFirebirdServer(const QString &folder, FirebirdServer *server, QString *error);

class OrvaServer
{
public:
    // Reads folder/servers.env. False with *error when the servers are not running.
    bool load(const QString &folder, QString *error);

    // A new Orva database whose KTZ_BASEDEDATOS is ktzPath (on ktzServer,
    // empty for a file); *target says how the transfer reaches it.
    bool createOrva(const QString &ktzPath, OrvaTarget *target, QString *error, const QString &ktzServer = QString());

    // Opens target on a connection named name into *db.
    bool open(const OrvaTarget &target, const QString &name, QSqlDatabase *db) const;

    // Drops every database createOrva made.
    void dropAll();

private:
    bool adminExec(const QString &sql, QString *error) const;

    QString m_host, m_socket, m_admin, m_user, m_password;
    int m_port = 0;
    QStringList m_made;
};
