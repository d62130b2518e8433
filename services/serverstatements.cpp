#include "services/serverstatements.h"
#include "services/statementshape.h"

#include <limits>

namespace {

bool withinRange(qlonglong value, qlonglong limit)
{
    return value >= -limit - 1 && value <= limit;
}

} // namespace

ServerStatements::TypeClass ServerStatements::typeClass(const QString &typeName)
{
    if (typeName == QLatin1String("smallint"))
        return TypeClass::Integer2;
    if (typeName == QLatin1String("integer"))
        return TypeClass::Integer4;
    if (typeName == QLatin1String("bigint"))
        return TypeClass::Integer8;
    if (typeName == QLatin1String("numeric") || typeName == QLatin1String("real")
        || typeName == QLatin1String("double precision"))
        return TypeClass::Number;
    return TypeClass::Other;
}

QString ServerStatements::executeText(const QString &statement, const Preparer &prepare)
{
    if (!m_enabled || statement.contains(QChar(0)))
        return {};
    std::optional<StatementShape> shape = statementShape(statement, ShapeStyle::PostgreSql);
    if (!shape)
        return {};
    if (m_byShape.size() >= 8 * capacity && !m_byShape.contains(shape->text)) {
        // Shapes that vary without end: all but the prepared ones are let go.
        m_byShape.removeIf([](const auto &entry) { return entry.value().name.isEmpty(); });
    }
    Entry &entry = m_byShape[shape->text];
    if (entry.refused)
        return {};
    if (entry.name.isEmpty()) {
        // A shape seen once may never come again: it is prepared the second time.
        if (++entry.sightings < 2 || m_prepared >= capacity)
            return {};
        const QString name = QStringLiteral("traspasor_%1").arg(m_prepared + 1);
        const std::optional<QStringList> types = prepare(name, shape->text);
        if (!types || types->size() != shape->literals.size()) {
            entry.refused = true;
            return {};
        }
        ++m_prepared;
        entry.name = name;
        for (const QString &type : *types)
            entry.types << typeClass(type);
    }
    QString text = QStringLiteral("EXECUTE ") + entry.name;
    for (qsizetype i = 0; i < shape->literals.size(); ++i) {
        const ShapeLiteral &literal = shape->literals.at(i);
        const TypeClass type = entry.types.at(i);
        bool fits = true;
        switch (literal.kind) {
        case ShapeLiteral::Kind::Text:
            break;
        case ShapeLiteral::Kind::Decimal:
            fits = type == TypeClass::Number;
            break;
        case ShapeLiteral::Kind::Whole:
            fits = type == TypeClass::Number || type == TypeClass::Integer8
                || (type == TypeClass::Integer4 && withinRange(literal.whole, std::numeric_limits<qint32>::max()))
                || (type == TypeClass::Integer2 && withinRange(literal.whole, std::numeric_limits<qint16>::max()));
            break;
        }
        if (!fits)
            return {};
        text += (i == 0 ? QLatin1Char('(') : QLatin1Char(',')) + literal.text;
    }
    if (!shape->literals.isEmpty())
        text += QLatin1Char(')');
    return text;
}

void ServerStatements::clear()
{
    m_byShape.clear();
    m_prepared = 0;
}
