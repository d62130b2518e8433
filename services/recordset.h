#pragma once
// A forward-only recordset: positioned on its first row after opening, walked
// with moveNext, fields read by name without regard to case. Rows are fetched
// one at a time, so a walk never holds the whole result in memory.

#include "services/preparedstatements.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <memory>

class Connection;

class Recordset
{
public:
    Recordset() = default;
    Recordset(Recordset &&) noexcept = default;
    Recordset &operator=(Recordset &&) noexcept = default;

    // Runs sql on connection; raises a RunTimeError when the engine rejects it.
    void open(Connection &connection, const QString &sql);
    void close();
    bool isOpen() const { return bool(m_query); }

    // No row at all (beginning and end of rows at once).
    bool isEmpty() const { return !m_hasRows; }
    bool hasRows() const { return m_hasRows; }
    bool eof() const { return m_eof; }

    // Back to the first row (runs the statement again when already past it).
    void moveFirst();
    void moveNext();

    // The field's value on the current row; Null as a null QVariant. An
    // unknown name, or no current row, raises a RunTimeError.
    QVariant value(const QString &field) const;
    bool isNull(const QString &field) const { return value(field).isNull(); }
    bool hasField(const QString &field) const;
    // The result's column names, in order.
    QStringList fieldNames() const;
    QString statement() const { return m_sql; }

private:
    void execute();
    void readFields() const;
    static QueryHandle ownQuery(Connection &connection);

    QueryHandle m_query;
    QString m_statement; // as the engine runs it
    Connection *m_connection = nullptr;
    QString m_sql;
    // The index of a column by its name in any case (see columnlookup.h).
    int fieldIndex(const QString &field) const;
    mutable std::shared_ptr<ColumnLookup> m_columns; // read at the first field asked
    QSet<QString> m_decimalColumns;                  // lower-case names holding exact decimal texts
    mutable QSet<int> m_decimalIndexes;              // their columns, once the names are read
    bool m_hasRows = false;
    bool m_eof = true;
    int m_row = -1;
};
