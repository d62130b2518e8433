#pragma once
// Statements prepared once per connection and run again with new values.
// A statement is looked up by its shape (statementshape.h): the SQLite
// engine parses and plans each shape once, instead of once per document.
// A prepared statement is lent to one user at a time (a recordset being
// walked, or one write); a second user of the same shape meanwhile gets
// none and runs the statement as it stands.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QHash>
#include <QString>
#include <memory>

class PreparedStatements;

// A query lent by PreparedStatements, or one of the caller's own. Giving it
// back resets the engine's statement (its read ends), keeping it prepared.
class QueryHandle
{
public:
    QueryHandle() = default;
    QueryHandle(QueryHandle &&other) noexcept = default;
    QueryHandle &operator=(QueryHandle &&other) noexcept;
    ~QueryHandle() { reset(); }

    // A new query of the caller's own on db, not prepared.
    static QueryHandle own(const QSqlDatabase &db);

    explicit operator bool() const { return m_entry != nullptr; }
    QSqlQuery *operator->() const { return &m_entry->query; }
    QSqlQuery &operator*() const { return m_entry->query; }
    // Whether the query is prepared with its values bound: run it with exec().
    bool prepared() const { return m_entry && m_entry->lent; }
    void reset();

private:
    friend class PreparedStatements;
    struct Entry
    {
        explicit Entry(const QSqlDatabase &db) : query(db) {}
        QSqlQuery query;
        bool lent = false;  // prepared and lent from the cache
        bool inUse = false;
    };
    std::shared_ptr<Entry> m_entry;
};

class PreparedStatements
{
public:
    // Whether statements are prepared at all (only the SQLite engine gains).
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool enabled() const { return m_enabled; }
    // A query prepared for the shape of statement, its values bound, ready
    // for exec(); an empty handle when the statement has no shape, its shape
    // is in use, or the engine does not prepare it (the statement then runs
    // as it stands, and fails there with the engine's own message).
    QueryHandle lend(const QSqlDatabase &db, const QString &statement);
    // Forgets every prepared statement (the connection closes).
    void clear() { m_byShape.clear(); }

private:
    static constexpr qsizetype capacity = 256;
    bool m_enabled = false;
    QHash<QString, std::shared_ptr<QueryHandle::Entry>> m_byShape;
};
