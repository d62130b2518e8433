#include "services/dialect.h"

#include <QRegularExpression>

namespace {

// Rewrites [name] outside string literals with the engine's quoting.
QString requoteBrackets(const QString &sql, bool lowerCase)
{
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

QString rewriteTop(const QString &sql, SqlDialect dialect)
{
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
        return requoteBrackets(rewriteTop(sql, dialect), false);
    }
    return sql;
}

TransactionVerb transactionVerb(const QString &sql)
{
    const QString s = sql.simplified().toUpper();
    if (s == QLatin1String("BEGIN TRANSACTION"))
        return TransactionVerb::Begin;
    if (s == QLatin1String("COMMIT TRANSACTION"))
        return TransactionVerb::Commit;
    if (s == QLatin1String("ROLLBACK TRANSACTION"))
        return TransactionVerb::Rollback;
    return TransactionVerb::None;
}
