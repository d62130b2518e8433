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
#include <QString>
#include <QVariantList>
#include <optional>

struct StatementShape
{
    QString text;        // the statement with ? for each value taken out
    QVariantList values; // QString for texts and decimals, qlonglong for whole numbers
};

std::optional<StatementShape> statementShape(const QString &sql);
