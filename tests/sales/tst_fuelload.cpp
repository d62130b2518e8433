// Natural-gas fuel loads: the split of a load's total, the shift from its
// hour, the journal entry and the single gas movement written for it, and
// the gas article and sales account read once per step.

#include "sales/fuelload.h"
#include "salesfixture.h"

#include <QDateTime>
#include <QTest>

using namespace salestest;

namespace {

QStringList linesOf(RunFixture &f, const QString &origin)
{
    QStringList lines;
    for (const QVariantMap &row :
         f.orvaRows("SELECT * FROM MV_ASIENTOS WHERE CPTE_ORIGEN = '" + origin + "' ORDER BY SECUENCIA"))
        lines << row.value("CUENTA").toString() + "|" + row.value("DEBE-HABER").toString() + "|"
                + row.value("IMPORTE").toString();
    return lines;
}

} // namespace

class TstFuelLoad : public QObject
{
    Q_OBJECT

private slots:
    void amounts_data();
    void amounts();
    void shift_data();
    void shift();
    void loadEntryAndMovement();
    void loadLines_data();
    void loadLines();
    void unknownGasArticle();
    void failingMovementIsLostAlone();
    void lookupsOncePerStep();
};

void TstFuelLoad::amounts_data()
{
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("volume");
    QTest::addColumn<double>("fixedTax");
    QTest::addColumn<double>("ivaRate");
    QTest::addColumn<QString>("nonTaxed");
    QTest::addColumn<QString>("netTaxed");
    QTest::addColumn<QString>("vat");

    QTest::newRow("worked example") << 10.0 << 10.0 << 0.05 << 21.0 << "0.5"
                                    << "7.8512"
                                    << "1.6488";
    QTest::newRow("station load") << 8623.75 << 12.5 << 18.45 << 21.0 << "230.625"
                                  << "6936.467"
                                  << "1456.658";
    QTest::newRow("IVA 0") << 100.0 << 10.0 << 2.0 << 0.0 << "20"
                           << "80"
                           << "0";
    QTest::newRow("all fixed tax") << 9.225 << 0.5 << 18.45 << 21.0 << "9.225"
                                   << "0"
                                   << "0";
}

void TstFuelLoad::amounts()
{
    QFETCH(double, total);
    QFETCH(double, volume);
    QFETCH(double, fixedTax);
    QFETCH(double, ivaRate);
    const LoadAmounts parts = loadAmounts(Currency::fromDouble(total), volume, fixedTax, ivaRate);
    QTEST(parts.nonTaxed.toText(), "nonTaxed");
    QTEST(parts.netTaxed.toText(), "netTaxed");
    QTEST(parts.vat.toText(), "vat");
    QCOMPARE(parts.nonTaxed + parts.netTaxed + parts.vat, Currency::fromDouble(total));
}

void TstFuelLoad::shift_data()
{
    QTest::addColumn<QVariant>("hora");
    QTest::addColumn<QString>("shift");
    const QDate day(2026, 3, 2);
    const struct
    {
        const char *time;
        const char *shift;
    } boundaries[] = {{"05:59:59", "   7"}, {"06:00:00", "   5"}, {"13:59:59", "   5"}, {"14:00:00", "   6"},
                      {"21:59:59", "   6"}, {"22:00:00", "   7"}, {"23:59:59", "   7"}, {"00:00:00", "   7"}};
    for (const auto &b : boundaries) {
        // As SQLite gives it (text) and as the InterBase-family driver does.
        QTest::addRow("text %s", b.time) << QVariant(QStringLiteral("2026-03-02 ") + b.time) << QString(b.shift);
        QTest::addRow("timestamp %s", b.time)
            << QVariant(QDateTime(day, QTime::fromString(b.time, "HH:mm:ss"))) << QString(b.shift);
    }
    QTest::newRow("date only") << QVariant(QStringLiteral("2026-03-02")) << "   7";
    QTest::newRow("null") << QVariant(QMetaType(QMetaType::QString)) << "   7";
    QTest::newRow("time of day only") << QVariant(QTime(14, 0)) << "   6";
}

void TstFuelLoad::shift()
{
    QFETCH(QVariant, hora);
    QTEST(ObtieneTurnoCarga(hora), "shift");
}

void TstFuelLoad::loadEntryAndMovement()
{
    RunFixture f(orvaBase(),
                 load("1001, '2026-03-02', 3, 80211, 10, 10, 0.05, 21, 12345, '2026-03-02 14:00:00', "
                      "689.9"));
    QVERIFY(runSales(f));
    const QString origin = QStringLiteral("000300080211B");
    QCOMPARE(linesOf(f, origin),
             (QStringList{"1120002345|D|10", "4110101|H|7.8512", "4110101|H|0.5", "2110103|H|1.6488"}));
    const QVariantMap first = f.orvaRows("SELECT * FROM MV_ASIENTOS WHERE SECUENCIA = 1").first();
    const QVariantMap expected{
        {"FECHA", "2026-03-02"},
        {"NUMERO ASIENTO", "1001"},
        {"TC", "FA"},
        {"SUCURSAL", "0003"},
        {"NUMERO", "00080211"},
        {"LETRA", "B"},
        {"DETALLE", "*KTZ*FA 000300080211B"},
        {"IDCAJAS", "   6"},
        {"CABCUENTA", "1120002345"},
        {"CABNOMBRE", "CONSUMIDOR FINAL"},
        {"CABCUIT", "0"},
        {"LIVA_TOTAL", "10"},
        {"LIVA_IMPNETONGRAV", "0.5"},
        {"LIVA_IMPNETOGRAV", "7.8512"},
        {"LIVA_IMPIVA", "1.6488"},
        {"LIVA_ALICIVA", "21"},
        {"CABCONDIVA", "   3"},
        {"LIVA_TIPO", "Ventas"},
    };
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(first.value(it.key()).toString(), it.value().toString());
    QCOMPARE(f.orvaValue("SELECT DESCRIPCION FROM MA_CUENTAS WHERE CODIGO = '1120002345'").toString(),
             QStringLiteral("CONSUMIDOR FINAL"));

    const QList<QVariantMap> stock = f.orvaRows("SELECT * FROM V_MV_STOCK");
    QCOMPARE(stock.size(), 1);
    const QVariantMap movement{
        {"IDARTICULO", QString(22, ' ') + "1-1"},
        {"DESCRIPCION", "GNC - GAS NATURAL COMPRIMIDO"},
        {"IDUNIDAD", "  M3"},
        {"CANTIDAD", "-10"},
        {"PRECIOVENTA", "689.9"},
        {"SECUENCIA", "1"},
        {"TC", "FA"},
        {"IDCOMPROBANTE", origin},
        {"IDCOMPLEMENTO", "1001"},
    };
    // Nothing else: no date, deposit, currency, taxes.
    for (auto it = stock.first().cbegin(); it != stock.first().cend(); ++it) {
        if (movement.contains(it.key()))
            QCOMPARE(it.value().toString(), movement.value(it.key()).toString());
        else
            QVERIFY2(it.value().isNull(), qPrintable(it.key()));
    }
}

void TstFuelLoad::loadLines_data()
{
    QTest::addColumn<QString>("values"); // IMP_CARGA, VOL_CARGA, N_ITC, N_IVA
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("quantity");
    const QString d = QStringLiteral("1120000001|D|");
    QTest::newRow("IVA 0: no IVA line") << "100, 10, 2, 0" << QStringList{d + "100", "4110101|H|80", "4110101|H|20"}
                                        << "-10";
    QTest::newRow("all fixed tax: debit and non-taxed only")
        << "9.225, 0.5, 18.45, 21" << QStringList{d + "9.225", "4110101|H|9.225"} << "-0.5";
    QTest::newRow("fractional volume") << "10, 12.5, 0, 21"
                                       << QStringList{d + "10", "4110101|H|8.2645", "2110103|H|1.7355"} << "-12.5";
    QTest::newRow("returned volume kept")
        << "10, -2, 0, 21" << QStringList{d + "10", "4110101|H|8.2645", "2110103|H|1.7355"} << "-2";
}

void TstFuelLoad::loadLines()
{
    QFETCH(QString, values);
    QFETCH(QStringList, lines);
    QFETCH(QString, quantity);
    RunFixture f(orvaBase(), load("7, '2026-03-02', 3, 80211, " + values + ", 1, '2026-03-02 10:00:00', 689.9"));
    QVERIFY(runSales(f));
    QCOMPARE(linesOf(f, "000300080211B"), lines);
    QCOMPARE(f.orvaValue("SELECT CANTIDAD FROM V_MV_STOCK").toString(), quantity);
    QVERIFY(f.op.errorsSeen.isEmpty());
}

void TstFuelLoad::unknownGasArticle()
{
    RunFixture f(orvaBase(), simpleLoad(7, "2026-03-02", 80211));
    f.execOrva("DELETE FROM V_MA_ARTICULOS");
    QVERIFY(runSales(f));
    const QVariantMap m = f.orvaRows("SELECT * FROM V_MV_STOCK").first();
    QCOMPARE(m.value("IDARTICULO").toString(), QString(22, ' ') + "1-1");
    QCOMPARE(m.value("DESCRIPCION").toString(), QString());
    QCOMPARE(m.value("IDUNIDAD").toString(), QString());
}

void TstFuelLoad::failingMovementIsLostAlone()
{
    RunFixture f(orvaBase(), load("7, '2026-03-02', 3, 80211, 10, 10, 0.05, 21, 1, '2026-03-02 10:00:00', 'caro'"));
    QVERIFY(runSales(f));
    QCOMPARE(count(f, "SELECT COUNT(*) FROM V_MV_STOCK"), 0);
    QCOMPARE(linesOf(f, "000300080211B").size(), 4);
    QVERIFY(f.op.errorsSeen.isEmpty());
    QCOMPARE(f.context.LastSalesDate, QStringLiteral("2026-03-02"));
}

void TstFuelLoad::lookupsOncePerStep()
{
    RunFixture f(orvaBase(), simpleLoad(7, "2026-03-02", 80211) + simpleLoad(8, "2026-03-03", 80212));
    int yields = 0;
    f.context.onYield = [&] {
        // Changed in Orva while the first load is being transferred.
        if (++yields == 1)
            f.execOrva("UPDATE V_MA_ARTICULOS SET DESCRIPCION = 'OTRO', IDUNIDAD = '  XX';"
                       "UPDATE V_TA_INPUT_VENTAS SET REPUESTOS = '999'");
    };
    QVERIFY(runSales(f));
    QCOMPARE(count(f,
                   "SELECT COUNT(*) FROM V_MV_STOCK WHERE DESCRIPCION = 'GNC - GAS NATURAL COMPRIMIDO' "
                   "AND IDUNIDAD = '  M3'"),
             2);
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MV_ASIENTOS WHERE CUENTA = '4110101'"), 4);
}

QTEST_GUILESS_MAIN(TstFuelLoad)
#include "tst_fuelload.moc"
