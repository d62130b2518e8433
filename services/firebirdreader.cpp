#include "services/firebirdreader.h"
#include "services/statement.h"
#include "services/svctools.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QVector>

namespace {

const QString identifierPattern = QStringLiteral("(?:[A-Za-z_][A-Za-z0-9_$]*|\"(?:[^\"]|\"\")+\")");

// Which characters of text lie outside literals, quoted names and parentheses.
QVector<bool> topLevel(const QString &text)
{
    QVector<bool> top(text.size(), false);
    bool inLiteral = false, inName = false;
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inLiteral) {
            if (c == QLatin1Char('\''))
                inLiteral = false;
            continue;
        }
        if (inName) {
            if (c == QLatin1Char('"'))
                inName = false;
            continue;
        }
        if (c == QLatin1Char('\'')) {
            inLiteral = true;
        } else if (c == QLatin1Char('"')) {
            inName = true;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            --depth;
        } else {
            top[i] = depth == 0;
        }
    }
    return top;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// The first top-level occurrence of the keyword at or after from; -1 if none.
qsizetype findKeyword(const QString &text, const QVector<bool> &top, QLatin1StringView word, qsizetype from)
{
    for (qsizetype i = text.indexOf(word, from, Qt::CaseInsensitive); i >= 0;
         i = text.indexOf(word, i + 1, Qt::CaseInsensitive)) {
        const qsizetype end = i + word.size();
        const bool bounded =
            (i == 0 || !isWordChar(text.at(i - 1))) && (end >= text.size() || !isWordChar(text.at(end)));
        if (bounded && top[i])
            return i;
    }
    return -1;
}

QStringList splitTopLevel(const QString &text)
{
    const QVector<bool> top = topLevel(text);
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (top[i] && text.at(i) == QLatin1Char(',')) {
            parts << text.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    parts << text.mid(start).trimmed();
    return parts;
}

// The name as the catalogue holds it: unquoted names fold to upper case.
QString catalogueName(const QString &written)
{
    if (written.startsWith(QLatin1Char('"')))
        return written.mid(1, written.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return written.toUpper();
}

QString quotedName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Z][A-Z0-9_$]*$"));
    if (plain.match(name).hasMatch())
        return name;
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

struct TableRef
{
    QString name;      // catalogue name
    QString qualifier; // what the statement calls it (its alias when it has one)
    QList<FirebirdColumn> columns;
};

bool isJoinWord(const QString &word)
{
    static const QStringList words = {QStringLiteral("ON"),    QStringLiteral("INNER"), QStringLiteral("LEFT"),
                                      QStringLiteral("RIGHT"), QStringLiteral("FULL"),  QStringLiteral("OUTER"),
                                      QStringLiteral("CROSS"), QStringLiteral("JOIN"),  QStringLiteral("NATURAL"),
                                      QStringLiteral("USING")};
    return words.contains(word.toUpper());
}

// The tables of a FROM clause made of tables, aliases and joins; false for
// anything else (derived tables, procedures).
bool parseTables(const QString &from, QList<TableRef> *tables)
{
    static const QRegularExpression derived(QStringLiteral("\\(\\s*SELECT\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (derived.match(from).hasMatch())
        return false;
    static const QRegularExpression token(identifierPattern + QStringLiteral("|,|\\S"));
    bool expectTable = true;
    bool expectAlias = false;
    auto it = token.globalMatch(from);
    while (it.hasNext()) {
        const QString t = it.next().captured(0);
        const bool identifier = t.at(0).isLetter() || t.at(0) == QLatin1Char('_') || t.at(0) == QLatin1Char('"');
        if (t == QLatin1String(",") || t.compare(QLatin1String("JOIN"), Qt::CaseInsensitive) == 0) {
            expectTable = true;
            expectAlias = false;
            continue;
        }
        if (expectTable) {
            if (!identifier || isJoinWord(t))
                return false;
            tables->append(TableRef{catalogueName(t), t, {}});
            expectTable = false;
            expectAlias = true;
            continue;
        }
        if (expectAlias) {
            if (t.compare(QLatin1String("AS"), Qt::CaseInsensitive) == 0)
                continue;
            expectAlias = false;
            if (identifier && !isJoinWord(t))
                tables->last().qualifier = t;
        }
    }
    return !tables->isEmpty() && !expectTable;
}

// The character set a text column is converted to; empty: no conversion.
QString targetCharset(const FirebirdColumn &column, const QString &noneCharset)
{
    const QString charset = column.charset.toUpper();
    if (charset == QLatin1String("OCTETS"))
        return QString();
    if (charset.isEmpty() || charset == QLatin1String("NONE")) {
        const QString bytes = noneCharset.trimmed().toUpper();
        return bytes.isEmpty() ? QStringLiteral("WIN1252") : bytes;
    }
    return charset;
}

enum class Conversion { None, Text, Decimal };

Conversion conversionOf(const FirebirdColumn &column, const QString &noneCharset)
{
    switch (column.fieldType) {
    case 14: // CHAR: padded to four bytes a character
        return targetCharset(column, noneCharset).isEmpty() ? Conversion::None : Conversion::Text;
    case 37: { // VARCHAR: only NONE needs a character set
        const QString charset = column.charset.toUpper();
        const bool none = charset.isEmpty() || charset == QLatin1String("NONE");
        return none && targetCharset(column, noneCharset) != QLatin1String("NONE") ? Conversion::Text
                                                                                   : Conversion::None;
    }
    case 7:
    case 8:
    case 16: // scaled integers: NUMERIC and DECIMAL
        return column.scale < 0 ? Conversion::Decimal : Conversion::None;
    default:
        return Conversion::None;
    }
}

class PlanBuilder
{
public:
    PlanBuilder(QList<TableRef> &tables, const QString &noneCharset) : m_tables(tables), m_noneCharset(noneCharset) {}

    // The item rewritten; the item itself when nothing in it needs converting.
    QString item(const QString &text)
    {
        static const QRegularExpression star(QStringLiteral("^\\*$"));
        static const QRegularExpression tableStar(QStringLiteral("^(%1)\\s*\\.\\s*\\*$").arg(identifierPattern));
        static const QRegularExpression column(
            QStringLiteral("^(?:(%1)\\s*\\.\\s*)?(%1)(?:\\s+(?:[Aa][Ss]\\s+)?(%1))?$").arg(identifierPattern));
        if (star.match(text).hasMatch()) {
            QStringList parts;
            bool converted = false;
            for (const TableRef &table : m_tables)
                parts << expand(table, m_tables.size() > 1, &converted);
            return converted ? parts.join(QStringLiteral(", ")) : text;
        }
        QRegularExpressionMatch m = tableStar.match(text);
        if (m.hasMatch()) {
            const TableRef *table = find(m.captured(1));
            bool converted = false;
            const QString expanded = table ? expand(*table, true, &converted) : QString();
            return converted ? expanded : text;
        }
        m = column.match(text);
        if (!m.hasMatch())
            return text;
        const QString qualifier = m.captured(1);
        const QString name = catalogueName(m.captured(2));
        for (const TableRef &table : m_tables) {
            if (!qualifier.isEmpty() && find(qualifier) != &table)
                continue;
            for (const FirebirdColumn &c : table.columns) {
                if (c.name != name)
                    continue;
                const QString ref =
                    qualifier.isEmpty() ? quotedName(c.name) : qualifier + QLatin1Char('.') + quotedName(c.name);
                const QString alias = m.captured(3).isEmpty() ? quotedName(c.name) : m.captured(3);
                bool converted = false;
                const QString rendered = render(c, ref, alias, &converted);
                return converted ? rendered : text;
            }
        }
        return text;
    }

    QSet<QString> decimals;

private:
    const TableRef *find(const QString &qualifier) const
    {
        for (const TableRef &table : m_tables) {
            if (catalogueName(table.qualifier) == catalogueName(qualifier))
                return &table;
        }
        return nullptr;
    }

    QString expand(const TableRef &table, bool qualify, bool *converted)
    {
        QStringList parts;
        for (const FirebirdColumn &c : table.columns) {
            const QString ref = qualify ? table.qualifier + QLatin1Char('.') + quotedName(c.name) : quotedName(c.name);
            parts << render(c, ref, quotedName(c.name), converted);
        }
        return parts.join(QStringLiteral(", "));
    }

    QString render(const FirebirdColumn &c, const QString &ref, const QString &alias, bool *converted)
    {
        switch (conversionOf(c, m_noneCharset)) {
        case Conversion::Text:
            *converted = true;
            return Statement(QStringLiteral("CAST({} AS VARCHAR({}) CHARACTER SET {}) AS {}"))
                .part(ref)
                .integer(qMax(1, c.charLength))
                .part(targetCharset(c, m_noneCharset))
                .part(alias);
        case Conversion::Decimal:
            *converted = true;
            decimals.insert(catalogueName(alias).toLower());
            return Statement(QStringLiteral("CAST({} AS VARCHAR(32)) AS {}")).part(ref).part(alias);
        case Conversion::None:
            break;
        }
        return ref;
    }

    QList<TableRef> &m_tables;
    QString m_noneCharset;
};

} // namespace

FirebirdReadPlan firebirdReadPlan(const QString &sql, const FirebirdColumnsOf &columnsOf, const QString &noneCharset)
{
    FirebirdReadPlan plan{sql, {}};
    static const QRegularExpression head(
        QStringLiteral("^\\s*SELECT\\s+((?:DISTINCT\\s+|ALL\\s+|FIRST\\s+\\d+\\s+|SKIP\\s+\\d+\\s+)*)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = head.match(sql);
    if (!m.hasMatch())
        return plan;
    const QVector<bool> top = topLevel(sql);
    const qsizetype listStart = m.capturedEnd(0);
    const qsizetype fromAt = findKeyword(sql, top, QLatin1StringView("FROM"), listStart);
    if (fromAt < 0)
        return plan;
    qsizetype fromEnd = sql.size();
    for (const char *word : {"WHERE", "GROUP", "HAVING", "ORDER", "UNION", "ROWS", "PLAN", "FOR"}) {
        const qsizetype at = findKeyword(sql, top, QLatin1StringView(word), fromAt + 4);
        if (at >= 0 && at < fromEnd)
            fromEnd = at;
    }
    QList<TableRef> tables;
    if (!parseTables(sql.mid(fromAt + 4, fromEnd - fromAt - 4), &tables))
        return plan;
    for (TableRef &table : tables)
        table.columns = columnsOf(table.name);

    PlanBuilder builder(tables, noneCharset);
    QStringList items;
    bool changed = false;
    for (const QString &item : splitTopLevel(sql.mid(listStart, fromAt - listStart))) {
        const QString rewritten = builder.item(item);
        changed = changed || rewritten != item;
        items << rewritten;
    }
    if (!changed)
        return plan;
    plan.sql = sql.left(listStart) + items.join(QStringLiteral(", ")) + QLatin1Char(' ') + sql.mid(fromAt);
    plan.decimalColumns = builder.decimals;
    return plan;
}

QList<FirebirdColumn> readFirebirdColumns(QSqlDatabase db, const QString &table)
{
    QList<FirebirdColumn> columns;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    QString defaultCharset = QStringLiteral("NONE");
    if (query.exec(QStringLiteral("SELECT TRIM(RDB$CHARACTER_SET_NAME) FROM RDB$DATABASE")) && query.next()
        && !query.value(0).isNull())
        defaultCharset = query.value(0).toString().trimmed();
    query.prepare(
        QStringLiteral("SELECT TRIM(RF.RDB$FIELD_NAME), F.RDB$FIELD_TYPE, COALESCE(F.RDB$FIELD_SCALE, 0),"
                       " COALESCE(F.RDB$CHARACTER_LENGTH, F.RDB$FIELD_LENGTH, 0), TRIM(CS.RDB$CHARACTER_SET_NAME)"
                       " FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE"
                       " LEFT JOIN RDB$CHARACTER_SETS CS ON CS.RDB$CHARACTER_SET_ID = F.RDB$CHARACTER_SET_ID"
                       " WHERE RF.RDB$RELATION_NAME = ? ORDER BY RF.RDB$FIELD_POSITION"));
    query.addBindValue(table);
    if (!query.exec())
        return columns;
    while (query.next()) {
        FirebirdColumn c;
        c.name = query.value(0).toString().trimmed();
        c.fieldType = query.value(1).toInt();
        c.scale = query.value(2).toInt();
        c.charLength = query.value(3).toInt();
        c.charset = query.value(4).isNull() ? defaultCharset : query.value(4).toString().trimmed();
        columns << c;
    }
    return columns;
}

QVariant firebirdDecimal(const QVariant &value)
{
    if (value.isNull() || value.typeId() != QMetaType::QString)
        return value;
    QString text = value.toString().trimmed();
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    bool ok = false;
    const double number = QLocale::c().toDouble(text, &ok);
    if (ok && plainNumber(number) == text)
        return number;
    return text;
}
