// The layout of the article grid: titles and widths by voucher kind, voucher
// system and configuration flags.

#include "numbering/numbering.h"
#include "stock/clscmncptes.h"
#include "support/fixtures.h"

#include <QTest>

namespace {

// One X of the fixed measure; widths below are in X.
constexpr int X = 120;

const char *VoucherTypes = "INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, SISTEMA, ES) VALUES "
                           "(' AJP', 1, 'STOCK', 'E'), ('DVPE', 1, 'STOCK', 'E'), ('  FA', 1, 'VENTAS', 'S'), "
                           "('  OT', 1, 'VENTAS', 'S'), ('  PR', 1, 'VENTAS', 'S'), (' AJV', 1, 'VENTAS', 'E');";

QString configRows(const QString &pairs)
{
    QString sql;
    for (const QString &pair : pairs.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList kv = pair.split(QLatin1Char('='));
        sql += QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('%1', '%2', 'DATOS');")
                   .arg(kv.value(0), kv.value(1));
    }
    return sql;
}

struct GridUnderTest
{
    explicit GridUnderTest(const QString &config) : f(QString::fromLatin1(VoucherTypes) + configRows(config)) {}
    void layOut(const QString &tc) { engine.InicializaGrids(grid, tc, &editor, &metrics); }

    OrvaFixture f;
    Numbering numbering{f.services, f.session.config};
    ClsCmnCptes engine{f.session, numbering};
    VoucherGrid grid;
    CellEditor editor;
    FixedTextMetrics metrics{X};
};

} // namespace

class TstGridSetup : public QObject
{
    Q_OBJECT

private slots:
    void titlesAndWidths_data();
    void titlesAndWidths();
    void hiddenColumnsCarryTheEngineTitles();
    void articleTitleInProperCase_data();
    void articleTitleInProperCase();
    void previousVoucherIsCleared();
};

void TstGridSetup::titlesAndWidths_data()
{
    QTest::addColumn<QString>("tc");
    QTest::addColumn<QString>("config");
    // "column:title:width in X" separated by "|".
    QTest::addColumn<QString>("expected");

    QTest::newRow("AJP, stock system: no amounts, wider description, unit and quantity")
        << "AJP"
        << ""
        << "0:Código:15|1:Descripción:36|2:Lista:0|3:UD:8|4:Dep.:0|5:Cant.:13|6::0|7::0|8::0|9:Importe:0"
           "|10:Total:0|13::0|36::0|16:AuxNroLote:0|17:AuxNroSerie:0";
    QTest::newRow("AJP with deposit, equivalent units and a lower-case article title")
        << "AJP"
        << "PideDepositoEnCptes=si;ConfirmaUDEquiv=SI;NombreArticulos=artículo"
        << "0:Artículo:15|4:Dep.:4|6:UDEquiv:7|7:Cant. Equiv:9";
    QTest::newRow("kind missing from the voucher table: amounts shown")
        << "AJZ"
        << ""
        << "1:Descripción:29|3:UD:4|5:Cant.:6|9:Importe:11|13:TOTAL:10|36:Impuestos:10";
    QTest::newRow("sales adjustment: amounts, discount and taxes titled")
        << "AJV"
        << ""
        << "1:Descripción:29|8:% Dto.:0|9:Importe:11|10:Total:0|13:TOTAL:10|36:Impuestos:10";
    QTest::newRow("DVPE: lot and serial columns shown") << "DVPE"
                                                        << ""
                                                        << "16:Nro. Lote:12|17:Nro. Serie:13";
    QTest::newRow("PR never shows the deposit") << "PR"
                                                << "PideDepositoEnCptes=SI"
                                                << "4:Dep.:0";
    QTest::newRow("OT hides deposit and, when configured, the amounts")
        << "OT"
        << "PideDepositoEnCptes=SI;NoMostrarImportesEnOT=SI"
        << "4:Dep.:0|1:Descripción:50|9:Importe:0|10:Total:0|13:TOTAL:0";
    QTest::newRow("sales invoice with price list and discount per article")
        << "FA"
        << "V_ListaPreciosPorItemArticulos=SI;V_DescuentoPorArticulos=SI"
        << "0:Código:13|1:Descripción:23|2:Lista:4|8:% Dto.:5";
    QTest::newRow("price list column only for the sales system") << "DVPE"
                                                                 << "V_ListaPreciosPorItemArticulos=SI"
                                                                 << "0:Código:15|2:Lista:0";
}

void TstGridSetup::titlesAndWidths()
{
    QFETCH(QString, tc);
    QFETCH(QString, config);
    QFETCH(QString, expected);
    GridUnderTest t(config);
    t.layOut(tc);
    QCOMPARE(t.grid.Rows(), 2);
    QCOMPARE(t.grid.Cols(), 38);
    for (const QString &item : expected.split(QLatin1Char('|'))) {
        const QStringList parts = item.split(QLatin1Char(':'));
        const int col = parts.at(0).toInt();
        QCOMPARE(t.grid.TextArray(col), parts.at(1));
        QCOMPARE(t.grid.ColWidth(col), parts.at(2).toInt() * X);
    }
    QCOMPARE(t.grid.ColAlignment(0), ColumnAlignment::Left);
    QVERIFY(!t.editor.Visible);
}

void TstGridSetup::hiddenColumnsCarryTheEngineTitles()
{
    GridUnderTest t(QString{});
    t.layOut(QStringLiteral("AJP"));
    const QStringList titles = {"Código",
                                "Descripción",
                                "Lista",
                                "UD",
                                "Dep.",
                                "Cant.",
                                "",
                                "",
                                "",
                                "Importe",
                                "Total",
                                "AuxEsExento",
                                "AuxPrecioSinIVA",
                                "",
                                "AuxPideSerie",
                                "AuxPidelote",
                                "AuxNroLote",
                                "AuxNroSerie",
                                "AuxRestoPorAplicar",
                                "AuxTipoArticulo",
                                "AuxRubroArticulo",
                                "AuxListaConIVA",
                                "AuxPrecioConIVA",
                                "AuxCantidadInsumo",
                                "AuxImporteDescuentoArticulo",
                                "AuxTipoCoeficiente",
                                "AuxCoeficiente",
                                "AuxStockDisponible",
                                "AuxStockMinimo",
                                "AuxTasaIVA",
                                "AuxCpteOrigen",
                                "AuxIdCpteOrigen",
                                "Lote_Origen",
                                "Lote_Aduana",
                                "",
                                "",
                                "",
                                "AuxCodigoPercepcion"};
    for (int col = 0; col < 38; ++col) {
        QCOMPARE(t.grid.TextArray(col), titles.at(col));
        if (col > 5)
            QCOMPARE(t.grid.ColWidth(col), 0);
    }
}

void TstGridSetup::articleTitleInProperCase_data()
{
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("title");
    QTest::newRow("missing") << ""
                             << "Código";
    QTest::newRow("blank") << "NombreArticulos=   "
                           << "Código";
    QTest::newRow("capitals") << "NombreArticulos=CÓDIGO INTERNO"
                              << "Código Interno";
    QTest::newRow("small letters") << "NombreArticulos=nº de artículo"
                                   << "Nº De Artículo";
}

void TstGridSetup::articleTitleInProperCase()
{
    QFETCH(QString, config);
    QFETCH(QString, title);
    GridUnderTest t(config);
    t.layOut(QStringLiteral("AJP"));
    QCOMPARE(t.grid.TextArray(0), title);
}

void TstGridSetup::previousVoucherIsCleared()
{
    GridUnderTest t(QString{});
    t.layOut(QStringLiteral("AJP"));
    t.grid.setRows(5);
    for (int row = 1; row < 5; ++row)
        t.grid.setTextMatrix(row, 0, QStringLiteral("art %1").arg(row));
    t.grid.setTextMatrix(1, 16, QStringLiteral("L1|"));
    t.layOut(QStringLiteral("AJP"));
    QCOMPARE(t.grid.Rows(), 2);
    for (int col = 0; col < 38; ++col)
        QCOMPARE(t.grid.TextMatrix(1, col), QString());
}

QTEST_GUILESS_MAIN(TstGridSetup)
#include "tst_gridsetup.moc"
