#pragma once
// Reading KTZ databases through the Firebird client. Qt's driver attaches in
// UTF8 whatever the database holds and then hands back CHAR(n) padded to four
// bytes a character, texts of CHARACTER SET NONE undecoded (their
// Windows-1252 bytes are no UTF-8) and NUMERIC through a double. So before a
// SELECT runs, the columns that would come back wrong are converted by the
// engine itself in the select list: CHAR(n) and NONE texts become
// VARCHAR(n) in a real character set, scaled numbers become their exact
// decimal text. Everything else of the statement stays as written.

#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <functional>

// One column as the database catalogue describes it.
struct FirebirdColumn
{
    QString name;       // as stored (upper case for unquoted names)
    int fieldType = 0;  // 7 SMALLINT, 8 INTEGER, 14 CHAR, 16 BIGINT, 27 DOUBLE, 37 VARCHAR, 261 BLOB ...
    int scale = 0;      // negative for NUMERIC/DECIMAL
    int charLength = 0; // characters of CHAR/VARCHAR
    QString charset;    // NONE, UTF8, WIN1252, OCTETS ...
};

// The columns of table (a name as written in a statement), in their order;
// empty when the table is unknown.
using FirebirdColumnsOf = std::function<QList<FirebirdColumn>(const QString &table)>;

// A SELECT as it runs through the Firebird client.
struct FirebirdReadPlan
{
    QString sql;                  // the statement to execute
    QSet<QString> decimalColumns; // result names (lower case) that hold an exact decimal text
};

// The statement with the columns that need it converted as described above
// (stars expanded only when one of their columns needs it, every converted
// column keeping its name). noneCharset is the character set the bytes of
// NONE columns are in (empty: WIN1252; "NONE": left undecoded). A statement
// that is no plain SELECT, or whose FROM clause is not a list of tables and
// joins, comes back unchanged.
FirebirdReadPlan firebirdReadPlan(const QString &sql, const FirebirdColumnsOf &columnsOf, const QString &noneCharset);

// The catalogue's columns of table on db; empty when the table is unknown or
// the catalogue cannot be read.
QList<FirebirdColumn> readFirebirdColumns(QSqlDatabase db, const QString &table);

// A converted decimal ("12500.0000") as the steps see numbers: a double when
// the double holds it exactly, otherwise the exact shortest text
// ("12345678901234.5678"). Null and non-text values come back unchanged.
QVariant firebirdDecimal(const QVariant &value);
