#pragma once
// Opening the KTZ database of a pass from its connection text
// "Driver={…};Server=…;Database=…;Uid=…;Pwd=…". One place decides how: an
// installed ODBC driver of that name gets the text unchanged; otherwise the
// Database value is opened directly — an SQLite file embedded, anything else
// through the Firebird client (Server as host, empty for embedded).

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

// How the text is opened; see above.
ConnectionSpec sourceConnectionSpec(const QString &connectionText);

// Whether path names an SQLite database file.
bool isSqliteFile(const QString &path);
