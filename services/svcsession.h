#pragma once
// SvcSession: the Orva connection and the data access the steps share —
// recordsets, lookups, statement texts and SQL literals.

#include "services/connection.h"
#include "services/currency.h"
#include "services/keyedrow.h"
#include "services/recordset.h"
#include "services/sqlitejournal.h"
#include "services/statement.h"

#include <QString>
#include <QVariant>

class ErrorHandling;
class Log;

// How the library reaches an Orva server; read from its settings file.
struct ServerSettings
{
    QString driver = QStringLiteral("QODBC"); // QODBC or QPSQL
    QString odbcDriver = QStringLiteral("ODBC Driver 17 for SQL Server");
    SqlDialect dialect = SqlDialect::SqlServer;
    int port = -1;
    QString options;
    // The character set the bytes of the KTZ databases' CHARACTER SET NONE
    // texts are in, for the Firebird client (empty: WIN1252).
    QString ktzCharset;
    // How an Orva SQLite file keeps its commits (see sqlitejournal.h).
    SqliteJournal sqliteJournal = SqliteJournal::WriteAheadLog;
    // [Orva] PasswordFile: a file holding the Orva password on its first
    // line, for a command line without "@Password" (relative to the
    // settings file's folder; only its owner may read it).
    QString passwordFile;

    // Reads section [Orva] of the settings file: Driver, OdbcDriver, Dialect,
    // Port, Options, Journal; and Charset of section [KTZ]. A missing file or
    // key keeps the default.
    static ServerSettings read(const QString &iniPath);
};

class SvcSession
{
public:
    SvcSession(ErrorHandling &errors);

    // Connection parameters handed over by the start-up.
    QString Server, DbName, User, Password;

    // Opens the Orva connection. With noServer the database name is an SQLite
    // file that must exist (allowCreate builds it with the Orva schema, for
    // the demo only); a server starting with "#" is the Oracle provider,
    // which this platform does not support; any other server opens through
    // the driver of the settings. Connected() tells the outcome and
    // openError() the reason, without the password.
    void Open(bool noServer, int mode, const QString &connectionText);
    bool Connected() const { return m_orva.isOpen(); }
    QString openError() const { return m_openError; }
    void setServerSettings(const ServerSettings &settings) { m_settings = settings; }
    const ServerSettings &serverSettings() const { return m_settings; }
    void setAllowCreate(bool allow) { m_allowCreate = allow; }
    // Opens Orva for reading only: an SQLite file read-only, a PostgreSQL
    // session whose transactions are read-only. For tools that must not
    // change Orva (the reconciliation); set before Open.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // OrvaConnection: every Orva statement runs on it.
    Connection &connection() { return m_orva; }

    // A read-only, forward-only recordset on Orva, through the error handling.
    Recordset OpenRecordset(const QString &sql) { return m_orva.OpenRecordset(sql); }

    // SELECT result FROM table WHERE keyColumn = 'key' [AND (extra)]: the first
    // row's value as text; "" when there is no row or the value is Null.
    QString LookupValue(const QString &table, const QString &key, const QString &resultColumn, const QString &keyColumn,
                        int keyType = 8, const QString &extra = {});

    // LookupValue of a value that only the tool itself could change: during a
    // run it is read once and held under heldAs (see runcache.h), which the
    // tool's writes to heldAs drop.
    QString LookupHeldValue(const QString &heldAs, const QString &table, const QString &key,
                            const QString &resultColumn, const QString &keyColumn);

    // SELECT * FROM table WHERE keyColumn = 'key' [AND (condition)]: whether a
    // row exists; rs, when given, comes back on the first row.
    bool RecordExists(const QString &table, const QString &key, const QString &keyColumn, Recordset *rs = nullptr,
                      int keyType = 8, const QString &condition = {});
    // The same read in its three states: failed, no row, the row.
    RowRead ReadRecord(const QString &table, const QString &key, const QString &keyColumn,
                       const QString &condition = {});

    // Whether table exists and has column (names compared without regard to case).
    bool HasColumn(const QString &table, const QString &column);

    // A value as an SQL literal: kind "@" a number (Null or empty gives 0),
    // "'" a quoted text with inner quotes doubled, "" the value's own text.
    static QString NumberToSql(const QVariant &value, const QString &kind);
    static QString NumberToSql(Currency value) { return SqlLiteral::amount(value); }

    // statement + " (" names ") VALUES (" values ")": values unchanged.
    static QString BuildInsert(const QString &statement, const FieldList &fields)
    {
        return insertStatement(statement, fields);
    }

private:
    static QString lookupStatement(const QString &table, const QString &key, const QString &resultColumn,
                                   const QString &keyColumn, const QString &extra);
    // The value, or "" with *answered false when the read was skipped.
    QString lookup(const QString &sql, const QString &resultColumn, bool *answered);
    void makeSessionReadOnly();

    ErrorHandling &m_errors;
    Connection m_orva;
    ServerSettings m_settings;
    QString m_openError;
    bool m_allowCreate = false;
    bool m_readOnly = false;
};
