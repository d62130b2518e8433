#include "services/connection.h"
#include "services/errorhandling.h"
#include "services/errors.h"
#include "services/recordset.h"
#include "services/redact.h"
#include "services/statement.h"
#include "services/writefaults.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// The value of entry name ("Server", "Database") of an ODBC connection text.
QString odbcEntry(const QString &text, const QString &name)
{
    const QRegularExpression entry(QStringLiteral("(?:^|;)\\s*%1\\s*=([^;]*)").arg(name),
                                   QRegularExpression::CaseInsensitiveOption);
    return entry.match(text).captured(1).trimmed();
}

} // namespace

QString ConnectionSpec::describe() const
{
    QString server = host;
    QString database = databaseName;
    if (driver == QLatin1String("QODBC")) {
        server = odbcEntry(databaseName, QStringLiteral("Server"));
        database = odbcEntry(databaseName, QStringLiteral("Database"));
    }
    if (server.isEmpty())
        return QStringLiteral("%1 %2").arg(driver, database);
    if (port > 0)
        server += (driver == QLatin1String("QIBASE") ? QStringLiteral("/%1") : QStringLiteral(":%1")).arg(port);
    return QStringLiteral("%1 servidor %2, base de datos %3").arg(driver, server, database);
}

Connection::Connection(ErrorHandling &errors, const QString &name) : m_errors(errors), m_name(name)
{}

Connection::~Connection()
{
    close();
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Connection::database() const
{
    // The handle of the last open: looking the name up takes a lock each time.
    return m_db.isValid() ? m_db : QSqlDatabase::database(m_name, false);
}

QueryHandle &Connection::writeQuery()
{
    // One query object for the writes: the engine's statement is made anew
    // for each text, the object around it is kept.
    if (!m_writeQuery)
        m_writeQuery = QueryHandle::own(database());
    return m_writeQuery;
}

bool Connection::open(const ConnectionSpec &target)
{
    close();
    m_db = QSqlDatabase();
    m_spec = target;
    m_openError.clear();
    if (!QSqlDatabase::isDriverAvailable(target.driver)) {
        m_openError = QStringLiteral("No está instalado el controlador %1 (%2)").arg(target.driver, target.describe());
        return false;
    }
    {
        QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                         : QSqlDatabase::addDatabase(target.driver, m_name);
        if (db.driverName() != target.driver) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            db = QSqlDatabase::addDatabase(target.driver, m_name);
        }
        db.setDatabaseName(target.databaseName);
        db.setHostName(target.host);
        if (target.port > 0)
            db.setPort(target.port);
        db.setUserName(target.user);
        db.setPassword(target.password);
        db.setConnectOptions(target.options);
        if (!db.open()) {
            m_openError = redactPasswords(
                QStringLiteral("No se pudo abrir %1: %2").arg(target.describe(), db.lastError().text().trimmed()));
            return false;
        }
        m_db = db;
    }
    m_inTransaction = false;
    m_savepointAhead = false;
    m_prepared.setEnabled(target.driver == QLatin1String("QSQLITE"));
    m_serverStatements.clear();
    m_serverStatements.setEnabled(target.driver == QLatin1String("QPSQL"));
    return true;
}

void Connection::close()
{
    m_writeQuery.reset();
    // Every connection object of this name lets its statements go: the
    // engine cannot close a connection that still has statements.
    PreparedStatements::releaseAll(m_name);
    m_serverStatements.clear(); // the server forgets them with the session
    m_firebirdColumns.clear();
    if (!QSqlDatabase::contains(m_name))
        return;
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.isOpen())
        db.close();
    m_inTransaction = false;
    m_savepointAhead = false;
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(m_name) && database().isOpen();
}

bool Connection::connectionLost(const QSqlError &error) const
{
    if (!isOpen())
        return true;
    const QString code = error.nativeErrorCode();
    const QString lower = error.text().toLower();
    if (m_spec.driver == QLatin1String("QSQLITE")) {
        // SQLite flags every failing step as a connection error: only the
        // file itself failing (I/O, corrupt, cannot open, not a database) is one.
        const int primary = code.toInt() & 0xff;
        return primary == 10 || primary == 11 || primary == 14 || primary == 26;
    }
    if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P0")))
        return true; // SQLSTATE classes of a broken connection and of a server shutdown
    return lower.contains(QLatin1String("terminating connection"))
        || lower.contains(QLatin1String("server closed the connection"))
        || lower.contains(QLatin1String("no connection to the server"))
        || lower.contains(QLatin1String("connection lost")) || lower.contains(QLatin1String("connection shutdown"))
        || lower.contains(QLatin1String("unable to complete network request"))
        || lower.contains(QLatin1String("error writing data to the connection"))
        || lower.contains(QLatin1String("error reading data from the connection"))
        || (m_spec.driver == QLatin1String("QIBASE") && error.type() == QSqlError::ConnectionError);
}

RunError Connection::errorFor(const QString &sql, const QSqlError &error) const
{
    RunError e;
    e.statement = sql;
    e.description = error.text().trimmed();
    e.number = connectionLost(error) ? ErrorNumber::ConnectionFailure : ErrorNumber::SqlStatement;
    if (e.description.isEmpty())
        e.description = QStringLiteral("La base de datos rechazó la sentencia");
    return e;
}

namespace {

const QString savepointName = QStringLiteral("traspasor_sentencia");

// What follows a statement in its text to set the savepoint for the next
// statement: the one set ahead of it (ahead) is let go first.
QString savepointTail(bool ahead)
{
    static const QString release = QStringLiteral("\n;RELEASE SAVEPOINT %1;SAVEPOINT %1").arg(savepointName);
    static const QString set = QStringLiteral("\n;SAVEPOINT %1").arg(savepointName);
    return ahead ? release : set;
}

} // namespace

bool Connection::execGuarded(QueryHandle &handle, const QString &statement, qint64 StatementCounts::*kind)
{
    ++(m_counts.*kind);
    if (handle.prepared())
        return handle.exec(); // SQLite: no savepoint is ever needed
    QSqlQuery &query = *handle.query();
    // PostgreSQL aborts the whole transaction at a failed statement, and its
    // COMMIT then quietly rolls back: a savepoint keeps the failure to the one
    // statement, as on the other servers, so the operator's choice means the
    // same. Where no choice can go on past the failure (unattended, under the
    // run's own handler) the transaction is rolled back anyway, and the
    // savepoint is not needed.
    const bool guard = m_inTransaction && m_spec.dialect == SqlDialect::PostgreSql && m_errors.mayGoOnAfterFailure();
    if (runPreparedOnServer(query, statement))
        return true;
    if (setsSavepointAhead(query, statement))
        return execSettingSavepoint(query, statement, guard);
    if (!guard)
        return query.exec(statement);
    if (!sendSavepointVerb(QStringLiteral("SAVEPOINT ")))
        return query.exec(statement); // the failure shows on the statement itself
    if (query.exec(statement)) {
        sendSavepointVerb(QStringLiteral("RELEASE SAVEPOINT "));
        return true;
    }
    sendSavepointVerb(QStringLiteral("ROLLBACK TO SAVEPOINT "));
    return false;
}

bool Connection::sendSavepointVerb(const QString &verb)
{
    ++m_counts.savepoints;
    QSqlQuery savepoint(database());
    return savepoint.exec(verb + savepointName);
}

bool Connection::runPreparedOnServer(QSqlQuery &query, const QString &statement)
{
    // Only where a refused run can be undone alone: outside a transaction
    // (the statement was its own), or right after the savepoint set ahead.
    if (!m_serverStatements.enabled()
        || (m_inTransaction && (!m_savepointAhead || !setsSavepointAhead(query, statement))))
        return false;
    const QString execute = m_serverStatements.executeText(
        statement, [this](const QString &name, const QString &shape) { return prepareOnServer(name, shape); });
    if (execute.isEmpty())
        return false;
    if (query.exec(m_inTransaction ? execute + savepointTail(true) : execute))
        return true;
    // Undone, and the statement runs again as it stands, with its own outcome
    // and message; the savepoint set ahead stays in place.
    ++m_counts.preparations;
    if (m_inTransaction)
        sendSavepointVerb(QStringLiteral("ROLLBACK TO SAVEPOINT "));
    // A server that does not keep what was prepared (a connection pool
    // handing each transaction another session) would cost every statement
    // a refused run: the connection stops preparing.
    if (query.lastError().nativeErrorCode() == QLatin1String("26000"))
        m_serverStatements.setEnabled(false);
    return false;
}

std::optional<QStringList> Connection::prepareOnServer(const QString &name, const QString &shape)
{
    // Asked only outside a transaction or right after the savepoint set
    // ahead: a refused PREPARE spoils the open transaction like any
    // statement, and is undone back to that savepoint.
    QSqlQuery query(database());
    ++m_counts.preparations;
    bool ok = query.exec(QStringLiteral("PREPARE ") + name + QStringLiteral(" AS ") + shape);
    if (ok) {
        ++m_counts.preparations;
        ok = query.exec(Statement(QStringLiteral("SELECT t::text FROM pg_prepared_statements, "
                                                 "unnest(parameter_types) WITH ORDINALITY AS p(t, n) "
                                                 "WHERE name = {} ORDER BY n"))
                            .text(name));
    }
    if (!ok) {
        if (m_inTransaction)
            sendSavepointVerb(QStringLiteral("ROLLBACK TO SAVEPOINT "));
        return std::nullopt;
    }
    QStringList types;
    while (query.next())
        types << query.value(0).toString();
    return types;
}

bool Connection::setsSavepointAhead(const QSqlQuery &query, const QString &statement) const
{
    // The PostgreSQL client runs a text of several statements in one round
    // trip and keeps every result when the query is not read row by row. A
    // NUL would end the text early (the client sends C strings).
    return m_inTransaction && m_spec.driver == QLatin1String("QPSQL") && !query.isForwardOnly()
        && !statement.contains(QChar(0));
}

bool Connection::execSettingSavepoint(QSqlQuery &query, const QString &statement, bool guard)
{
    // The statement is sent with the savepoint for the next statement after
    // it, in one text: its result is the query's first, and a failure skips
    // the rest of the text. A statement that may be followed by others after
    // a failure therefore finds its savepoint already set by the statement
    // before it, and a failure is undone by one ROLLBACK TO SAVEPOINT. The
    // statement comes first, so a syntax error of the whole text leaves the
    // savepoint before it in place, and the engine's message points into the
    // statement's own line.
    if (guard && !m_savepointAhead) {
        // The first statement of the transaction that needs one: set alone.
        if (!sendSavepointVerb(QStringLiteral("SAVEPOINT ")))
            return query.exec(statement);
        m_savepointAhead = true;
    }
    if (query.exec(statement + savepointTail(m_savepointAhead))) {
        m_savepointAhead = true;
        return true;
    }
    if (!guard)
        return false; // the transaction is rolled back by the caller
    sendSavepointVerb(QStringLiteral("ROLLBACK TO SAVEPOINT "));
    if (!query.lastError().text().contains(savepointName))
        return false;
    // A message that quotes the text past the statement (a quote left open)
    // is made again by the statement alone, as the engine gives it.
    if (query.exec(statement)) {
        m_savepointAhead = false; // the savepoint set is now before this statement
        return true;
    }
    sendSavepointVerb(QStringLiteral("ROLLBACK TO SAVEPOINT "));
    return false;
}

void Connection::runTransactionVerb(TransactionVerb verb, const QString &sql)
{
    QSqlDatabase db = database();
    bool ok = true;
    QSqlError failure;
    ++m_counts.transactions;
    // Through the PostgreSQL client a transaction begins with its first
    // savepoint set, in the same round trip: its first statement can then be
    // undone alone like the others (and run prepared, see
    // runPreparedOnServer). Should the savepoint fail after a BEGIN that
    // worked, the next statement's own text fails on releasing it.
    const bool withSavepoint = verb == TransactionVerb::Begin && m_spec.driver == QLatin1String("QPSQL");
    if (m_spec.driver == QLatin1String("QIBASE")) {
        // The InterBase-family engine takes transactions only through its API.
        ok = verb == TransactionVerb::Begin   ? db.transaction()
            : verb == TransactionVerb::Commit ? db.commit()
                                              : db.rollback();
        failure = db.lastError();
    } else if (verb == TransactionVerb::Commit && m_inTransaction && m_spec.driver == QLatin1String("QPSQL")) {
        ok = commitThroughPostgresClient(sql, &failure);
    } else if (QueryHandle prepared = m_prepared.lendAsItStands(db, sql)) {
        // SQLite: the verb prepared once, as the statements are.
        ok = prepared.exec();
        failure = prepared.lastError();
    } else {
        QSqlQuery query(db);
        ok = query.exec(withSavepoint ? sql + savepointTail(false) : sql);
        failure = query.lastError();
    }
    if (!ok) {
        m_savepointAhead = false;
        if (verb == TransactionVerb::Rollback)
            m_inTransaction = false;
        else if (verb == TransactionVerb::Commit)
            m_inTransaction = engineHoldsTransaction();
        throw RunTimeError(errorFor(sql, failure));
    }
    m_inTransaction = verb == TransactionVerb::Begin;
    m_savepointAhead = withSavepoint;
    if (onWritten)
        onWritten(sql);
}

bool Connection::commitThroughPostgresClient(const QString &sql, QSqlError *failure)
{
    // The client reports the first result of a text only: a savepoint carried
    // after a statement that fails (a statement cancelled or timed out at that
    // moment) goes unseen and leaves the transaction spoilt, and PostgreSQL
    // answers the COMMIT of a spoilt transaction with a rollback and no
    // error. A savepoint verb sent first, in the same text, fails visibly in
    // a spoilt transaction; the COMMIT's own outcome is then the second result.
    QSqlQuery query(database());
    const QString probe = m_savepointAhead ? QStringLiteral("RELEASE SAVEPOINT ") : QStringLiteral("SAVEPOINT ");
    if (!query.exec(probe + savepointName + QStringLiteral(";") + sql)) {
        // The COMMIT never ran: the spoilt transaction is ended here.
        *failure = query.lastError();
        QSqlQuery(database()).exec(QStringLiteral("ROLLBACK"));
        m_inTransaction = false;
        return false;
    }
    if (!query.nextResult() && query.lastError().isValid()) {
        *failure = query.lastError();
        return false;
    }
    return true;
}

bool Connection::engineHoldsTransaction()
{
    // Asked after a failed COMMIT: whether the engine kept the transaction
    // open (a COMMIT may then be tried again) or ended it with its writes.
    if (!isOpen())
        return false;
    QSqlDatabase db = database();
    if (m_spec.driver == QLatin1String("QSQLITE")) {
        // BEGIN is refused inside a transaction; otherwise the probe is undone.
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("BEGIN")))
            return true;
        probe.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    if (m_spec.driver == QLatin1String("QODBC") && m_spec.dialect == SqlDialect::SqlServer) {
        QSqlQuery probe(db);
        return probe.exec(QStringLiteral("SELECT @@TRANCOUNT")) && probe.next() && probe.value(0).toInt() > 0;
    }
    // PostgreSQL ends the transaction at a failed COMMIT; the Firebird client
    // forgets its handle.
    return false;
}

void Connection::executeOrThrow(const QString &sql)
{
    if (!isOpen()) {
        m_inTransaction = false; // a transaction does not outlive its connection
        throw RunTimeError(RunError{ErrorNumber::ConnectionFailure,
                                    QStringLiteral("La conexión %1 no está abierta").arg(m_spec.describe()),
                                    {},
                                    sql,
                                    {}});
    }
    const TransactionVerb verb = transactionVerb(sql);
    if (verb == TransactionVerb::Rollback && !m_inTransaction)
        return; // nothing is open: there is nothing to undo
    if (m_faults && m_faults->active() && (verb != TransactionVerb::None || WriteFaults::isWriteStatement(sql))
        && m_faults->beforeWrite(sql))
        throw RunTimeError(RunError{ErrorNumber::SqlStatement,
                                    QStringLiteral("Fallo de prueba (TRASPASOR_FAIL_AT_WRITE): la base de datos "
                                                   "rechaza la escritura %1")
                                        .arg(m_faults->writes()),
                                    {},
                                    sql,
                                    {}});
    if (verb != TransactionVerb::None) {
        runTransactionVerb(verb, sql);
        return;
    }
    const QString statement = statementFor(sql);
    QueryHandle prepared = lendPrepared(statement);
    QueryHandle &query = prepared ? prepared : writeQuery();
    if (!execGuarded(query, statement, &StatementCounts::writes))
        throw RunTimeError(errorFor(sql, query.lastError()));
    m_runCache.written(sql);
    if (onWritten)
        onWritten(statement);
}

QString Connection::statementFor(const QString &sql, QSet<QString> *decimalColumns)
{
    const QString adapted = adaptStatement(sql, m_spec.dialect);
    if (m_spec.driver != QLatin1String("QIBASE") || !isOpen())
        return adapted;
    const FirebirdReadPlan plan = firebirdReadPlan(
        adapted,
        [this](const QString &table) {
            auto it = m_firebirdColumns.find(table);
            if (it == m_firebirdColumns.end())
                it = m_firebirdColumns.insert(table, readFirebirdColumns(database(), table));
            return it.value();
        },
        m_spec.sourceCharset);
    if (decimalColumns)
        *decimalColumns = plan.decimalColumns;
    return plan.sql;
}

bool Connection::Execute(const QString &sql)
{
    return m_errors.attempt([&] { executeOrThrow(sql); });
}

Recordset Connection::OpenRecordset(const QString &sql)
{
    Recordset rs;
    m_errors.attempt([&] { rs.open(*this, sql); });
    return rs;
}
