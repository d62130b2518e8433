#include "services/statement.h"
#include "services/errors.h"
#include "services/svctools.h"

#include <algorithm>

namespace {

// Where the next "{}" of the pattern starts at or after from; -1 when none.
qsizetype placeholderAt(QStringView pattern, qsizetype from)
{
    for (qsizetype at = pattern.indexOf(QLatin1Char('{'), from); at >= 0 && at + 1 < pattern.size();
         at = pattern.indexOf(QLatin1Char('{'), at + 1))
        if (pattern[at + 1] == QLatin1Char('}'))
            return at;
    return -1;
}

RunTimeError patternError(const QString &pattern, qsizetype given)
{
    return RunTimeError(RunError{
        ErrorNumber::SqlStatement, QStringLiteral("La sentencia no lleva %1 valores").arg(given), {}, pattern, {}});
}

} // namespace

namespace SqlLiteral {

QString text(const QString &value)
{
    const QChar quote = QLatin1Char('\'');
    const qsizetype quotes = value.count(quote);
    QString literal(value.size() + quotes + 2, Qt::Uninitialized);
    QChar *out = literal.data();
    *out++ = quote;
    if (quotes == 0) {
        std::copy(value.cbegin(), value.cend(), out);
        out += value.size();
    } else {
        for (const QChar c : value) {
            *out++ = c;
            if (c == quote)
                *out++ = c;
        }
    }
    *out = quote;
    return literal;
}

QString textOf(const QVariant &value)
{
    return text(SvcTools::FieldText(value));
}

QString code(const QString &value, int width)
{
    return text(SvcTools::PadLeft(value, width));
}

QString number(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("0");
    const QString text = SvcTools::NumberText(value);
    if (text.trimmed().isEmpty())
        return QStringLiteral("0");
    if (value.typeId() != QMetaType::QString)
        return text;
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok)
        throw RunTimeError(RunError{ErrorNumber::TypeMismatch,
                                    QStringLiteral("No coinciden los tipos: '%1' no es un número").arg(text),
                                    {},
                                    {},
                                    {}});
    return plainNumber(v);
}

QString amount(Currency value)
{
    return value.toText();
}

QString null()
{
    return QStringLiteral("NULL");
}

} // namespace SqlLiteral

Statement &Statement::literal(const QString &sql)
{
    m_values.append(sql);
    return *this;
}

Statement &Statement::texts(std::initializer_list<QString> values)
{
    for (const QString &value : values)
        text(value);
    return *this;
}

Statement &Statement::amounts(std::initializer_list<Currency> values)
{
    for (const Currency value : values)
        amount(value);
    return *this;
}

Statement &Statement::literals(std::initializer_list<QString> values)
{
    for (const QString &value : values)
        literal(value);
    return *this;
}

QString Statement::sql() const
{
    // The pieces are copied into a text of the final size.
    qsizetype size = m_pattern.size() - 2 * m_values.size();
    for (const QString &value : m_values)
        size += value.size();
    QString text(std::max<qsizetype>(size, 0), Qt::Uninitialized);
    QChar *out = text.data();
    const QChar *pattern = m_pattern.constData();
    qsizetype from = 0;
    for (const QString &value : m_values) {
        const qsizetype at = placeholderAt(m_pattern, from);
        if (at < 0)
            throw patternError(m_pattern, m_values.size());
        out = std::copy(pattern + from, pattern + at, out);
        out = std::copy(value.constBegin(), value.constEnd(), out);
        from = at + 2;
    }
    if (placeholderAt(m_pattern, from) >= 0)
        throw patternError(m_pattern, m_values.size());
    std::copy(pattern + from, pattern + m_pattern.size(), out);
    return text;
}

QString insertStatement(const QString &insert, const FieldList &fields)
{
    // insert (names) VALUES (literals), written once into a text of its size.
    const QLatin1StringView values(") VALUES (");
    qsizetype size = insert.size() + 2 + values.size() + 1;
    for (const auto &field : fields)
        size += field.first.size() + field.second.size() + 2;
    QString text;
    text.reserve(size);
    const auto appendList = [&](QString FieldList::value_type::*part) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0)
                text += QLatin1Char(',');
            text += fields.at(i).*part;
        }
    };
    text += insert;
    text += QLatin1StringView(" (");
    appendList(&FieldList::value_type::first);
    text += values;
    appendList(&FieldList::value_type::second);
    text += QLatin1Char(')');
    return text;
}
