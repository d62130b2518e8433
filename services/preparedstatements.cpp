#include "services/preparedstatements.h"
#include "services/statementshape.h"

#include <QSqlRecord>

QueryHandle &QueryHandle::operator=(QueryHandle &&other) noexcept
{
    if (this != &other) {
        reset();
        m_entry = std::move(other.m_entry);
    }
    return *this;
}

QueryHandle QueryHandle::own(const QSqlDatabase &db)
{
    QueryHandle handle;
    handle.m_entry = std::make_shared<Entry>();
    handle.m_entry->query.emplace(db);
    return handle;
}

bool QueryHandle::exec()
{
    return prepared() && m_entry->statement.exec();
}

bool QueryHandle::next()
{
    if (!m_entry)
        return false;
    return m_entry->lent ? m_entry->statement.next() : m_entry->query->next();
}

QStringList QueryHandle::columnNames() const
{
    QStringList names;
    if (!m_entry)
        return names;
    if (m_entry->lent) {
        const int count = m_entry->statement.columnCount();
        names.reserve(count);
        for (int i = 0; i < count; ++i)
            names << m_entry->statement.columnName(i);
        return names;
    }
    const QSqlRecord record = m_entry->query->record();
    names.reserve(record.count());
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    return names;
}

std::shared_ptr<ColumnLookup> QueryHandle::columnLookup() const
{
    if (!m_entry)
        return {};
    if (!m_entry->lent)
        return std::make_shared<ColumnLookup>(columnNames());
    const SqliteStatement &statement = m_entry->statement;
    const int count = statement.columnCount();
    const auto nameAt = [&statement](int column) { return statement.columnNameUtf8(column); };
    if (!m_entry->columns || !m_entry->columns->sameColumns(count, nameAt)) {
        QList<QByteArray> utf8Names;
        utf8Names.reserve(count);
        for (int i = 0; i < count; ++i)
            utf8Names << QByteArray(nameAt(i));
        m_entry->columns = std::make_shared<ColumnLookup>(columnNames(), std::move(utf8Names));
    }
    return m_entry->columns;
}

QVariant QueryHandle::value(int column) const
{
    if (!m_entry)
        return {};
    return m_entry->lent ? m_entry->statement.value(column) : m_entry->query->value(column);
}

QSqlError QueryHandle::lastError() const
{
    if (!m_entry)
        return {};
    return m_entry->lent ? m_entry->statement.lastError() : m_entry->query->lastError();
}

void QueryHandle::reset()
{
    if (!m_entry)
        return;
    if (m_entry->lent) {
        m_entry->statement.finish();
        m_entry->inUse = false;
    }
    m_entry.reset();
}

namespace {

// Every cache by the name of its connection (one thread runs the tool).
QMultiHash<QString, PreparedStatements *> &caches()
{
    static QMultiHash<QString, PreparedStatements *> all;
    return all;
}

} // namespace

PreparedStatements::PreparedStatements(const QString &connectionName) : m_connectionName(connectionName)
{
    caches().insert(m_connectionName, this);
}

PreparedStatements::~PreparedStatements()
{
    clear();
    caches().remove(m_connectionName, this);
}

void PreparedStatements::releaseAll(const QString &connectionName)
{
    const QList<PreparedStatements *> on = caches().values(connectionName);
    for (PreparedStatements *cache : on)
        cache->clear();
}

QueryHandle PreparedStatements::lend(const QSqlDatabase &db, const QString &statement)
{
    if (!m_enabled)
        return {};
    std::optional<StatementShape> shape = statementShape(statement);
    if (!shape)
        return {};
    return lendPrepared(db, shape->text, std::move(shape->values));
}

QueryHandle PreparedStatements::lendAsItStands(const QSqlDatabase &db, const QString &statement)
{
    if (!m_enabled)
        return {};
    return lendPrepared(db, statement, {});
}

QueryHandle PreparedStatements::lendPrepared(const QSqlDatabase &db, const QString &text, QVariantList values)
{
    std::shared_ptr<QueryHandle::Entry> &slot = m_byShape[text];
    if (!slot) {
        if (m_byShape.size() > capacity) {
            // Shapes that vary without end (a text kept in a result column):
            // the ones not in use are let go.
            m_byShape.removeIf([](const auto &entry) { return !entry.value() || !entry.value()->inUse; });
            return {};
        }
        auto entry = std::make_shared<QueryHandle::Entry>();
        if (!entry->statement.prepare(SqliteStatement::handleOf(db), text)) {
            m_byShape.remove(text);
            return {};
        }
        entry->lent = true;
        slot = entry;
    }
    if (slot->inUse)
        return {};
    slot->statement.bind(std::move(values));
    slot->inUse = true;
    QueryHandle handle;
    handle.m_entry = slot;
    return handle;
}

void PreparedStatements::clear()
{
    for (const auto &entry : std::as_const(m_byShape))
        if (entry)
            entry->statement.finalize();
    m_byShape.clear();
}
