#include "services/dialect.h"

#include <QRegularExpression>

namespace {

// Rewrites [name] outside string literals with the engine's quoting.
QString requoteBrackets(const QString &sql, bool lowerCase)
{
    if (!sql.contains(QLatin1Char('[')))
        return sql;
    QString out;
    out.reserve(sql.size());
    bool inLiteral = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'')) {
            inLiteral = !inLiteral;
            out += c;
            continue;
        }
        if (!inLiteral && c == QLatin1Char('[')) {
            const qsizetype close = sql.indexOf(QLatin1Char(']'), i + 1);
            if (close > i) {
                const QString name = sql.mid(i + 1, close - i - 1);
                out += QLatin1Char('"') + (lowerCase ? name.toLower() : name.toUpper()) + QLatin1Char('"');
                i = close;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// Whether the statement may start with SELECT TOP: the pattern below is
// matched only then (almost every statement has no TOP). TOP is looked for
// only where the pattern can have it: after SELECT and the characters that
// can be blanks (anything but an ASCII letter or digit).
bool mayHaveTop(const QString &sql)
{
    qsizetype i = 0;
    while (i < sql.size() && sql.at(i).isSpace())
        ++i;
    if (sql.size() - i <= 10 || QStringView(sql).mid(i, 6).compare(QLatin1String("SELECT"), Qt::CaseInsensitive) != 0)
        return false;
    i += 6;
    while (i < sql.size()) {
        const char16_t c = sql.at(i).unicode();
        if ((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
            break;
        ++i;
    }
    return QStringView(sql).mid(i, 3).compare(QLatin1String("TOP"), Qt::CaseInsensitive) == 0;
}

QString rewriteTop(const QString &sql, SqlDialect dialect)
{
    if (!mayHaveTop(sql))
        return sql;
    static const QRegularExpression top(QStringLiteral("^(\\s*SELECT\\s+)TOP\\s+(\\d+)\\s+"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = top.match(sql);
    if (!m.hasMatch())
        return sql;
    const QString rest = sql.mid(m.capturedEnd(0));
    if (dialect == SqlDialect::Firebird)
        return m.captured(1) + QStringLiteral("FIRST ") + m.captured(2) + QLatin1Char(' ') + rest;
    return m.captured(1) + rest + QStringLiteral(" LIMIT ") + m.captured(2);
}

// Where the statement's own ORDER BY starts (outside literals and
// parentheses); -1 when it has none.
qsizetype orderByAt(const QString &sql)
{
    static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    qsizetype found = -1;
    auto it = orderBy.globalMatch(sql);
    while (it.hasNext()) {
        const qsizetype at = it.next().capturedStart(0);
        int depth = 0;
        bool inLiteral = false;
        for (qsizetype i = 0; i < at; ++i) {
            const QChar c = sql.at(i);
            if (c == QLatin1Char('\''))
                inLiteral = !inLiteral;
            else if (!inLiteral && c == QLatin1Char('('))
                ++depth;
            else if (!inLiteral && c == QLatin1Char(')'))
                --depth;
        }
        if (!inLiteral && depth == 0)
            found = at;
    }
    return found;
}

// The InterBase-family engine rejects an ORDER BY on a one-row aggregate
// (SELECT COUNT(*) ... ORDER BY col) that other engines ignore: it goes.
QString dropAggregateOrder(const QString &sql)
{
    static const QRegularExpression aggregate(QStringLiteral("^\\s*SELECT\\s+(COUNT|SUM|MIN|MAX|AVG)\\s*\\("),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression groupBy(QStringLiteral("\\bGROUP\\s+BY\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (!aggregate.match(sql).hasMatch() || groupBy.match(sql).hasMatch())
        return sql;
    const qsizetype at = orderByAt(sql);
    return at < 0 ? sql : sql.left(at).trimmed();
}

} // namespace

QString adaptStatement(const QString &sql, SqlDialect dialect)
{
    switch (dialect) {
    case SqlDialect::SqlServer:
        return sql;
    case SqlDialect::Sqlite:
        return rewriteTop(sql, dialect);
    case SqlDialect::PostgreSql:
        return requoteBrackets(rewriteTop(sql, dialect), true);
    case SqlDialect::Firebird:
        return dropAggregateOrder(requoteBrackets(rewriteTop(sql, dialect), false));
    }
    return sql;
}

TransactionVerb transactionVerb(const QString &sql)
{
    // Every verb starts with B, C or R: other statements need no copy.
    qsizetype i = 0;
    while (i < sql.size() && sql.at(i).isSpace())
        ++i;
    const QChar first = i < sql.size() ? sql.at(i).toUpper() : QChar();
    if (first != QLatin1Char('B') && first != QLatin1Char('C') && first != QLatin1Char('R'))
        return TransactionVerb::None;
    const QString s = sql.simplified().toUpper();
    if (s == QLatin1String("BEGIN TRANSACTION"))
        return TransactionVerb::Begin;
    if (s == QLatin1String("COMMIT TRANSACTION"))
        return TransactionVerb::Commit;
    if (s == QLatin1String("ROLLBACK TRANSACTION"))
        return TransactionVerb::Rollback;
    return TransactionVerb::None;
}
