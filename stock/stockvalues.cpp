#include "stock/stockvalues.h"
#include "services/statement.h"
#include "services/svcsession.h"
#include "services/svctools.h"

bool isSi(const QString &text)
{
    return sameText(text, QStringLiteral("SI"));
}

QString properCase(const QString &text)
{
    QString result = text.toLower();
    bool wordStart = true;
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (result.at(i).isSpace()) {
            wordStart = true;
            continue;
        }
        if (wordStart)
            result[i] = result.at(i).toUpper();
        wordStart = false;
    }
    return result;
}

QString articleColumn(SvcSession &session, const QString &article, const QString &column)
{
    const QString code = article.trimmed();
    const QString aligned = SvcTools::PadLeft(code, 25);
    // Held for the run: the article step's writes to V_MA_ARTICULOS drop them.
    const QString table = QStringLiteral("V_MA_ARTICULOS");
    const QString value = session.LookupHeldValue(table, table, aligned, column, QStringLiteral("IDARTICULO"));
    if (!value.isEmpty() || aligned == code)
        return value;
    return session.LookupHeldValue(table, table, code, column, QStringLiteral("IDARTICULO"));
}

QString textWithoutQuotes(const QString &text)
{
    return SqlLiteral::text(SvcTools::RemoveText(text.trimmed(), QStringLiteral("'")));
}

QString unitLiteral(const QString &unit)
{
    if (unit.trimmed().isEmpty())
        return SqlLiteral::null();
    return SqlLiteral::code(unit.trimmed(), 4);
}

QString voucherCode(const QString &tc)
{
    return SvcTools::PadLeft(tc.trimmed(), 4);
}
