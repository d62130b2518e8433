#pragma once
// Statements prepared once on the PostgreSQL server and run again with new
// values. The server parses, analyses and plans every statement text anew;
// a statement whose shape (statementshape.h) came before is instead
// prepared once on the connection (PREPARE) and run as EXECUTE with the
// statement's own literals, so it still travels in one round trip together
// with the savepoint it carries (see Connection::execGuarded).
//
// A literal goes to a placeholder of the type the server gave it only where
// both mean the same: a quoted text to any type (the server reads a quoted
// literal by the type of its place either way), a number only to a numeric
// type and, for a whole number, within that type's range. Otherwise, and for
// a shape the server will not prepare, the statement runs as it stands. A
// prepared statement that fails is run again as it stands by the caller, so
// what is written and the engine's message are always the statement's own.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ServerStatements
{
public:
    // Prepares shape on the server under name and gives the types of its
    // placeholders in order, or nothing when the server refused it.
    using Preparer = std::function<std::optional<QStringList>(const QString &name, const QString &shape)>;

    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool enabled() const { return m_enabled; }

    // The EXECUTE text that runs statement through its prepared shape, the
    // shape prepared through prepare when it comes the second time; empty
    // when the statement runs as it stands.
    QString executeText(const QString &statement, const Preparer &prepare);

    // Forgets every prepared statement (the server's session ended).
    void clear();

    // At most this many shapes are prepared per connection.
    static constexpr int capacity = 256;

private:
    enum class TypeClass { Other, Integer2, Integer4, Integer8, Number };
    struct Entry
    {
        QString name; // empty until prepared
        QList<TypeClass> types;
        int sightings = 0;
        bool refused = false; // the server will not prepare it
    };
    static TypeClass typeClass(const QString &typeName);

    QHash<QString, Entry> m_byShape;
    int m_prepared = 0;
    bool m_enabled = false;
};
