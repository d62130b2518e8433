#pragma once
// The stock engine on an Orva fixture, with hand-built voucher grids and the
// movements it wrote.

#include "numbering/numbering.h"
#include "stock/clscmncptes.h"
#include "support/fixtures.h"

#include <QStringList>

// One data row of a voucher grid: the cells the engine reads most.
struct GridLine
{
    QString article, quantity, unit = QStringLiteral("  UN"), description = QStringLiteral("Artículo");
    QString lots, serials, deposit;
};

// A grid of 38 columns: titles row, one row per line and the trailing empty row.
inline VoucherGrid voucherGrid(const QList<GridLine> &lines)
{
    VoucherGrid grid;
    grid.setCols(VoucherGrid::VoucherColumns);
    grid.setRows(int(lines.size()) + 2);
    for (int i = 0; i < lines.size(); ++i) {
        const GridLine &line = lines.at(i);
        grid.setTextMatrix(i + 1, 0, line.article);
        grid.setTextMatrix(i + 1, 1, line.description);
        grid.setTextMatrix(i + 1, 3, line.unit);
        grid.setTextMatrix(i + 1, 4, line.deposit);
        grid.setTextMatrix(i + 1, 5, line.quantity);
        grid.setTextMatrix(i + 1, 16, line.lots);
        grid.setTextMatrix(i + 1, 17, line.serials);
    }
    return grid;
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
    QList<QVariantMap> movements()
    {
        return f.orvaRows(QStringLiteral("SELECT * FROM V_MV_STOCK ORDER BY rowid"));
    }

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
