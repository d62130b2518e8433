// The stock module: the internal voucher's number, the components of a
// composed article, the lots a quantity is drawn from, and code cleaning.

#include "numbering/numbering.h"
#include "stock/stockmodule.h"
#include "support/fixtures.h"

#include <QTest>

namespace {

const char *LotRows = "INSERT INTO STK_SERIES_Y_LOTES (IdArticulo, IDDEPOSITO, NroLote, CANTIDAD) VALUES "
                      "('                       LC', '   1', 'L2', 10), "
                      "('                       LC', '   1', 'L1', 4), "
                      "('                       LC', '   1', 'L0', 0), "
                      "('                       LC', '   1', 'LN', -3), "
                      "('                       LC', '   2', 'LA', 50), "
                      "('                       L3', '   1', 'L1', 4), "
                      "('                       L3', '   1', 'L2', 10), "
                      "('                       L3', '   1', 'L3', 5);";

const char *ComponentRows = "INSERT INTO V_MA_INSUMOS (IDARTICULO, IdArticuloInsumo, IdUnidadInsumo, Cantidad) VALUES "
                            "('                        P', '                        C', '  UN', 3), "
                            "('                        P', '                        D', NULL, 0.5);";

const char *PeBook =
    "INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, SISTEMA, Letras, ES, X_SUC_DEFAULT, X_ULTIMO_NRO, X_NRO_DESDE, "
    "X_NRO_HASTA) VALUES ('  PE', 1, 'STOCK', 'X', 'S', 1, 5, 1, 99999999);";

struct ModuleUnderTest
{
    explicit ModuleUnderTest(const QString &rows = {}) : f(rows) {}
    OrvaFixture f;
    Numbering numbering{f.services, f.session.config};
    Stock stock{f.services, numbering};
};

// "code:quantity" of every entry, codes trimmed.
QString entries(const QList<ArticuloCantidad> &list)
{
    QStringList parts;
    for (const ArticuloCantidad &entry : list)
        parts << entry.code.trimmed() + QLatin1Char(':') + QString::number(entry.quantity);
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TstStockModule : public QObject
{
    Q_OBJECT

private slots:
    void lotsDrawnForANeed_data();
    void lotsDrawnForANeed();
    void lotEntriesAreFixedWidth();
    void componentsOfAComposedArticle();
    void internalNumberMovesPastUsedNumbers_data();
    void internalNumberMovesPastUsedNumbers();
    void cleanedCodes_data();
    void cleanedCodes();
};

void TstStockModule::lotsDrawnForANeed_data()
{
    QTest::addColumn<QString>("article");
    QTest::addColumn<QString>("deposit");
    QTest::addColumn<double>("need");
    QTest::addColumn<bool>("hasLots");
    QTest::addColumn<QString>("drawn");
    // Lots of 0 or below, and those of deposit 2, are never drawn from.
    QTest::newRow("need 6") << "LC"
                            << "'   1'" << 6.0 << true << "L1:4 L2:2";
    QTest::newRow("need 14: closing empty entry") << "LC"
                                                  << "'   1'" << 14.0 << true << "L1:4 L2:10 :0";
    QTest::newRow("need 20: the rest without lot") << "LC"
                                                   << "'   1'" << 20.0 << true << "L1:4 L2:10 :0 :6";
    QTest::newRow("need 14 with a third lot") << "L3"
                                              << "'   1'" << 14.0 << true << "L1:4 L2:10 L3:0";
    QTest::newRow("need within the first lot") << "LC"
                                               << "'   1'" << 2.5 << true << "L1:2.5";
    QTest::newRow("no lots in the deposit") << "LC"
                                            << "'   9'" << 6.0 << false << ":6 :6";
    QTest::newRow("other deposit") << "LC"
                                   << "'   2'" << 6.0 << true << "LA:6";
}

void TstStockModule::lotsDrawnForANeed()
{
    QFETCH(QString, article);
    QFETCH(QString, deposit);
    QFETCH(double, need);
    QFETCH(bool, hasLots);
    QFETCH(QString, drawn);
    ModuleUnderTest t(QString::fromLatin1(LotRows));
    QList<ArticuloCantidad> lots;
    QCOMPARE(t.stock.ArticuloTieneLotes(article, deposit, lots, need), hasLots);
    QCOMPARE(entries(lots), drawn);
}

void TstStockModule::lotEntriesAreFixedWidth()
{
    ModuleUnderTest t(QString::fromLatin1(LotRows));
    QList<ArticuloCantidad> lots;
    QVERIFY(t.stock.ArticuloTieneLotes(QStringLiteral("LC"), QStringLiteral("'   1'"), lots, 20));
    QCOMPARE(lots.first().code, QStringLiteral("L1").leftJustified(25));
    QCOMPARE(lots.last().code, QString(25, QLatin1Char(' ')));
    QCOMPARE(lots.last().unit, QString(4, QLatin1Char(' ')));
}

void TstStockModule::componentsOfAComposedArticle()
{
    ModuleUnderTest t(QString::fromLatin1(ComponentRows));
    QList<ArticuloCantidad> components;
    QVERIFY(t.stock.IdArticuloTieneInsumos(QStringLiteral("  P  "), components, false));
    QCOMPARE(entries(components), QStringLiteral("C:3 D:0.5 :0"));
    QCOMPARE(components.at(0).code, QStringLiteral("                        C"));
    QCOMPARE(components.at(0).unit, QStringLiteral("  UN"));
    QCOMPARE(components.at(1).unit, QStringLiteral("    "));

    QVERIFY(t.stock.IdArticuloTieneInsumos(QStringLiteral("P"), components, true));
    QCOMPARE(entries(components), QStringLiteral(":0"));

    QVERIFY(!t.stock.IdArticuloTieneInsumos(QStringLiteral("C"), components, false));
    QCOMPARE(entries(components), QStringLiteral(":0"));
}

void TstStockModule::internalNumberMovesPastUsedNumbers_data()
{
    QTest::addColumn<QString>("movements");
    QTest::addColumn<QString>("number");
    QTest::newRow("unused proposal stands") << ""
                                            << "000100000005X";
    QTest::newRow("used under the type as given")
        << "('PE', '000100000005X'), ('PE', '000100000009X'), ('PE', '000200000020X'), ('PE', '000100000030A')"
        << "000100000010X";
    QTest::newRow("used under the type as the engine stores it")
        << "('  PE', '000100000005X'), ('  PE', '000100000007X')"
        << "000100000008X";
    QTest::newRow("another type's numbers do not count") << "('  RM', '000100000005X')"
                                                         << "000100000005X";
}

void TstStockModule::internalNumberMovesPastUsedNumbers()
{
    QFETCH(QString, movements);
    QFETCH(QString, number);
    QString rows = QString::fromLatin1(PeBook);
    if (!movements.isEmpty())
        rows += QStringLiteral("INSERT INTO V_MV_STOCK (TC, IDCOMPROBANTE) VALUES ") + movements + QLatin1Char(';');
    ModuleUnderTest t(rows);
    QString branch = QStringLiteral("0001");
    QString letter = QStringLiteral("X");
    QCOMPARE(t.stock.AsignarNumeroComprobante(QStringLiteral("PE"), branch, letter), number);
    QCOMPARE(branch, QStringLiteral("0001"));
    QCOMPARE(letter, QStringLiteral("X"));
}

void TstStockModule::cleanedCodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cleaned");
    QTest::newRow("padded code") << "                     10-2"
                                 << "10-2";
    QTest::newRow("only NUL") << QString(3, QChar(0)) << "";
    QTest::newRow("only blanks") << "     "
                                 << "";
    QTest::newRow("NUL, 255 and line feeds inside") << QString("A") + QChar(0) + "B" + QChar(0xFF) + "\nC  "
                                                    << "ABC";
}

void TstStockModule::cleanedCodes()
{
    QFETCH(QString, text);
    QFETCH(QString, cleaned);
    QCOMPARE(LimpiaTexto(text), cleaned);
}

QTEST_GUILESS_MAIN(TstStockModule)
#include "tst_stockmodule.moc"
