#pragma once
// The stock engine on an Orva fixture, with hand-built voucher grids and the
// movements it wrote.

#include "numbering/numbering.h"
#include "services/svctools.h"
#include "stock/clscmncptes.h"
#include "support/fixtures.h"

#include <QStringList>

// One line of a stock request: the fields the engine reads most, quantity
// as text read by the currency rule (a text that is no number reads as 0).
struct TextLine
{
    TextLine(const QString &article = {}, const QString &quantity = {}, const QString &unit = QStringLiteral("  UN"),
             const QString &description = QStringLiteral("Artículo"), const QString &lots = {},
             const QString &serials = {}, const QString &deposit = {})
        : article(article), quantity(quantity), unit(unit), description(description), lots(lots), serials(serials),
          deposit(deposit)
    {}

    QString article, quantity, unit, description;
    QString lots, serials, deposit;
};

inline QList<StockLine> stockLines(const QList<TextLine> &lines)
{
    QList<StockLine> result;
    for (const TextLine &line : lines) {
        StockLine stock(line.article, line.description, line.unit, SvcTools::ToCurrency(line.quantity));
        stock.deposit = line.deposit;
        stock.lots = line.lots;
        stock.serials = line.serials;
        result << stock;
    }
    return result;
}

// The request of voucher tc number with lines, complement "0".
inline StockRequest stockRequest(const QList<TextLine> &lines, const QString &tc, const QString &number,
                                 const QString &date)
{
    StockRequest request;
    request.tc = tc;
    request.SucNroLetra = number;
    request.IdComplemento = QStringLiteral("0");
    request.Fecha = date;
    request.lines = stockLines(lines);
    return request;
}

// Configuration rows "KEY=value;KEY=value".
inline QString configRows(const QString &pairs)
{
    QString sql;
    for (const QString &pair : pairs.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList kv = pair.split(QLatin1Char('='));
        sql += QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('%1', '%2', 'DATOS');\n")
                   .arg(kv.value(0), kv.value(1));
    }
    return sql;
}

struct EngineUnderTest
{
    explicit EngineUnderTest(const QString &rows) : f(rows) {}

    // V_MV_STOCK rows in the order written.
    QList<QVariantMap> movements() { return f.orvaRows(QStringLiteral("SELECT * FROM V_MV_STOCK ORDER BY rowid")); }

    OrvaFixture f;
    Numbering numbering{f.services, f.session.config};
    ClsCmnCptes engine{f.session, numbering};
};

// The "name=value" pairs of a collected insert statement.
inline QMap<QString, QString> insertFields(const QString &statement)
{
    const qsizetype open = statement.indexOf(QLatin1Char('('));
    const qsizetype values = statement.indexOf(QStringLiteral(") VALUES ("));
    const QStringList names = statement.mid(open + 1, values - open - 1).split(QLatin1Char(','));
    QString valueText = statement.mid(values + 10);
    valueText.chop(1);
    const QStringList literals = valueText.split(QLatin1Char(','));
    QMap<QString, QString> fields;
    for (int i = 0; i < names.size(); ++i)
        fields.insert(names.at(i), literals.value(i));
    return fields;
}
