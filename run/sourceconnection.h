#pragma once
// Opening the KTZ database of a pass from its connection text
// "Driver={…};Server=…;Database=…;Uid=…;Pwd=…". One place decides how: an
// installed ODBC driver of that name gets the text unchanged; otherwise the
// Database value is opened directly — an SQLite file embedded, anything else
// through the Firebird client (Server as host, empty for embedded; a port
// follows it as "host/3051" or "host:3051").

#include "services/connection.h"
#include "session/session.h"

#include <QString>
#include <QStringList>

struct KtzConnectionText
{
    QString driver, server, database, uid, pwd;
    static KtzConnectionText parse(const QString &text);
};

// The ODBC drivers registered with the driver manager (odbcinst.ini).
QStringList installedOdbcDrivers();

// How the text is opened; see above. noneCharset is the character set the
// bytes of CHARACTER SET NONE texts are in (Firebird client only; empty: WIN1252).
ConnectionSpec sourceConnectionSpec(const QString &connectionText, const QString &noneCharset = {});

// The connection text of the KTZ database of a pass (keySuffix "" or "2"),
// from the configuration keys KTZ_SERVIDOR, KTZ_BASEDEDATOS, KTZ_USUARIO and
// KTZ_PASSWORD, exactly as the KTZ driver expects it.
QString ktzConnectionText(Session &session, const QString &keySuffix);

// Whether path names an SQLite database file.
bool isSqliteFile(const QString &path);
