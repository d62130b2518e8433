#pragma once
// Opening the KTZ database of a pass from its connection text
// "Driver={…};Server=…;Database=…;Uid=…;Pwd=…". One place decides how: an
// installed ODBC driver of that name gets the text unchanged; otherwise the
// Database value is opened directly — an SQLite file embedded, anything else
// through the Firebird client (Server as host, empty for embedded; a port
// follows it as "host/3051" or "host:3051").

#include "services/connection.h"

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

// Whether path names an SQLite database file.
bool isSqliteFile(const QString &path);
