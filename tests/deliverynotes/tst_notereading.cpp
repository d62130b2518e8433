// Reading KTZ delivery notes and lines, and the statements that write them.

#include "deliverynotes/deliverynote.h"
#include "deliverynotes/notewriter.h"
#include "notefixture.h"
#include "support/fixtures.h"

#include <QTest>

class TstNoteReading : public QObject
{
    Q_OBJECT

private slots:
    void noteHeader_data();
    void noteHeader();
    void noteLine_data();
    void noteLine();
    void insertStatements();
};

void TstNoteReading::noteHeader_data()
{
    QTest::addColumn<int>("pointOfSale");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("SucNroLetra");
    QTest::addColumn<bool>("exempt");

    QTest::newRow("R 3-125") << 3 << "'RI'"
                             << "000300000125R" << false;
    QTest::newRow("EX is exempt") << 3 << "'EX'"
                                  << "000300000125R" << true;
    QTest::newRow("ex is exempt") << 3 << "'ex'"
                                  << "000300000125R" << true;
    QTest::newRow("Ex is exempt") << 3 << "'Ex'"
                                  << "000300000125R" << true;
    QTest::newRow("EX with a trailing blank is not") << 3 << "'EX '"
                                                     << "000300000125R" << false;
    QTest::newRow("CF is not") << 3 << "'CF'"
                               << "000300000125R" << false;
    QTest::newRow("Null is not") << 3 << "NULL"
                                 << "000300000125R" << false;
    QTest::newRow("five-digit point of sale keeps its digits") << 12345 << "'RI'"
                                                               << "1234500000125R" << false;
}

void TstNoteReading::noteHeader()
{
    QFETCH(int, pointOfSale);
    QFETCH(QString, condition);
    QFETCH(QString, SucNroLetra);
    QFETCH(bool, exempt);
    RunFixture f(orvaSetup(), noteRow(7, QStringLiteral("2026-03-02"), pointOfSale, 125, condition));
    Recordset row = f.context.source.OpenRecordset(QStringLiteral("SELECT * FROM FAC_OUT"));
    DeliveryNote note;
    note.exempt = !exempt; // a previous note's flag must not survive
    LeeRemito(f.context, row, note);
    QCOMPARE(note.SucNroLetra, SucNroLetra);
    QCOMPARE(note.exempt, exempt);
    QCOMPARE(note.voucherType, QStringLiteral("RM"));
    QCOMPARE(note.complement, QStringLiteral("0"));
    QCOMPARE(note.date, QStringLiteral("2026-03-02"));
    QCOMPARE(note.account, QStringLiteral("1120000027"));
    QCOMPARE(note.customerName, QStringLiteral("Transportes D'Onofrio"));
    QCOMPARE(note.total.toText(), QStringLiteral("373"));
    QCOMPARE(note.netTaxed.toText(), QStringLiteral("300"));
    QCOMPARE(note.nonTaxed.toText(), QStringLiteral("10"));
    QCOMPARE(note.vat.toText(), QStringLiteral("63"));
    QVERIFY(f.op.errorsSeen.isEmpty());
}

void TstNoteReading::noteLine_data()
{
    // Values as SQL literals, so that a Null or a text can stand in a number column.
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("internalTaxes");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("net");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("unitPrice");
    QTest::addColumn<QString>("lineTotal");
    QTest::addColumn<QString>("failingColumn");

    QTest::newRow("121 at 21%") << "121"
                                << "0"
                                << "21"
                                << "200"
                                << "'LT'"
                                << "2"
                                << "100"
                                << "200"
                                << "";
    QTest::newRow("131 with 10 of taxes at 21%") << "131"
                                                 << "10"
                                                 << "21"
                                                 << "100"
                                                 << "'UN'"
                                                 << "1"
                                                 << "100"
                                                 << "110"
                                                 << "";
    QTest::newRow("rate 0: price less taxes") << "50"
                                              << "5"
                                              << "0"
                                              << "45"
                                              << "'UN'"
                                              << "1"
                                              << "45"
                                              << "50"
                                              << "";
    QTest::newRow("rounded to four decimals") << "100"
                                              << "0"
                                              << "21"
                                              << "82.64"
                                              << "'UN'"
                                              << "1"
                                              << "82.6446"
                                              << "82.64"
                                              << "";
    QTest::newRow("price that is no number counts 0") << "'x'"
                                                      << "0"
                                                      << "21"
                                                      << "0"
                                                      << "'UN'"
                                                      << "1"
                                                      << "0"
                                                      << "0"
                                                      << "";
    QTest::newRow("Null unit") << "121"
                               << "0"
                               << "21"
                               << "200"
                               << "NULL"
                               << "2"
                               << ""
                               << ""
                               << "fcout_unid";
    QTest::newRow("quantity that is no number") << "121"
                                                << "0"
                                                << "21"
                                                << "200"
                                                << "'LT'"
                                                << "'dos'"
                                                << ""
                                                << ""
                                                << "fcout_cant";
    QTest::newRow("Null quantity") << "121"
                                   << "0"
                                   << "21"
                                   << "200"
                                   << "'LT'"
                                   << "NULL"
                                   << ""
                                   << ""
                                   << "fcout_cant";
}

void TstNoteReading::noteLine()
{
    QFETCH(QString, price);
    QFETCH(QString, internalTaxes);
    QFETCH(QString, rate);
    QFETCH(QString, net);
    QFETCH(QString, unit);
    QFETCH(QString, quantity);
    QFETCH(QString, unitPrice);
    QFETCH(QString, lineTotal);
    QFETCH(QString, failingColumn);
    RunFixture f(orvaSetup(),
                 QStringLiteral("INSERT INTO PRODUCTO (PROD_ID, PROD_RUB, PROD_IMPINT) VALUES (10, 2, %1);\n"
                                "INSERT INTO FACT_OUT (FCOUT_ID, FCOUT_PROD_ID, FCOUT_RUB, FCOUT_UNID, FCOUT_DESCR, "
                                "FCOUT_CANT, FCOUT_PVENTA, FCOUT_NETO, FCOUT_IVA_PORC, FCOUT_TOTAL) VALUES "
                                "(7, 10, 2, %2, 'ACEITE', %3, %4, %5, %6, 242);")
                     .arg(internalTaxes, unit, quantity, price, net, rate));
    Recordset lines = f.context.source.OpenRecordset(
        QStringLiteral("SELECT FACT_OUT.*, PRODUCTO.PROD_IMPINT FROM FACT_OUT INNER JOIN PRODUCTO ON "
                       "FACT_OUT.FCOUT_PROD_ID = PRODUCTO.PROD_ID WHERE FCOUT_ID = '7'"));
    QVERIFY(lines.hasRows());
    DeliveryNoteLine line;
    try {
        LeeRenglonRemito(lines, line);
        QVERIFY2(failingColumn.isEmpty(), "the line must not be read");
    } catch (const RunTimeError &e) {
        QVERIFY2(!failingColumn.isEmpty(), qPrintable(e.error().description));
        QVERIFY2(e.error().description.contains(failingColumn), qPrintable(e.error().description));
        return;
    }
    QCOMPARE(line.articleKey, QStringLiteral("                     10-2"));
    QCOMPARE(line.description, QStringLiteral("ACEITE"));
    QCOMPARE(line.unitPrice.toText(), unitPrice);
    QCOMPARE(line.lineTotal.toText(), lineTotal);
    QCOMPARE(line.internalTaxes.toText(), internalTaxes);
    QCOMPARE(line.vatRate.toText(), rate);
    QCOMPARE(line.finalTotal.toText(), QStringLiteral("242"));
    QCOMPARE(line.unit.size(), 4);
}

void TstNoteReading::insertStatements()
{
    DeliveryNote note;
    note.voucherType = QStringLiteral("RM");
    note.SucNroLetra = QStringLiteral("000300000125R");
    note.complement = QStringLiteral("0");
    note.date = QStringLiteral("2026-03-02");
    note.account = QStringLiteral("1120000027");
    note.customerName = QStringLiteral("Transportes D'Onofrio");
    note.total = Currency::fromDouble(373);
    note.netTaxed = Currency::fromDouble(300.5);
    note.nonTaxed = Currency::fromDouble(10);
    note.vat = Currency::fromDouble(62.5);
    note.exempt = true;
    QCOMPARE(voucherInsert(note),
             QStringLiteral("INSERT INTO V_MV_CPTE (TC,IDCOMPROBANTE,IDCOMPLEMENTO,FECHA,CUENTA,NOMBRE,IMPORTE,"
                            "IMPORTE_S_IVA,NETOGRAVADO,NETONOGRAVADO,IMPORTEIVA,EXENTOIVAARTICULOS,CLASEPRECIO) "
                            "VALUES ('RM','000300000125R','0','2026-03-02','1120000027','Transportes D''Onofrio',"
                            "373,300.5,300.5,10,62.5,1,2)"));
    DeliveryNoteLine line;
    line.articleKey = QStringLiteral("                     10-2");
    line.description = QStringLiteral("ACEITE D'ORO");
    line.unit = QStringLiteral("  LT");
    line.quantity = Currency::fromDouble(2);
    line.unitPrice = Currency::fromDouble(82.6446);
    line.lineTotal = Currency::fromDouble(200);
    line.vatRate = Currency::fromDouble(21);
    line.finalTotal = Currency::fromDouble(242);
    line.internalTaxes = Currency::fromDouble(0);
    note.exempt = false;
    QCOMPARE(lineInsert(note, line),
             QStringLiteral("INSERT INTO V_MV_CPTEINSUMOS (TC, IDCOMPROBANTE, IDCOMPLEMENTO, IDARTICULO,DESCRIPCION,"
                            "IDUNIDAD,CANTIDAD,IMPORTE,IMPORTE_S_IVA,TOTAL,ALICIVA,TOTALFINAL, IMPUESTOS,EXENTO,"
                            "CLASEPRECIO) VALUES('RM','000300000125R','0','                     10-2','ACEITE D''ORO',"
                            "'  LT',2,82.6446,82.6446,200,21,242,0,0,2)"));
}

QTEST_GUILESS_MAIN(TstNoteReading)
#include "tst_notereading.moc"
