// The components discharge of an outgoing voucher: composed articles take
// their components out of stock under one internal "PE" voucher, drawing
// from lots in lot order, and the "PE" book's counter moves past it.

#include "services/svctools.h"
#include "stockfixture.h"

#include <QTest>

namespace {

const char *OrvaRows =
    "INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, SISTEMA, Letras, ES, X_SUC_DEFAULT, X_ULTIMO_NRO, X_NRO_DESDE, "
    "X_NRO_HASTA) VALUES ('  RM', 1, 'VENTAS', 'R', 'S', 0, 0, 0, 0), (' AJE', 1, 'STOCK', 'X', 'E', 0, 0, 0, 0), "
    "('  PE', 1, 'STOCK', 'X', 'S', 1, 15, 1, 99999999);\n"
    "INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, COSTO, CUENTAPROVEEDOR) VALUES "
    "('                        P', 'Pack', 500, '2120001'), "
    "('                        K', 'Kit', 90, '2120002'), "
    "('                        S', 'Simple', 10, '2120003'), "
    "('                        C', 'Componente ''C''', 40, '2120009'), "
    "('                       LC', 'Con lotes', 12.5, NULL);\n"
    "INSERT INTO V_MA_INSUMOS (IDARTICULO, IdArticuloInsumo, IdUnidadInsumo, Cantidad) VALUES "
    "('                        P', '                        C', '  UN', 3), "
    "('                        K', '                       LC', '  LT', 2);\n"
    "INSERT INTO STK_SERIES_Y_LOTES (IdArticulo, IDDEPOSITO, NroLote, CANTIDAD) VALUES "
    "('                       LC', '   1', 'L2', 10), ('                       LC', '   1', 'L1', 4), "
    "('                       LC', '   1', 'L0', 0), ('                       LC', '   2', 'LX', 50);\n"
    "INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('DepositoDefault', '1', 'DATOS'), "
    "('MotivoStockDefault', '3', 'DATOS');\n";

const QString Note = QStringLiteral("000100000001R");
const QString PeNumber = QStringLiteral("000100000015X");

// "article:quantity:sequence[:lot]" of the PE movements, codes trimmed.
QString peSummary(const QList<QVariantMap> &rows)
{
    QStringList parts;
    for (const QVariantMap &row : rows) {
        if (row.value(QStringLiteral("TC")).toString() != QLatin1String("  PE"))
            continue;
        QString part = row.value(QStringLiteral("IDARTICULO")).toString().trimmed() + QLatin1Char(':')
            + SvcTools::NumberText(row.value(QStringLiteral("CANTIDAD"))) + QLatin1Char(':')
            + row.value(QStringLiteral("SECUENCIA")).toString();
        const QString lot = row.value(QStringLiteral("NroLote")).toString().trimmed();
        if (!lot.isEmpty())
            part += QLatin1Char(':') + lot;
        parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

struct Discharge : EngineUnderTest
{
    explicit Discharge(const QString &extra = {}) : EngineUnderTest(QString::fromLatin1(OrvaRows) + extra) {}

    // The voucher of lines, out of deposit 1.
    static StockRequest request(const QList<TextLine> &lines, const QString &tc = QStringLiteral("RM"))
    {
        StockRequest request = stockRequest(lines, tc, Note, QStringLiteral("2026-03-05"));
        request.IdDeposito = QStringLiteral("1");
        return request;
    }
    StockResult run(const QList<TextLine> &lines, const QString &tc = QStringLiteral("RM"))
    {
        return engine.ActualizaStock(request(lines, tc));
    }
    int peCounter()
    {
        return f.orvaValue(QStringLiteral("SELECT X_ULTIMO_NRO FROM V_TA_CPTE WHERE CODIGO = '  PE'")).toInt();
    }
};

} // namespace

Q_DECLARE_METATYPE(QList<TextLine>)

class TstComponentsDischarge : public QObject
{
    Q_OBJECT

private slots:
    void componentWithoutLots();
    void lotsDrawnInLotOrder_data();
    void lotsDrawnInLotOrder();
    void composedArticlesShareOnePeVoucher();
    void nothingToDischarge_data();
    void nothingToDischarge();
    void collectOnlyEndsWithTheCounterStatement();
    void databaseMessageKeepsTheCounter();
};

void TstComponentsDischarge::componentWithoutLots()
{
    Discharge t;
    t.run({{"P", "2"}});
    const QList<QVariantMap> rows = t.movements();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).value(QStringLiteral("CANTIDAD")).toInt(), -2);
    const QVariantMap pe = rows.at(1);
    const QList<QPair<const char *, QVariant>> expected = {
        {"TC", "  PE"},
        {"IDCOMPROBANTE", PeNumber},
        {"IDCOMPLEMENTO", 0},
        {"SECUENCIA", 1},
        {"FECHA", "2026-03-05"},
        {"IdCaja", QVariant()},
        {"IDDEPOSITO", "   1"},
        {"IDARTICULO", "                        C"},
        {"DESCRIPCION", "Componente C"},
        {"NroLote", QVariant()},
        {"IDUNIDAD", "  UN"},
        {"CANTIDAD", -6},
        {"CuentaProveedor", "2120001"}, // the voucher's first article's
        {"IdMotivoStock", "   3"},
        {"PRECIOVENTA", 0},
        {"Costo", 40},
        {"Tc_Origen", "RM"},
        {"IdComprobante_Origen", Note},
        {"ControladoPor", "P"},
    };
    for (const auto &[field, value] : expected) {
        const QVariant written = pe.value(QString::fromLatin1(field));
        if (value.isNull())
            QVERIFY2(written.isNull(), field);
        else
            QVERIFY2(written.toString() == value.toString(),
                     qPrintable(QStringLiteral("%1: %2").arg(field, written.toString())));
    }
    QCOMPARE(t.peCounter(), 16);
}

void TstComponentsDischarge::lotsDrawnInLotOrder_data()
{
    QTest::addColumn<QList<TextLine>>("lines");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("deposit");
    // Lots with no stock (L0) and of another deposit (LX) are never drawn from.
    QTest::newRow("need 6") << QList<TextLine>{{"K", "3"}} << "LC:-4:1:L1 LC:-2:2:L2"
                            << "   1";
    QTest::newRow("need 20: the rest without lot")
        << QList<TextLine>{{"K", "10"}} << "LC:-4:1:L1 LC:-10:2:L2 LC:0:3 LC:-6:4"
        << "   1";
    TextLine otherDeposit{"K", "3"};
    otherDeposit.deposit = QStringLiteral("2");
    QTest::newRow("row of another deposit draws from the voucher's lots")
        << QList<TextLine>{otherDeposit} << "LC:-4:1:L1 LC:-2:2:L2"
        << "   2";
}

void TstComponentsDischarge::lotsDrawnInLotOrder()
{
    QFETCH(QList<TextLine>, lines);
    QFETCH(QString, expected);
    QFETCH(QString, deposit);
    Discharge t;
    t.run(lines);
    const QList<QVariantMap> rows = t.movements();
    QCOMPARE(peSummary(rows), expected);
    for (const QVariantMap &row : rows) {
        QCOMPARE(row.value(QStringLiteral("IDDEPOSITO")).toString(), deposit);
        if (row.value(QStringLiteral("TC")).toString() == QLatin1String("  PE"))
            QCOMPARE(row.value(QStringLiteral("NroLote")).toString().size(), 25);
    }
}

void TstComponentsDischarge::composedArticlesShareOnePeVoucher()
{
    Discharge t;
    t.run({{"P", "1"}, {"S", "4"}, {"K", "3"}});
    const QList<QVariantMap> rows = t.movements();
    QCOMPARE(peSummary(rows), QStringLiteral("C:-3:1 LC:-4:2:L1 LC:-2:3:L2"));
    for (const QVariantMap &row : rows) {
        if (row.value(QStringLiteral("TC")).toString() == QLatin1String("  PE"))
            QCOMPARE(row.value(QStringLiteral("IDCOMPROBANTE")).toString(), PeNumber);
    }
    QCOMPARE(t.peCounter(), 16);

    // The next voucher takes the next PE number.
    t.engine.ActualizaStock(stockRequest({{"P", "1"}}, QStringLiteral("RM"), QStringLiteral("000100000002R"),
                                         QStringLiteral("2026-03-05")));
    QCOMPARE(t.f.orvaValue(QStringLiteral("SELECT MAX(IDCOMPROBANTE) FROM V_MV_STOCK WHERE TC = '  PE'")).toString(),
             QStringLiteral("000100000016X"));
    QCOMPARE(t.peCounter(), 17);
}

void TstComponentsDischarge::nothingToDischarge_data()
{
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("tc");
    QTest::addColumn<QList<TextLine>>("lines");
    QTest::addColumn<int>("articleMovements");
    QTest::newRow("components leave at production") << "DescargaInsumosProduccion=SI"
                                                    << "RM" << QList<TextLine>{{"P", "2"}} << 1;
    QTest::newRow("same in small letters") << "DescargaInsumosProduccion=si"
                                           << "RM" << QList<TextLine>{{"P", "2"}, {"K", "1"}} << 2;
    QTest::newRow("no composed article") << ""
                                         << "RM" << QList<TextLine>{{"S", "2"}} << 1;
    QTest::newRow("incoming voucher") << ""
                                      << "AJE" << QList<TextLine>{{"P", "2"}} << 1;
    QTest::newRow("composed row without quantity") << ""
                                                   << "RM" << QList<TextLine>{{"P", "0"}, {"S", "1"}} << 1;
}

void TstComponentsDischarge::nothingToDischarge()
{
    QFETCH(QString, config);
    QFETCH(QString, tc);
    QFETCH(QList<TextLine>, lines);
    QFETCH(int, articleMovements);
    Discharge t(configRows(config));
    t.run(lines, tc);
    QCOMPARE(peSummary(t.movements()), QString());
    QCOMPARE(t.movements().size(), articleMovements);
    QCOMPARE(t.peCounter(), 15);
}

void TstComponentsDischarge::collectOnlyEndsWithTheCounterStatement()
{
    Discharge t;
    StockRequest request = Discharge::request({{"P", "2"}});
    request.GeneraSentenciaSQL = true;
    const QString collected = t.engine.ActualizaStock(request).SQLTemp;
    const QStringList statements = collected.split(QLatin1Char('\r'));
    QCOMPARE(statements.size(), 4);
    QVERIFY(statements.at(1).contains(QStringLiteral("'  RM'")));
    QCOMPARE(insertFields(statements.at(2)).value(QStringLiteral("IdComprobante")), QStringLiteral("'000100000015X'"));
    QCOMPARE(statements.at(3),
             QStringLiteral(" UPDATE V_TA_CPTE SET X_ULTIMO_NRO =  16 WHERE CODIGO = '  PE' AND "
                            "SISTEMA = 'STOCK' AND TALONARIO=1"));
    QCOMPARE(t.movements().size(), 0);
    QCOMPARE(t.peCounter(), 15);
}

void TstComponentsDischarge::databaseMessageKeepsTheCounter()
{
    Discharge t;
    t.f.services.session.connection().executeOrThrow(
        QStringLiteral("CREATE TRIGGER no_pe BEFORE INSERT ON V_MV_STOCK WHEN NEW.TC = '  PE' "
                       "BEGIN SELECT RAISE(ABORT, 'deposito cerrado'); END"));
    const StockResult result = t.run({{"P", "2"}});
    const bool failed = result.HayError;
    QVERIFY(failed);
    // The refused movement is a component of the first line.
    QCOMPARE(result.refusedLine, 0);
    QVERIFY(result.refusal.contains(QStringLiteral("deposito cerrado")));
    QCOMPARE(t.movements().size(), 1);
    QCOMPARE(t.peCounter(), 15);
    QCOMPARE(t.f.op.messages.size(), 1);
    QVERIFY(t.f.op.messages.first().contains(QStringLiteral("deposito cerrado")));
}

QTEST_GUILESS_MAIN(TstComponentsDischarge)
#include "tst_componentsdischarge.moc"
