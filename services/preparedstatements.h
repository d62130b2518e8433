#pragma once
// Statements prepared once per connection and run again with new values.
// A statement is looked up by its shape (statementshape.h): the SQLite
// engine parses and plans each shape once, instead of once per document.
// A prepared statement is lent to one user at a time (a recordset being
// walked, or one write); a second user of the same shape meanwhile gets
// none and runs the statement as it stands.
#include "services/columnlookup.h"
#include "services/sqlitestatement.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class PreparedStatements;

// A statement to run and read: a prepared SQLite statement lent by
// PreparedStatements with its values bound, or a Qt query of the caller's
// own. Giving a lent one back ends its read, keeping it prepared.
class QueryHandle
{
public:
    QueryHandle() = default;
    QueryHandle(QueryHandle &&other) noexcept = default;
    QueryHandle &operator=(QueryHandle &&other) noexcept;
    ~QueryHandle() { reset(); }

    // A new Qt query of the caller's own on db, not prepared.
    static QueryHandle own(const QSqlDatabase &db);

    explicit operator bool() const { return m_entry != nullptr; }
    // Whether it is a prepared statement with its values bound: run it with exec().
    bool prepared() const { return m_entry && m_entry->lent; }
    // The Qt query of a handle of the caller's own (nullptr when prepared).
    QSqlQuery *query() const { return m_entry && !m_entry->lent ? &*m_entry->query : nullptr; }

    // Runs the prepared statement.
    bool exec();
    bool next();
    // The result's column names, in order.
    QStringList columnNames() const;
    // The result's columns by name: a prepared statement's is kept with it
    // from run to run while the engine's columns stay the same.
    std::shared_ptr<ColumnLookup> columnLookup() const;
    QVariant value(int column) const;
    QSqlError lastError() const;
    void reset();

private:
    friend class PreparedStatements;
    struct Entry
    {
        std::optional<QSqlQuery> query; // a handle of the caller's own
        SqliteStatement statement;      // a lent one
        bool lent = false;              // prepared and lent from the cache
        bool inUse = false;
        std::shared_ptr<ColumnLookup> columns; // a lent one's, kept between runs
    };
    std::shared_ptr<Entry> m_entry;
};

class PreparedStatements
{
public:
    // The statements of the Qt connection named connectionName: every cache
    // of that name lets its statements go when one of them opens or closes
    // it, since the engine cannot close a connection that has statements.
    explicit PreparedStatements(const QString &connectionName);
    ~PreparedStatements();
    PreparedStatements(const PreparedStatements &) = delete;
    PreparedStatements &operator=(const PreparedStatements &) = delete;
    // Lets go the statements of every cache on connectionName.
    static void releaseAll(const QString &connectionName);

    // Whether statements are prepared at all (only the SQLite engine gains).
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool enabled() const { return m_enabled; }
    // A statement prepared for the shape of statement, its values bound,
    // ready for exec(); an empty handle when the statement has no shape, its
    // shape is in use, or the engine does not prepare it (the statement then
    // runs as it stands, and fails there with the engine's own message).
    QueryHandle lend(const QSqlDatabase &db, const QString &statement);
    // A statement without values prepared as it stands (a transaction verb),
    // ready for exec(); an empty handle as for lend.
    QueryHandle lendAsItStands(const QSqlDatabase &db, const QString &statement);
    // Lets every prepared statement go (the connection closes): a handle
    // still lent reads no further row.
    void clear();

private:
    QueryHandle lendPrepared(const QSqlDatabase &db, const QString &text, QVariantList values);

    static constexpr qsizetype capacity = 256;
    QString m_connectionName;
    bool m_enabled = false;
    QHash<QString, std::shared_ptr<QueryHandle::Entry>> m_byShape;
};
