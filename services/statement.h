#pragma once
// Statement: the one way the tool writes a statement text. A pattern holds
// the constant pieces with "{}" where a value goes; the values are given in
// order, each by its kind, so that every literal follows the same rules:
// a text between single quotes with its inner quotes doubled (the stored text
// is exactly the given one), a number in its plain form, a code right-aligned
// before it is quoted. A part is SQL the tool composed itself (a table or
// column name, a condition, another Statement) and goes in as it stands.
//   Statement(QStringLiteral("SELECT * FROM V_TA_CPTE WHERE CODIGO = {}")).code(tc, 4)

#include "services/currency.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <QVariant>
#include <initializer_list>

// The literals, one function per kind; Statement's values go through them.
namespace SqlLiteral {

// 'text' with inner quotes doubled.
QString text(const QString &value);
// The text of a value (Null gives an empty text) between quotes.
QString textOf(const QVariant &value);
// The code right-aligned and blank-filled to width, between quotes.
QString code(const QString &value, int width);
// A number: Null, no value or a blank text give 0; a text must read as a
// number (else the type-mismatch error) and is written in its plain form;
// any other value is written as its own number text.
QString number(const QVariant &value);
// An amount with its four decimals at most, without quotes.
QString amount(Currency value);
// NULL.
QString null();

} // namespace SqlLiteral

// The text literal alone: 'text' with inner quotes doubled.
inline QString quoted(const QString &text)
{
    return SqlLiteral::text(text);
}

class Statement
{
public:
    explicit Statement(const QString &pattern) : m_pattern(pattern) {}

    Statement &text(const QString &value) { return add(SqlLiteral::text(value)); }
    Statement &textOf(const QVariant &value) { return add(SqlLiteral::textOf(value)); }
    Statement &code(const QString &value, int width) { return add(SqlLiteral::code(value, width)); }
    Statement &number(const QVariant &value) { return add(SqlLiteral::number(value)); }
    Statement &amount(Currency value) { return add(SqlLiteral::amount(value)); }
    Statement &integer(qint64 value) { return add(QString::number(value)); }
    // Several values of one kind, in order.
    Statement &texts(std::initializer_list<QString> values);
    Statement &amounts(std::initializer_list<Currency> values);
    Statement &literals(std::initializer_list<QString> values);
    // A literal already made by SqlLiteral (or a list of them).
    Statement &literal(const QString &sql);
    // SQL the tool composed itself, as it stands.
    Statement &part(const QString &sql) { return literal(sql); }
    Statement &part(const Statement &statement) { return add(statement.sql()); }

    // The finished text. A pattern that takes another number of values than
    // it was given raises a statement error instead of running a wrong text.
    QString sql() const;
    operator QString() const { return sql(); }

private:
    Statement &add(QString &&sql)
    {
        m_values.append(std::move(sql));
        return *this;
    }

    QString m_pattern;
    QVarLengthArray<QString, 32> m_values; // a statement's values, mostly without a further allocation
};

// (column name, SQL literal) pairs of an insert statement.
using FieldList = QList<QPair<QString, QString>>;

// insert + " (" names ") VALUES (" literals ")": the literals as given.
QString insertStatement(const QString &insert, const FieldList &fields);
