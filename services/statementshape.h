#pragma once
// The shape of a statement: its text with the literal values taken out as
// placeholders, and those values in order. Statements of one shape are
// prepared once by the SQLite engine and run again with new values, instead
// of being parsed and planned anew for every document (see
// preparedstatements.h).
//
// A literal becomes a placeholder only where the engine gives the bound
// value exactly the meaning of the literal:
// - texts ('...') and whole numbers, except in the result columns of a
//   SELECT (a column is named after its text) and in statements with ORDER
//   BY, GROUP BY or a compound SELECT, where a number may be a column's
//   position and the column names and types come from several places;
// - decimal numbers only among the VALUES of an INSERT, as CAST(? AS REAL)
//   with the literal's own text: the engine turns the text into the same
//   number as it does the literal, digit for digit;
// - a text holding a NUL character, a blob (X'..'), a whole number beyond
//   64 bits and a hexadecimal number stay as they are.
// Statements other than SELECT, INSERT, UPDATE and DELETE, and statements
// that already hold placeholders, have no shape: they run as they stand.
//
// For the PostgreSQL server (ShapeStyle::PostgreSql) the same literals are
// taken out as numbered placeholders ($1, $2, ...) and kept as the very
// texts they were in the statement, to be handed to EXECUTE: the server
// gives each placeholder the type its place asks for, as it does a literal
// there (serverstatements.h says when a value may go to which type). A
// decimal is taken as it stands, and a sign right after "(", ",", "=", "<"
// or ">" goes with the number it signs (a signed placeholder has no type).
#include <QList>
#include <QString>
#include <QVariantList>
#include <optional>

enum class ShapeStyle { Sqlite, PostgreSql };

// A literal taken out for the PostgreSQL server.
struct ShapeLiteral
{
    enum class Kind { Text, Whole, Decimal };
    QString text; // as written in the statement: quotes, sign and all
    Kind kind = Kind::Text;
    qlonglong whole = 0; // the value of a whole number, sign included
};

struct StatementShape
{
    QString text;                 // the statement with a placeholder for each value taken out
    QVariantList values;          // SQLite: QString for texts and decimals, qlonglong for whole numbers
    QList<ShapeLiteral> literals; // PostgreSQL: the literals taken out, in order
};

std::optional<StatementShape> statementShape(const QString &sql, ShapeStyle style = ShapeStyle::Sqlite);
