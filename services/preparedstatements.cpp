#include "services/preparedstatements.h"
#include "services/statementshape.h"

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
    handle.m_entry = std::make_shared<Entry>(db);
    return handle;
}

void QueryHandle::reset()
{
    if (!m_entry)
        return;
    if (m_entry->lent) {
        m_entry->query.finish();
        m_entry->inUse = false;
    }
    m_entry.reset();
}

QueryHandle PreparedStatements::lend(const QSqlDatabase &db, const QString &statement)
{
    if (!m_enabled)
        return {};
    std::optional<StatementShape> shape = statementShape(statement);
    if (!shape)
        return {};
    std::shared_ptr<QueryHandle::Entry> &slot = m_byShape[shape->text];
    if (!slot) {
        if (m_byShape.size() > capacity) {
            // Shapes that vary without end (a text kept in a result column):
            // the ones not in use are let go.
            m_byShape.removeIf([](const auto &entry) { return !entry.value() || !entry.value()->inUse; });
            return {};
        }
        auto entry = std::make_shared<QueryHandle::Entry>(db);
        entry->query.setForwardOnly(true);
        entry->query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        if (!entry->query.prepare(shape->text)) {
            m_byShape.remove(shape->text);
            return {};
        }
        entry->lent = true;
        slot = entry;
    }
    if (slot->inUse)
        return {};
    for (qsizetype i = 0; i < shape->values.size(); ++i)
        slot->query.bindValue(int(i), shape->values.at(i));
    slot->inUse = true;
    QueryHandle handle;
    handle.m_entry = slot;
    return handle;
}
