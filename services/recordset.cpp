#include "services/recordset.h"
#include "services/connection.h"
#include "services/errors.h"
#include "services/firebirdreader.h"

#include <QSqlError>
#include <QSqlRecord>

void Recordset::open(Connection &connection, const QString &sql)
{
    close();
    if (!connection.isOpen())
        throw RunTimeError(
            RunError{ErrorNumber::ConnectionFailure,
                     QStringLiteral("La conexión %1 no está abierta").arg(connection.target().describe()),
                     {},
                     sql,
                     {}});
    m_connection = &connection;
    m_sql = sql;
    m_statement = connection.statementFor(sql, &m_decimalColumns);
    m_query = connection.lendPrepared(m_statement);
    if (!m_query)
        m_query = ownQuery(connection);
    m_columns.reset();
    m_decimalIndexes.clear();
    execute();
}

QueryHandle Recordset::ownQuery(Connection &connection)
{
    QueryHandle handle = QueryHandle::own(connection.database());
    QSqlQuery *query = handle.query();
    // Forward-only fetches row by row, except through the PostgreSQL client:
    // there a result fetched row by row is discarded as soon as another
    // statement runs on the connection, so a walk that writes as it goes
    // (lots being discharged) would silently lose its remaining rows. Its
    // results are read whole instead (Orva results are small).
    query->setForwardOnly(connection.target().driver != QLatin1String("QPSQL"));
    // Exact decimals: numbers come back as the engine holds them.
    query->setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    return handle;
}

void Recordset::readFields() const
{
    // Most recordsets are only asked whether they have rows: the names are
    // read at the first field asked for.
    if (m_columns || !m_query)
        return;
    m_columns = m_query.columnLookup();
    if (!m_columns || m_decimalColumns.isEmpty())
        return;
    const QStringList &names = m_columns->names();
    for (int i = 0; i < names.size(); ++i)
        if (m_decimalColumns.contains(names.at(i).toLower()))
            m_decimalIndexes.insert(i);
}

QStringList Recordset::fieldNames() const
{
    readFields();
    return m_columns ? m_columns->names() : QStringList();
}

int Recordset::fieldIndex(const QString &field) const
{
    readFields();
    return m_columns ? m_columns->indexOf(field) : -1;
}

void Recordset::execute()
{
    if (!m_connection->execGuarded(m_query, m_statement, &StatementCounts::reads)) {
        const RunError error = m_connection->errorFor(m_sql, m_query.lastError());
        m_query.reset();
        throw RunTimeError(error);
    }
    m_eof = !m_query.next();
    m_hasRows = !m_eof;
    m_row = m_eof ? -1 : 0;
}

void Recordset::close()
{
    m_query.reset();
    m_statement.clear();
    m_columns.reset();
    m_decimalIndexes.clear();
    m_decimalColumns.clear();
    m_hasRows = false;
    m_eof = true;
    m_row = -1;
}

void Recordset::moveFirst()
{
    // Still on the first row: nothing to do. Past it (also a one-row result
    // walked to its end): the statement runs again.
    if (!m_query || (m_row == 0 && !m_eof))
        return;
    execute();
}

void Recordset::moveNext()
{
    if (!m_query || m_eof)
        return;
    m_eof = !m_query.next();
    if (!m_eof)
        ++m_row;
}

bool Recordset::hasField(const QString &field) const
{
    return fieldIndex(field) >= 0;
}

QVariant Recordset::value(const QString &field) const
{
    const int index = fieldIndex(field);
    if (index < 0)
        throw RunTimeError(RunError{3265, QStringLiteral("No se encontró el campo %1").arg(field), {}, m_sql, {}});
    if (!m_query || m_eof)
        throw RunTimeError(
            RunError{3021, QStringLiteral("No hay registro actual (campo %1)").arg(field), {}, m_sql, {}});
    const QVariant v = m_query.value(index);
    if (m_decimalIndexes.contains(index))
        return firebirdDecimal(v);
    if (!v.isValid())
        return QVariant(QMetaType::fromType<QString>()); // ODBC gives Null as an invalid value
    return v;
}
