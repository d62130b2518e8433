// Stock movements of invoices on real SQLite files: every column of a line,
// the sign rule of quantities, lines found by branch, number and letter, a
// failing line lost alone with the numbering kept, and the exact selection.

#include "sales/salesstock.h"
#include "salesfixture.h"

#include <QTest>

using namespace salestest;

namespace {

QString workedInvoice()
{
    return invoice(QStringLiteral("1001, '2026-03-02', 5, 1234, 'A', 121, 100, 0, 21, 21, 12, 'C', '1', 'TARDE'"));
}

// Column of the stock rows of the worked invoice, in SECUENCIA order.
QStringList stockColumn(RunFixture &f, const QString &column)
{
    QStringList values;
    for (const QVariantMap &row : f.orvaRows("SELECT " + column
                                             + " AS V FROM V_MV_STOCK WHERE IDCOMPROBANTE = '000500001234A' "
                                               "ORDER BY rowid"))
        values << row.value("V").toString();
    return values;
}

} // namespace

class TstSalesStock : public QObject
{
    Q_OBJECT

private slots:
    void lineColumns();
    void quantitySign_data();
    void quantitySign();
    void failingLineIsLostAlone_data();
    void failingLineIsLostAlone();
    void linesFoundByVoucherNotById();
    void linesQuery_data();
    void linesQuery();
};

void TstSalesStock::lineColumns()
{
    RunFixture f(orvaBase(),
                 workedInvoice()
                     + invoiceLine("1001, 120, 3, 'LT', 'Aceite D''Oro Ñandú', 3, 12500.5, 350, 2108.6777"));
    QVERIFY(runSales(f));
    const QList<QVariantMap> rows = f.orvaRows("SELECT * FROM V_MV_STOCK");
    QCOMPARE(rows.size(), 1);
    const QVariantMap r = rows.first();
    const QVariantMap expected{
        {"IDARTICULO", QString(20, ' ') + "120-3"},
        {"IDUNIDAD", "  LT"},
        {"DESCRIPCION", "Aceite D'Oro Ñandú"},
        {"CANTIDAD", "-3"},
        {"PRECIOVENTA", "12500.5"},
        {"IMPUESTOS", "350"},
        {"IVARI", "2108.6777"},
        {"SECUENCIA", "1"},
        {"ARTMONEDA", "   1"},
        {"TC", "FA"},
        {"IDCOMPROBANTE", "000500001234A"},
        {"IDCOMPLEMENTO", "1001"},
        {"FECHA", "2026-03-02"},
        {"IDDEPOSITO", "   1"},
    };
    for (auto it = r.cbegin(); it != r.cend(); ++it) {
        if (expected.contains(it.key()))
            QCOMPARE(it.value().toString(), expected.value(it.key()).toString());
        else
            QVERIFY2(it.value().isNull(), qPrintable(it.key()));
    }
}

void TstSalesStock::quantitySign_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("stored");
    QTest::newRow("positive") << "3"
                              << "-3";
    QTest::newRow("fraction") << "12.5"
                              << "-12.5";
    QTest::newRow("negative kept") << "-2"
                                   << "-2";
    QTest::newRow("zero") << "0"
                          << "0";
    QTest::newRow("null") << "NULL"
                          << "0";
}

void TstSalesStock::quantitySign()
{
    QFETCH(QString, quantity);
    QFETCH(QString, stored);
    RunFixture f(orvaBase(), workedInvoice() + invoiceLine("1001, 10, 2, 'LT', 'A', " + quantity + ", 1, 0, 0"));
    QVERIFY(runSales(f));
    QCOMPARE(stockColumn(f, "CANTIDAD"), QStringList{stored});
}

void TstSalesStock::failingLineIsLostAlone_data()
{
    QTest::addColumn<QString>("badLine");
    QTest::addColumn<bool>("rejectedByOrva");
    QTest::newRow("price no number") << "1001, 20, 4, 'LT', 'MALO', 1, 'mucho', 0, 0" << false;
    QTest::newRow("quantity no number") << "1001, 20, 4, 'LT', 'MALO', 'dos', 1, 0, 0" << false;
    QTest::newRow("rejected by Orva") << "1001, 20, 4, 'LT', 'MALO', 1, 1, 0, 0" << true;
}

void TstSalesStock::failingLineIsLostAlone()
{
    QFETCH(QString, badLine);
    QFETCH(bool, rejectedByOrva);
    RunFixture f(orvaBase(),
                 workedInvoice() + invoiceLine("1001, 10, 2, 'LT', 'PRIMERA', 1, 1, 0, 0") + invoiceLine(badLine)
                     + invoiceLine("1001, 11, 2, 'UN', 'TERCERA', 1, 1, 0, 0"));
    if (rejectedByOrva)
        queryRows(f.orvaPath,
                  "CREATE TRIGGER reject_line BEFORE INSERT ON V_MV_STOCK WHEN NEW.DESCRIPCION = 'MALO' "
                  "BEGIN SELECT RAISE(ABORT, 'rechazado'); END");
    QVERIFY(runSales(f));
    QCOMPARE(stockColumn(f, "DESCRIPCION"), (QStringList{"PRIMERA", "TERCERA"}));
    QCOMPARE(stockColumn(f, "SECUENCIA"), (QStringList{"1", "3"}));
    // Nobody is asked; the entry is complete and committed.
    QVERIFY(f.op.errorsSeen.isEmpty());
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MV_ASIENTOS"), 3);
    QVERIFY(!f.context.orva().inTransaction());
}

void TstSalesStock::linesFoundByVoucherNotById()
{
    // Two KTZ documents share branch, number and letter: each gets the lines of both.
    RunFixture f(orvaBase(),
                 workedInvoice()
                     + invoice("1002, '2026-03-03', 5, 1234, 'A', 60.5, 50, 0, 10.5, 21, 12, 'C', '1', 'TARDE'")
                     + invoice("1003, '2026-03-03', 5, 1234, 'B', 60.5, 50, 0, 10.5, 21, 12, 'C', '1', 'TARDE'")
                     + invoiceLine("1001, 10, 2, 'LT', 'DE 1001', 1, 1, 0, 0")
                     + invoiceLine("1002, 10, 2, 'LT', 'DE 1002', 1, 1, 0, 0")
                     + invoiceLine("1003, 10, 2, 'LT', 'DE 1003', 1, 1, 0, 0"));
    QVERIFY(runSales(f));
    QCOMPARE(stockColumn(f, "IDCOMPLEMENTO"), (QStringList{"1001", "1002", "1001", "1002"}));
    QCOMPARE(stockColumn(f, "SECUENCIA"), (QStringList{"1", "2", "1", "2"}));
    QCOMPARE(stockColumn(f, "FECHA"), (QStringList{"2026-03-02", "2026-03-03", "2026-03-02", "2026-03-03"}));
    QCOMPARE(count(f, "SELECT COUNT(*) FROM V_MV_STOCK WHERE IDCOMPROBANTE = '000500001234B'"), 1);
}

void TstSalesStock::linesQuery_data()
{
    QTest::addColumn<QString>("branch");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("where");
    QTest::newRow("plain") << "5"
                           << "1234"
                           << "WHERE FAC_OUT.FOUT_PVENTA=' 5' AND FAC_OUT.FOUT_NUM=1234 AND "
                              "FAC_OUT.FOUT_TIPO='A'";
    QTest::newRow("zero-filled")
        << "0005"
        << "00001234"
        << "WHERE FAC_OUT.FOUT_PVENTA=' 5' AND FAC_OUT.FOUT_NUM=1234 AND FAC_OUT.FOUT_TIPO='A'";
    QTest::newRow("negative branch")
        << "-3"
        << "7"
        << "WHERE FAC_OUT.FOUT_PVENTA='-3' AND FAC_OUT.FOUT_NUM=7 AND FAC_OUT.FOUT_TIPO='A'";
    QTest::newRow("no number") << ""
                               << "x"
                               << "WHERE FAC_OUT.FOUT_PVENTA=' 0' AND FAC_OUT.FOUT_NUM=0 AND "
                                  "FAC_OUT.FOUT_TIPO='A'";
}

void TstSalesStock::linesQuery()
{
    QFETCH(QString, branch);
    QFETCH(QString, number);
    QFETCH(QString, where);
    SalesDocument doc;
    doc.branch = branch;
    doc.number = number;
    doc.letter = QStringLiteral("A");
    QCOMPARE(invoiceLinesQuery(doc),
             "SELECT  FAC_OUT.CLI_NAME ,FAC_OUT.FOUT_PVENTA , FAC_OUT.FOUT_NUM , FAC_OUT.FOUT_TIPO,FAC_OUT.FOUT_FECHA,"
             "FACT_OUT.* FROM FACT_OUT INNER JOIN FAC_OUT ON FACT_OUT.FCOUT_ID = FAC_OUT.ID "
                 + where);
}

QTEST_GUILESS_MAIN(TstSalesStock)
#include "tst_salesstock.moc"
