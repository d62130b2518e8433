// The sales step on real SQLite files: which KTZ documents a pass selects and
// in what order, the dates it starts from and reaches, the progress protocol
// and counters, a stop request rolling back the open document, and bad
// source rows going to the operator with the document named.

#include "sales/salesselection.h"
#include "salesfixture.h"

#include <QFile>
#include <QTest>

using namespace salestest;

namespace {

// Invoices and loads around the start dates; ids run against the dates, so
// only the date order puts them in sequence.
QString mixedDocuments()
{
    return simpleInvoice(1, "2026-03-02", 2) + simpleInvoice(2, "2026-03-01", 1, "A")
        + simpleInvoice(3, "2026-03-02", 3, "C") + simpleInvoice(4, "2026-03-02", 4, "R")
        + simpleInvoice(5, "2026-03-03", 0, "A") + simpleInvoice(6, "2026-03-03", -6) + simpleLoad(1, "2026-03-02", 12)
        + simpleLoad(2, "2026-03-01", 11) + simpleLoad(3, "2026-03-03", 0);
}

// "TC origin" of every entry's first line, in the order they were written.
QStringList entriesWritten(RunFixture &f)
{
    QStringList entries;
    for (const QVariantMap &row :
         f.orvaRows("SELECT TC, CPTE_ORIGEN FROM MV_ASIENTOS WHERE SECUENCIA = 1 ORDER BY rowid"))
        entries << row.value("TC").toString() + " " + row.value("CPTE_ORIGEN").toString();
    return entries;
}

// Runs the step expecting the operator's stop; true when it came.
bool runUntilStopped(RunFixture &f)
{
    try {
        runSales(f);
    } catch (const RunCancelled &) {
        return true;
    }
    return false;
}

} // namespace

class TstSalesTransfer : public QObject
{
    Q_OBJECT

private slots:
    void filterTexts_data();
    void filterTexts();
    void selection_data();
    void selection();
    void lastSalesDate_data();
    void lastSalesDate();
    void progressAndCounters();
    void nothingToTransfer();
    void stopRollsBackTheOpenDocument_data();
    void stopRollsBackTheOpenDocument();
    void badSourceRow_data();
    void badSourceRow();
    void failedCommit_data();
    void failedCommit();
};

void TstSalesTransfer::filterTexts_data()
{
    QTest::addColumn<QString>("desde");  // KTZ_FECHADESDE
    QTest::addColumn<QString>("stored"); // KTZ_ULTIMAFECHA, "" for none
    QTest::addColumn<QString>("invoices");
    QTest::addColumn<QString>("loads");

    const QString firstInvoices = "SELECT * FROM FAC_OUT  WHERE (FOUT_TIPO = 'A' OR FOUT_TIPO ='B') AND "
                                  "FOUT_FECHA>= '2026-03-01' AND FOUT_NUM > 0 ORDER BY FOUT_FECHA ASC";
    const QString firstLoads = "SELECT COUNT(*) AS RECORDCOUNT FROM T_CARGAS  WHERE N_COMP > 0 AND "
                               "F_COMP >= '2026-03-01' ORDER BY F_COMP ASC";
    QTest::newRow("first run") << "2026-03-01"
                               << "" << firstInvoices << firstLoads;
    // However the start date was typed, the filters carry YYYY-MM-DD.
    QTest::newRow("first run, day first") << "1/3/2026"
                                          << "" << firstInvoices << firstLoads;
    QTest::newRow("first run, two-digit year") << "01/03/26"
                                               << "" << firstInvoices << firstLoads;
    QTest::newRow("first run, with a time") << "2026-03-01T08:00:00"
                                            << "" << firstInvoices << firstLoads;
    QTest::newRow("first run, year first with slashes") << "2026/3/1"
                                                        << "" << firstInvoices << firstLoads;
    QTest::newRow("later run") << "2026-03-01"
                               << "2026-03-04 18:30:00"
                               << "SELECT * FROM FAC_OUT  WHERE (FOUT_TIPO = 'A' OR FOUT_TIPO = 'B') AND  "
                                  "FOUT_FECHA>='2026-03-04' AND FOUT_NUM > 0 ORDER BY FOUT_FECHA ASC"
                               << "SELECT COUNT(*) AS RECORDCOUNT FROM T_CARGAS  WHERE N_COMP > 0 AND "
                                  "F_COMP >= '2026-03-04' ORDER BY F_COMP ASC";
}

void TstSalesTransfer::filterTexts()
{
    QFETCH(QString, desde);
    QFETCH(QString, stored);
    QFETCH(QString, invoices);
    QFETCH(QString, loads);
    RunFixture f(orvaBase(), QString());
    f.session.GrabaDfg("KTZ_FECHADESDE", desde);
    if (!stored.isEmpty())
        f.session.GrabaDfg("KTZ_ULTIMAFECHA", stored);
    const SalesSelection s = salesSelection(f.context);
    QCOMPARE(s.invoiceStatement(), invoices);
    QCOMPARE(s.loadCountStatement(), loads);
    QCOMPARE(s.invoiceCountStatement(),
             QString(invoices).replace("SELECT * FROM", "SELECT COUNT(*) AS RECORDCOUNT FROM"));
}

void TstSalesTransfer::selection_data()
{
    QTest::addColumn<int>("pass");
    QTest::addColumn<QString>("config"); // key=value;...
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("first run from KTZ_FECHADESDE")
        << 0 << "KTZ_FECHADESDE=2026-03-02" << QStringList{"FA 000500000002B", "FA 000300000012B"};
    QTest::newRow("blank stored date") << 0 << "KTZ_FECHADESDE=2026-03-02;KTZ_ULTIMAFECHA=  "
                                       << QStringList{"FA 000500000002B", "FA 000300000012B"};
    QTest::newRow("stored date selected again")
        << 0 << "KTZ_FECHADESDE=2026-03-02;KTZ_ULTIMAFECHA=2026-03-01"
        << QStringList{"FA 000500000001A", "FA 000500000002B", "FA 000300000011B", "FA 000300000012B"};
    QTest::newRow("stored date with a time") << 0 << "KTZ_FECHADESDE=2026-03-01;KTZ_ULTIMAFECHA=2026-03-02 18:30:00"
                                             << QStringList{"FA 000500000002B", "FA 000300000012B"};
    QTest::newRow("second pass has no date of its own") << 1 << "KTZ_FECHADESDE=2026-03-02;KTZ_ULTIMAFECHA=2026-03-01"
                                                        << QStringList{"FB 000500000002B", "FB 000300000012B"};
    QTest::newRow("second pass from its own date")
        << 1 << "KTZ_FECHADESDE=2026-03-02;KTZ_ULTIMAFECHA2=2026-03-01"
        << QStringList{"FB 000500000001A", "FB 000500000002B", "FB 000300000011B", "FB 000300000012B"};
}

void TstSalesTransfer::selection()
{
    QFETCH(int, pass);
    QFETCH(QString, config);
    QFETCH(QStringList, entries);
    RunFixture f(orvaBase(), mixedDocuments());
    for (const QString &entry : config.split(';'))
        f.session.GrabaDfg(entry.section('=', 0, 0), entry.section('=', 1));
    f.context.SourcePass = pass;
    f.context.KeySuffix = pass == 0 ? QString() : QStringLiteral("2");
    QVERIFY(runSales(f));
    QCOMPARE(entriesWritten(f), entries);
    QCOMPARE(f.context.counters.CantVen, entries.size());
    QVERIFY(f.op.errorsSeen.isEmpty());
}

void TstSalesTransfer::lastSalesDate_data()
{
    QTest::addColumn<QString>("ktz");
    QTest::addColumn<QString>("date");
    QTest::newRow("loads come last") << simpleInvoice(1, "2026-03-04", 1) + simpleLoad(1, "2026-03-02", 5)
            + simpleLoad(2, "2026-03-03", 6)
                                     << "2026-03-03";
    QTest::newRow("invoices only") << simpleInvoice(1, "2026-03-04", 1) + simpleInvoice(2, "2026-03-02", 2)
                                   << "2026-03-04";
    QTest::newRow("nothing") << simpleInvoice(1, "2026-02-27", 1) << "";
}

void TstSalesTransfer::lastSalesDate()
{
    QFETCH(QString, ktz);
    QFETCH(QString, date);
    RunFixture f(orvaBase(), ktz);
    QVERIFY(runSales(f));
    QCOMPARE(f.context.LastSalesDate, date);
    // Read back as a start date by the next run.
    if (!date.isEmpty()) {
        f.session.GrabaDfg("KTZ_ULTIMAFECHA", f.context.LastSalesDate);
        QVERIFY(salesSelection(f.context).loadFilter.endsWith("'" + date + "'"));
    }
}

void TstSalesTransfer::progressAndCounters()
{
    RunFixture f(orvaBase(),
                 simpleInvoice(1, "2026-03-02", 1) + simpleInvoice(2, "2026-03-03", 2)
                     + simpleLoad(1, "2026-03-02", 5));
    QStringList lines;
    int yields = 0;
    f.context.onYield = [&] {
        if (++yields % 2 == 1)
            lines << f.context.progress.line();
    };
    QVERIFY(runSales(f));
    QCOMPARE(yields, 6);
    QCOMPARE(lines,
             (QStringList{"Actualizando 0 de 3 registros", "Actualizando 2 de 3 registros",
                          "Actualizando 3 de 3 registros"}));
    QCOMPARE(f.context.progress.line(), QStringLiteral("Actualizando 4 de 3 registros"));
    QCOMPARE(f.context.progress.state().value, 3.0f);
    QCOMPARE(f.context.progress.status(), QStringLiteral("Actualizando Ventas"));
    QCOMPARE(f.context.counters.CantVen, 3);
    QCOMPARE(f.context.counters.CantVenAct, 3 + 3 + 4);
    QVERIFY(!f.context.orva().inTransaction());
}

void TstSalesTransfer::nothingToTransfer()
{
    RunFixture f(orvaBase(), simpleInvoice(1, "2026-02-27", 1) + simpleLoad(1, "2026-02-28", 5));
    f.context.progress.reset();
    QVERIFY(runSales(f));
    QCOMPARE(f.context.progress.line(), QStringLiteral("Actualizando 1 de 100 registros"));
    QCOMPARE(f.context.progress.state().maximum, 100.0f);
    QCOMPARE(f.context.progress.status(), QStringLiteral("Actualizando Ventas"));
    QCOMPARE(f.context.counters.CantVen, 0);
    QCOMPARE(f.context.counters.CantVenAct, 0);
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MV_ASIENTOS"), 0);
}

void TstSalesTransfer::stopRollsBackTheOpenDocument_data()
{
    QTest::addColumn<int>("stopAtYield");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("first document open") << 2 << QStringList();
    QTest::newRow("before reading the second") << 3 << QStringList{"FA 000500000001B"};
    QTest::newRow("second document open") << 4 << QStringList{"FA 000500000001B"};
}

void TstSalesTransfer::stopRollsBackTheOpenDocument()
{
    QFETCH(int, stopAtYield);
    QFETCH(QStringList, kept);
    // Both invoices are for customers Orva does not know yet.
    RunFixture f(orvaBase(),
                 simpleInvoice(1, "2026-03-02", 1).replace("12, 'Cliente'", "21, 'Uno'")
                     + simpleInvoice(2, "2026-03-03", 2).replace("12, 'Cliente'", "22, 'Dos'")
                     + invoiceLine("1, 10, 2, 'LT', 'ACEITE', 1, 50, 1, 10.5")
                     + invoiceLine("2, 10, 2, 'LT', 'ACEITE', 1, 50, 1, 10.5"));
    int yields = 0;
    f.context.onYield = [&] {
        if (++yields == stopAtYield)
            f.context.PARAR = true;
    };
    QVERIFY(runUntilStopped(f));
    QCOMPARE(yields, kept.isEmpty() ? 2 : 4);
    // The stop unwound the step and undid the open document.
    QVERIFY(!f.context.orva().inTransaction());
    QCOMPARE(entriesWritten(f), kept);
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MV_ASIENTOS WHERE CPTE_ORIGEN = '000500000002B'"), 0);
    QCOMPARE(count(f, "SELECT COUNT(*) FROM V_MV_STOCK WHERE IDCOMPROBANTE = '000500000002B'"), 0);
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MA_CUENTAS WHERE CODIGO = '1120000022'"), 0);
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MA_CUENTAS"), kept.size());
    QCOMPARE(f.context.LastSalesDate, kept.isEmpty() ? QString() : QStringLiteral("2026-03-02"));
}

void TstSalesTransfer::badSourceRow_data()
{
    QTest::addColumn<QString>("ktz");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("column");

    const QString good = QStringLiteral("7, '2026-03-02', 3, 80211, 10, 10, 0.05, 21, 1, '2026-03-02 10:00:00', 689.9");
    auto badLoad = [&](int index, const QString &value) {
        QStringList values = good.split(", ");
        values[index] = value;
        return load(values.join(", "));
    };
    const QString loadRecord = QStringLiteral("carga 7 (tipo 3, número 80211)");
    QTest::newRow("null volume") << badLoad(5, "NULL") << loadRecord << "VOL_CARGA";
    QTest::newRow("null fixed tax") << badLoad(6, "NULL") << loadRecord << "N_ITC";
    QTest::newRow("null IVA rate") << badLoad(7, "NULL") << loadRecord << "N_IVA";
    QTest::newRow("volume no number") << badLoad(5, "'doce'") << loadRecord << "VOL_CARGA";
    QTest::newRow("total no number") << badLoad(4, "'diez'") << loadRecord << "IMP_CARGA";
    QTest::newRow("hour no time") << badLoad(9, "'2026-03-02 a la tarde'") << loadRecord << "Hora";
    QTest::newRow("IVA rate -100") << badLoad(7, "-100") << loadRecord << "IVA";
    QTest::newRow("invoice total no number")
        << invoice("9, '2026-03-02', 5, 44, 'B', 'mucho', 100, 0, 21, 21, 12, 'C', '1', 'TARDE'")
        << "factura 9 (punto de venta 5, número 44, letra B)"
        << "Total";
}

void TstSalesTransfer::badSourceRow()
{
    QFETCH(QString, ktz);
    QFETCH(QString, record);
    QFETCH(QString, column);
    for (int choice : {int(ChoiceAbort), int(ChoiceIgnore)}) {
        RunFixture f(orvaBase(), ktz + simpleLoad(8, "2026-03-03", 80212));
        f.op.errorChoices = {choice};
        const bool finished = runSales(f);
        QCOMPARE(f.op.errorsSeen.size(), 1);
        const RunError &e = f.op.errorsSeen.first();
        QVERIFY2(e.record.contains(record), qPrintable(e.record));
        QVERIFY2(e.description.contains(column), qPrintable(e.description));
        QCOMPARE(e.procedure, QStringLiteral("ActualizaVentas"));
        // The bad document writes nothing, also when the operator goes on.
        QVERIFY(!f.context.orva().inTransaction());
        QCOMPARE(count(f, "SELECT COUNT(*) FROM MV_ASIENTOS WHERE CPTE_ORIGEN <> '000300080212B'"), 0);
        QCOMPARE(count(f, "SELECT COUNT(*) FROM V_MV_STOCK WHERE IDCOMPROBANTE <> '000300080212B'"), 0);
        QCOMPARE(finished, choice == ChoiceIgnore);
        QCOMPARE(count(f, "SELECT COUNT(*) FROM MV_ASIENTOS WHERE CPTE_ORIGEN = '000300080212B'"),
                 choice == ChoiceIgnore ? 4 : 0);
        QCOMPARE(f.context.LastSalesDate, choice == ChoiceIgnore ? QStringLiteral("2026-03-03") : QString());
    }
}

void TstSalesTransfer::failedCommit_data()
{
    QTest::addColumn<QString>("refused"); // the statement of invoice 2 the database refuses
    QTest::addColumn<int>("choice");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QList<int>>("accounting"); // written, left out, failed
    const QString commit = QStringLiteral("COMMIT TRANSACTION");
    QTest::newRow("give up") << commit << int(ChoiceAbort) << QStringList{"FA 000500000001B"} << "2026-03-02"
                             << QList<int>{1, 0, 0};
    // The date stays before the refused invoice: the next run selects it again.
    QTest::newRow("continue") << commit << int(ChoiceIgnore) << QStringList{"FA 000500000001B", "FA 000500000003B"}
                              << "2026-03-02" << QList<int>{2, 0, 1};
    QTest::newRow("retry after the fault is mended")
        << commit << int(ChoiceRetry) << QStringList{"FA 000500000001B", "FA 000500000002B", "FA 000500000003B"}
        << "2026-03-04" << QList<int>{3, 0, 0};
    // Nothing of the invoice was written: it is left out (not a failed
    // commit), with the refused BEGIN as the reason, and the date held.
    QTest::newRow("begin refused, continue")
        << QStringLiteral("BEGIN TRANSACTION") << int(ChoiceIgnore)
        << QStringList{"FA 000500000001B", "FA 000500000003B"} << "2026-03-02" << QList<int>{2, 1, 0};
}

void TstSalesTransfer::failedCommit()
{
    QFETCH(QString, refused);
    QFETCH(int, choice);
    QFETCH(QStringList, entries);
    QFETCH(QString, date);
    QFETCH(QList<int>, accounting);
    // The invoices' customer is new to Orva: its account is part of each document.
    RunFixture f(orvaBase(),
                 simpleInvoice(1, "2026-03-02", 1) + simpleInvoice(2, "2026-03-03", 2)
                     + simpleInvoice(3, "2026-03-04", 3));
    if (refused.startsWith(QLatin1String("COMMIT"))) {
        blockCommitOf(f, QStringLiteral("MV_ASIENTOS"), QStringLiteral("NEW.CPTE_ORIGEN = '000500000002B'"));
    } else {
        refuseWriteAfterYield(f, 2); // invoice 2's BEGIN
    }
    f.op.errorChoices = {choice};
    if (choice == ChoiceRetry)
        f.op.onError = [&](const RunError &) { mendBlockedCommit(f); };
    QCOMPARE(runSales(f), choice != ChoiceAbort);
    QCOMPARE(f.op.errorsSeen.size(), 1);
    QCOMPARE(f.op.errorsSeen.first().statement, refused);
    QVERIFY(f.op.errorsSeen.first().record.contains(QStringLiteral("factura 2")));
    QVERIFY(!f.context.orva().inTransaction());
    QCOMPARE(entriesWritten(f), entries);
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MV_ASIENTOS"), 3 * entries.size());
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MA_CUENTAS"), 1);
    // Only lines that reached Orva are counted as written.
    QCOMPARE(f.context.counters.CantVenAct, 3 * entries.size());
    QCOMPARE(f.context.LastSalesDate, date);
    const KindAccount &sales = f.context.account.kind(TransferKind::Ventas);
    QCOMPARE(QList<int>({int(sales.written), int(sales.leftOut), int(sales.failed)}), accounting);
    for (const RecordProblem &problem : sales.records)
        QVERIFY2(problem.record.contains(QStringLiteral("factura 2")), qPrintable(problem.record));
    if (choice != ChoiceRetry && refused.startsWith(QLatin1String("COMMIT"))) {
        QFile log(f.services.log.path());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(log.readAll()).contains(QStringLiteral("Se deshizo la transacción de factura 2")));
    }
}

QTEST_GUILESS_MAIN(TstSalesTransfer)
#include "tst_salestransfer.moc"
