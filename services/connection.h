#pragma once
// One database connection (Orva or KTZ) with its dialect. Every statement of
// the tool goes through here, so failures reach the error handling, texts are
// adapted in one place and the open document transaction is known.

#include "services/dialect.h"
#include "services/firebirdreader.h"
#include "services/preparedstatements.h"
#include "services/runcache.h"
#include "services/serverstatements.h"

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <memory>

class ErrorHandling;
class Recordset;
class WriteFaults;

// Statements a connection sent to its engine, by kind.
struct StatementCounts
{
    qint64 reads = 0;        // SELECT
    qint64 writes = 0;       // INSERT, UPDATE, DELETE
    qint64 transactions = 0; // begin, commit, rollback
    qint64 savepoints = 0;   // savepoint, release, rollback to savepoint, when sent on their own
    // PostgreSQL: a shape prepared on the server and its placeholders' types
    // asked for, and a prepared run the server refused (the statement then
    // runs again as it stands).
    qint64 preparations = 0;
    // Every statement above is one round trip to the engine: a savepoint
    // sent in the same text as a statement (PostgreSQL) is not counted.
    qint64 total() const { return reads + writes + transactions + savepoints + preparations; }
};

// What to open. The password never leaves this structure in any text.
struct ConnectionSpec
{
    QString driver;       // Qt SQL driver: QSQLITE, QODBC, QPSQL, QIBASE
    QString databaseName; // file, database, or the ODBC connection text
    QString host;
    int port = -1;
    QString user;
    QString password;
    QString options;
    SqlDialect dialect = SqlDialect::Sqlite;
    // Firebird client only: the character set the bytes of CHARACTER SET
    // NONE texts are in (empty: WIN1252).
    QString sourceCharset;

    // The driver, server and database for messages; never a credential.
    QString describe() const;
};

class Connection
{
public:
    Connection(ErrorHandling &errors, const QString &name);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Opens the connection; false with openError() set when it cannot.
    bool open(const ConnectionSpec &target);
    void close();
    bool isOpen() const;
    QString openError() const { return m_openError; }
    const ConnectionSpec &target() const { return m_spec; }
    SqlDialect dialect() const { return m_spec.dialect; }
    QSqlDatabase database() const;
    ErrorHandling &errors() { return m_errors; }
    // The test hooks that count this connection's writes (Orva's only).
    void setWriteFaults(WriteFaults *faults) { m_faults = faults; }

    // Executes a statement; a failure goes to the error handling, which may
    // run it again, skip it (false) or give up (GiveUp is thrown).
    bool Execute(const QString &sql);
    // Executes a statement; a failure raises a RunTimeError for the caller.
    void executeOrThrow(const QString &sql);

    // Opens a forward-only recordset through the error handling; when the
    // operator continues past a failed open, the recordset comes back empty.
    Recordset OpenRecordset(const QString &sql);

    // Whether a transaction begun is waiting for its commit or rollback (after
    // a failed commit: whether the engine still holds it). Documents open and
    // end theirs through DocumentTransaction only.
    bool inTransaction() const { return m_inTransaction; }

    // Values read once per run on this connection (see runcache.h).
    RunCache &runCache() { return m_runCache; }

    // What this connection sent to its engine since it was made.
    const StatementCounts &counts() const { return m_counts; }
    // Called with every write and transaction statement the engine accepted,
    // as the engine ran it (the benchmark replays them).
    std::function<void(const QString &statement)> onWritten;

    // Seconds a statement may run (kept for the drivers that support it).
    int commandTimeout = 30;

    // The RunError for a failed statement of this connection; number
    // -2147467259 when the connection itself failed.
    struct RunError errorFor(const QString &sql, const class QSqlError &error) const;

    // Executes an adapted statement; inside a PostgreSQL transaction a failure
    // is confined to the statement (savepoint), so the transaction stays usable.
    // A statement already prepared (PreparedStatements) runs with its bound values.
    // Through the PostgreSQL client each statement of a transaction carries
    // the savepoint for the next one in its own round trip (see
    // execSettingSavepoint).
    bool execGuarded(QueryHandle &query, const QString &statement, qint64 StatementCounts::*kind);
    // A query prepared for statement's shape, values bound, or an empty
    // handle when the statement runs as it stands (see preparedstatements.h).
    QueryHandle lendPrepared(const QString &statement) { return m_prepared.lend(database(), statement); }

    // The statement as this connection's engine runs it: adapted to its
    // dialect and, through the Firebird client, with the columns converted
    // that the client would hand back wrong (see firebirdreader.h);
    // decimalColumns receives the result names holding exact decimal texts.
    QString statementFor(const QString &sql, QSet<QString> *decimalColumns = nullptr);

private:
    bool connectionLost(const class QSqlError &error) const;
    QueryHandle &writeQuery();
    void runTransactionVerb(TransactionVerb verb, const QString &sql);
    bool setsSavepointAhead(const class QSqlQuery &query, const QString &statement) const;
    bool execSettingSavepoint(class QSqlQuery &query, const QString &statement, bool guard);
    bool sendSavepointVerb(const QString &verb);
    bool runPreparedOnServer(class QSqlQuery &query, const QString &statement);
    std::optional<QStringList> prepareOnServer(const QString &name, const QString &shape);
    bool engineHoldsTransaction();
    bool commitThroughPostgresClient(const QString &sql, class QSqlError *failure);

    ErrorHandling &m_errors;
    QString m_name;
    ConnectionSpec m_spec;
    QString m_openError;
    bool m_inTransaction = false;
    // A savepoint was set right after the last statement of the open
    // transaction: a failure of the next statement can be undone alone.
    bool m_savepointAhead = false;
    StatementCounts m_counts;
    RunCache m_runCache;
    QSqlDatabase m_db;                     // the handle of the last open
    QueryHandle m_writeQuery;              // reused for every write not prepared
    PreparedStatements m_prepared{m_name}; // SQLite only
    ServerStatements m_serverStatements;   // PostgreSQL client only
    WriteFaults *m_faults = nullptr;
    QHash<QString, QList<FirebirdColumn>> m_firebirdColumns; // per table, while open
};
