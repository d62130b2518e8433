// The delivery-note step on real SQLite files: selection window, vouchers
// and lines, the "RM" counter, notes Orva already has, bad input and cancel.

#include "deliverynotes/deliverynotetransfer.h"
#include "notefixture.h"
#include "run/rundriver.h"
#include "support/fixtures.h"

#include <QFile>
#include <QTest>

class TstDeliveryNoteStep : public QObject
{
    Q_OBJECT

private slots:
    void writesVouchersLinesAndCounter();
    void dateWindow_data();
    void dateWindow();
    void exemptNotes_data();
    void exemptNotes();
    void noteAlreadyInOrva_data();
    void noteAlreadyInOrva();
    void secondRunChangesNothing();
    void counterCases_data();
    void counterCases();
    void badLine_data();
    void badLine();
    void cancelRollsBackTheOpenNote();
    void failedCommit_data();
    void failedCommit();
    void stockDischarge_data();
    void stockDischarge();
    void linesWithoutArticle_data();
    void linesWithoutArticle();
};

namespace {

// The run as the driver frames the step: its handler and the step's name.
void runStep(RunFixture &f, DeliveryNoteTransfer &step)
{
    ErrorHandling::Scope handler(f.services.errors, QStringLiteral("cmdActualizar_Click"));
    ErrorHandling::Scope named(f.services.errors, QStringLiteral("ActualizaRemitos"), ErrorHandling::Mode::NameOnly);
    step.run(f.context);
}

// The whole run, through the driver, on the fixture's KTZ file.
RunOutcome runDriver(RunFixture &f, DeliveryNoteTransfer &step)
{
    f.execOrva(QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('KTZ_BASEDEDATOS', '%1', "
                              "'DATOS')")
                   .arg(f.ktzPath));
    OneKindFront front(TransferKind::Remitos);
    RunDriver driver(f.context, front, {nullptr, nullptr, nullptr, &step});
    driver.unattended = true;
    return driver.cmdActualizar_Click();
}

QString vouchers(RunFixture &f)
{
    QStringList ids;
    for (const QVariantMap &row : f.orvaRows(QStringLiteral("SELECT IDCOMPROBANTE FROM V_MV_CPTE ORDER BY 1")))
        ids << row.value(QStringLiteral("IDCOMPROBANTE")).toString();
    return ids.join(QLatin1Char(' '));
}

int lineCount(RunFixture &f)
{
    return f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTEINSUMOS")).toInt();
}

QString counters(RunFixture &f)
{
    QStringList all;
    for (const QVariantMap &row :
         f.orvaRows(QStringLiteral("SELECT TALONARIO, R_ULTIMO_NRO FROM V_TA_CPTE ORDER BY TALONARIO")))
        all << row.value(QStringLiteral("TALONARIO")).toString() + QLatin1Char('=')
                + row.value(QStringLiteral("R_ULTIMO_NRO")).toString();
    return all.join(QLatin1Char(' '));
}

QString logText(RunFixture &f)
{
    QFile log(f.dir.filePath(QStringLiteral("traspasor.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

} // namespace

void TstDeliveryNoteStep::writesVouchersLinesAndCounter()
{
    RunFixture f(orvaSetup(),
                 articles() + noteRow(1, QStringLiteral("2026-03-02"), 3, 125) + twoLines(1)
                     + noteRow(2, QStringLiteral("2026-03-03"), 3, 126)
                     // never selected: another letter, number 0, before the window
                     + noteRow(3, QStringLiteral("2026-03-02"), 3, 127, QStringLiteral("'RI'"), QStringLiteral("'A'"))
                     + noteRow(4, QStringLiteral("2026-03-02"), 3, 0)
                     + noteRow(5, QStringLiteral("2026-02-28"), 3, 90));
    DeliveryNoteTransfer step(f.session);
    runStep(f, step);

    QCOMPARE(vouchers(f), QStringLiteral("000300000125R 000300000126R"));
    const QVariantMap voucher =
        f.orvaRows(QStringLiteral("SELECT * FROM V_MV_CPTE WHERE IDCOMPROBANTE = '000300000125R'")).first();
    const QVariantMap expected{
        {QStringLiteral("TC"), QStringLiteral("RM")},
        {QStringLiteral("IDCOMPLEMENTO"), 0},
        {QStringLiteral("FECHA"), QStringLiteral("2026-03-02")},
        {QStringLiteral("CUENTA"), QStringLiteral("1120000027")},
        {QStringLiteral("NOMBRE"), QStringLiteral("Transportes D'Onofrio")},
        {QStringLiteral("IMPORTE"), 373},
        {QStringLiteral("IMPORTE_S_IVA"), 300},
        {QStringLiteral("NETOGRAVADO"), 300},
        {QStringLiteral("NETONOGRAVADO"), 10},
        {QStringLiteral("IMPORTEIVA"), 63},
        {QStringLiteral("EXENTOIVAARTICULOS"), 0},
        {QStringLiteral("CLASEPRECIO"), 2},
    };
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(voucher.value(it.key()).toString(), it.value().toString());

    const QList<QVariantMap> lines = f.orvaRows(QStringLiteral(
        "SELECT IDCOMPROBANTE, IDARTICULO, DESCRIPCION, IDUNIDAD, CANTIDAD, IMPORTE, IMPORTE_S_IVA, TOTAL, ALICIVA, "
        "TOTALFINAL, IMPUESTOS, EXENTO, CLASEPRECIO FROM V_MV_CPTEINSUMOS ORDER BY IDARTICULO"));
    QCOMPARE(lines.size(), 2);
    const QStringList firstLine{"000300000125R",
                                "                     10-2",
                                "ACEITE D'ORO",
                                "  LT",
                                "2",
                                "100",
                                "100",
                                "200",
                                "21",
                                "242",
                                "0",
                                "0",
                                "2"};
    const QStringList secondLine{"000300000125R",
                                 "                     11-2",
                                 "FILTRO",
                                 "  UN",
                                 "1",
                                 "100",
                                 "100",
                                 "110",
                                 "21",
                                 "131",
                                 "10",
                                 "0",
                                 "2"};
    for (const auto &[row, values] : {std::pair{lines[0], firstLine}, std::pair{lines[1], secondLine}}) {
        QStringList got;
        for (const char *column :
             {"IDCOMPROBANTE", "IDARTICULO", "DESCRIPCION", "IDUNIDAD", "CANTIDAD", "IMPORTE", "IMPORTE_S_IVA", "TOTAL",
              "ALICIVA", "TOTALFINAL", "IMPUESTOS", "EXENTO", "CLASEPRECIO"})
            got << row.value(column).toString();
        QCOMPARE(got, values);
    }

    QCOMPARE(counters(f), QStringLiteral("1=127"));
    QCOMPARE(f.context.counters.CantRM, 2);
    QCOMPARE(f.context.counters.CantRMAct, 2);
    QCOMPARE(f.context.LastDeliveryNoteDate, QStringLiteral("2026-03-03"));
    QCOMPARE(f.context.progress.status(), QStringLiteral("Actualizando Remitos"));
    QCOMPARE(f.context.progress.state().maximum, 2.0f);
    QVERIFY(!f.context.orva().inTransaction());
    QVERIFY(f.op.errorsSeen.isEmpty());
    QVERIFY(f.op.messages.isEmpty());
}

void TstDeliveryNoteStep::dateWindow_data()
{
    QTest::addColumn<int>("pass");
    QTest::addColumn<QString>("stored"); // configuration rows
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");

    const QString first = QStringLiteral(" WHERE (FOUT_TIPO = 'R') AND FOUT_FECHA>= '2026-03-01' AND FOUT_NUM > 0");
    const QString later = QStringLiteral(" WHERE (FOUT_TIPO = 'R') AND  FOUT_FECHA>='2026-03-03' AND FOUT_NUM > 0");
    const QString both = QStringLiteral("000300000125R 000300000126R");
    const QString stored = QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('%1', '%2', "
                                          "'DATOS');");
    QTest::newRow("first run") << 0 << "" << first << both;
    QTest::newRow("blank stored date is a first run")
        << 0 << stored.arg(QStringLiteral("KTZ_ULTIMAFECHAR"), QStringLiteral("  ")) << first << both;
    QTest::newRow("later run includes the stored day")
        << 0 << stored.arg(QStringLiteral("KTZ_ULTIMAFECHAR"), QStringLiteral("2026-03-03")) << later
        << "000300000126R";
    QTest::newRow("second database: first run")
        << 1 << stored.arg(QStringLiteral("KTZ_ULTIMAFECHAR"), QStringLiteral("2026-03-03")) << first << both;
    QTest::newRow("second database: later run")
        << 1 << stored.arg(QStringLiteral("KTZ_ULTIMAFECHA2R"), QStringLiteral("2026-03-03")) << later
        << "000300000126R";
    QTest::newRow("nothing to transfer") << 0
                                         << stored.arg(QStringLiteral("KTZ_ULTIMAFECHAR"), QStringLiteral("2026-04-01"))
                                         << " WHERE (FOUT_TIPO = 'R') AND  FOUT_FECHA>='2026-04-01' AND FOUT_NUM > 0"
                                         << "";
}

void TstDeliveryNoteStep::dateWindow()
{
    QFETCH(int, pass);
    QFETCH(QString, stored);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    RunFixture f(orvaSetup(stored),
                 noteRow(1, QStringLiteral("2026-03-02"), 3, 125)
                     + noteRow(2, QStringLiteral("2026-03-03 10:30:00"), 3, 126));
    f.context.SourcePass = pass;
    QCOMPARE(deliveryNoteFilter(f.context), filter);
    DeliveryNoteTransfer step(f.session);
    runStep(f, step);
    QCOMPARE(vouchers(f), written);
    const int n = written.isEmpty() ? 0 : int(written.count(QLatin1Char(' '))) + 1;
    QCOMPARE(f.context.counters.CantRM, n);
    QCOMPARE(f.context.counters.CantRMAct, n);
    QCOMPARE(f.context.progress.status(), QStringLiteral("Actualizando Remitos"));
    if (n == 0) {
        QCOMPARE(f.context.progress.line(), ProgressState().line);
        QVERIFY(f.context.LastDeliveryNoteDate.isEmpty());
    } else {
        QCOMPARE(f.context.LastDeliveryNoteDate, QStringLiteral("2026-03-03 10:30:00"));
    }
}

void TstDeliveryNoteStep::exemptNotes_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<int>("exempt");
    QTest::newRow("ex") << "'ex'" << 1;
    QTest::newRow("EX with a trailing blank") << "'EX '" << 0;
}

void TstDeliveryNoteStep::exemptNotes()
{
    QFETCH(QString, condition);
    QFETCH(int, exempt);
    RunFixture f(orvaSetup(), articles() + noteRow(1, QStringLiteral("2026-03-02"), 3, 125, condition) + twoLines(1));
    DeliveryNoteTransfer step(f.session);
    runStep(f, step);
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT EXENTOIVAARTICULOS FROM V_MV_CPTE")).toInt(), exempt);
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTEINSUMOS WHERE EXENTO = %1").arg(exempt)).toInt(),
             2);
}

void TstDeliveryNoteStep::noteAlreadyInOrva_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<int>("written");
    QTest::newRow("voucher RM already there") << "RM" << 0;
    QTest::newRow("same number under another type") << "FA" << 1;
}

void TstDeliveryNoteStep::noteAlreadyInOrva()
{
    QFETCH(QString, existing);
    QFETCH(int, written);
    RunFixture f(
        orvaSetup(
            QStringLiteral("INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE) VALUES ('%1', '000300000125R');").arg(existing)),
        articles() + noteRow(1, QStringLiteral("2026-03-02"), 3, 125) + twoLines(1));
    DeliveryNoteTransfer step(f.session);
    runStep(f, step);
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE")).toInt(), 1 + written);
    QCOMPARE(lineCount(f), 2 * written);
    QCOMPARE(f.context.counters.CantRM, 1);
    QCOMPARE(f.context.counters.CantRMAct, written);
    // The counter and the date move on in either case.
    QCOMPARE(counters(f), QStringLiteral("1=126"));
    QCOMPARE(f.context.LastDeliveryNoteDate, QStringLiteral("2026-03-02"));
    QVERIFY(!f.context.orva().inTransaction());
}

void TstDeliveryNoteStep::secondRunChangesNothing()
{
    RunFixture f(orvaSetup(),
                 articles() + noteRow(1, QStringLiteral("2026-03-02"), 3, 125) + twoLines(1)
                     + noteRow(2, QStringLiteral("2026-03-03"), 3, 126));
    DeliveryNoteTransfer step(f.session);
    runStep(f, step);
    // An operator numbered a voucher in Orva after the transfer.
    f.execOrva(QStringLiteral("UPDATE V_TA_CPTE SET R_ULTIMO_NRO = 128"));
    f.context.counters.reset();
    runStep(f, step);
    QCOMPARE(vouchers(f), QStringLiteral("000300000125R 000300000126R"));
    QCOMPARE(lineCount(f), 2);
    QCOMPARE(f.context.counters.CantRM, 2);
    QCOMPARE(f.context.counters.CantRMAct, 0);
    QCOMPARE(counters(f), QStringLiteral("1=128"));
}

void TstDeliveryNoteStep::counterCases_data()
{
    QTest::addColumn<QString>("books");
    QTest::addColumn<int>("pointOfSale");
    QTest::addColumn<QString>("voucher");
    QTest::addColumn<QString>("counters");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("logged");

    const QString noBook =
        QStringLiteral("ATENCION|Error en grabación del Comprobante, no se ha encontrado el comprobante configurado");
    QTest::newRow("book of the point of sale among others")
        << rmBook(1, 1, 41) + rmBook(2, 3, 100) << 3 << "000300000125R"
        << "1=41 2=126"
        << ""
        << "";
    QTest::newRow("counter ahead stays") << rmBook(1, 3, 500) << 3 << "000300000125R"
                                         << "1=500"
                                         << ""
                                         << "no retrocede";
    QTest::newRow("no book of the system") << rmBook(1, 3, 100, QStringLiteral("STOCK")) << 3 << "000300000125R"
                                           << "1=100" << noBook << "";
    QTest::newRow("only a book of another point of sale") << rmBook(1, 1, 41) << 3 << "000300000125R"
                                                          << "1=41" << noBook << "";
    QTest::newRow("point of sale of five digits")
        << rmBook(1, 3, 100) + rmBook(2, 1234, 100) << 12345 << "1234500000125R"
        << "1=100 2=100"
        << ""
        << "no tiene 13 caracteres";
}

void TstDeliveryNoteStep::counterCases()
{
    QFETCH(QString, books);
    QFETCH(int, pointOfSale);
    QFETCH(QString, voucher);
    QFETCH(QString, counters);
    QFETCH(QString, message);
    QFETCH(QString, logged);
    RunFixture f(orvaConfig(books),
                 articles() + noteRow(1, QStringLiteral("2026-03-02"), pointOfSale, 125) + twoLines(1));
    DeliveryNoteTransfer step(f.session);
    runStep(f, step);
    // The voucher is written whatever becomes of the counter.
    QCOMPARE(vouchers(f), voucher);
    QCOMPARE(lineCount(f), 2);
    QCOMPARE(::counters(f), counters);
    QCOMPARE(f.op.messages.join(QLatin1Char('\n')), message);
    QVERIFY(f.op.errorsSeen.isEmpty());
    QCOMPARE(f.context.LastDeliveryNoteDate, QStringLiteral("2026-03-02"));
    if (!logged.isEmpty())
        QVERIFY2(logText(f).contains(logged), qPrintable(logText(f)));
}

void TstDeliveryNoteStep::badLine_data()
{
    QTest::addColumn<QString>("badLine"); // the FCOUT_UNID and FCOUT_CANT literals
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("vouchers");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("counters");

    QTest::newRow("Null unit, give up: the note is undone")
        << "NULL, 1" << int(ChoiceAbort) << "000300000125R" << 2 << "1=126";
    QTest::newRow("quantity no number, give up: the note is undone")
        << "'UN', 'uno'" << int(ChoiceAbort) << "000300000125R" << 2 << "1=126";
    QTest::newRow("Null unit, continue: only that line is left out")
        << "NULL, 1" << int(ChoiceIgnore) << "000300000125R 000300000126R" << 3 << "1=127";
}

void TstDeliveryNoteStep::badLine()
{
    QFETCH(QString, badLine);
    QFETCH(int, choice);
    QFETCH(QString, vouchers);
    QFETCH(int, lines);
    QFETCH(QString, counters);
    RunFixture f(orvaSetup(),
                 articles() + noteRow(1, QStringLiteral("2026-03-02"), 3, 125) + twoLines(1)
                     + noteRow(2, QStringLiteral("2026-03-03"), 3, 126)
                     + QStringLiteral("INSERT INTO FACT_OUT (FCOUT_ID, FCOUT_PROD_ID, FCOUT_RUB, FCOUT_UNID, "
                                      "FCOUT_CANT, FCOUT_PVENTA, FCOUT_NETO, FCOUT_IVA_PORC, FCOUT_TOTAL) VALUES "
                                      "(2, 10, 2, 'LT', 1, 121, 100, 21, 121), (2, 11, 2, %1, 131, 100, 21, 131);")
                           .arg(badLine));
    f.op.errorChoices = {choice};
    DeliveryNoteTransfer step(f.session);
    const RunOutcome outcome = runDriver(f, step);
    QCOMPARE(outcome, choice == ChoiceAbort ? RunOutcome::GaveUp : RunOutcome::Finished);
    QCOMPARE(f.op.errorsSeen.size(), 1);
    const RunError &error = f.op.errorsSeen.first();
    QCOMPARE(error.procedure, QStringLiteral("GrabaRenglonesRemito"));
    QVERIFY2(error.record.contains(QStringLiteral("punto de venta 3, número 126")), qPrintable(error.record));
    QVERIFY2(error.record.contains(QStringLiteral("renglón 2 (artículo 11)")), qPrintable(error.record));
    QCOMPARE(::vouchers(f), vouchers);
    QCOMPARE(lineCount(f), lines);
    QCOMPARE(::counters(f), counters);
    QVERIFY(!f.context.orva().inTransaction());
}

void TstDeliveryNoteStep::cancelRollsBackTheOpenNote()
{
    RunFixture f(orvaSetup(),
                 articles() + noteRow(1, QStringLiteral("2026-03-02"), 3, 125) + twoLines(1)
                     + noteRow(2, QStringLiteral("2026-03-03"), 3, 126) + twoLines(2));
    // Two yields per note: the stop is asked for right after note 2 began.
    int yields = 0;
    f.context.onYield = [&] {
        if (++yields == 4)
            f.context.PARAR = true;
    };
    DeliveryNoteTransfer step(f.session);
    QCOMPARE(runDriver(f, step), RunOutcome::Cancelled);
    QCOMPARE(vouchers(f), QStringLiteral("000300000125R"));
    QCOMPARE(lineCount(f), 2);
    QCOMPARE(counters(f), QStringLiteral("1=126"));
    QCOMPARE(f.session.Cfg(QStringLiteral("KTZ_ULTIMAFECHAR")), QStringLiteral(" "));
    QVERIFY(!f.context.orva().inTransaction());
}

void TstDeliveryNoteStep::failedCommit_data()
{
    QTest::addColumn<QString>("refused"); // the statement of note 126 the database refuses
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("counter");
    QTest::addColumn<QString>("date");          // LastDeliveryNoteDate
    QTest::addColumn<QList<int>>("accounting"); // written, left out, failed (when the step went on)
    const QString commit = QStringLiteral("COMMIT TRANSACTION");
    QTest::newRow("give up") << commit << int(ChoiceAbort) << "000300000125R" << 2 << "1=126"
                             << "" << QList<int>{};
    // The date stays before the refused note: the next run selects it again.
    QTest::newRow("continue") << commit << int(ChoiceIgnore) << "000300000125R 000300000127R" << 2 << "1=128"
                              << "2026-03-02" << QList<int>{2, 0, 1};
    QTest::newRow("retry after the fault is mended")
        << commit << int(ChoiceRetry) << "000300000125R 000300000126R 000300000127R" << 4 << "1=128"
        << "2026-03-04" << QList<int>{3, 0, 0};
    // Nothing of the note was written: it is left out (not a failed commit),
    // with the refused BEGIN as the reason, and the date held.
    QTest::newRow("begin refused, continue")
        << QStringLiteral("BEGIN TRANSACTION") << int(ChoiceIgnore) << "000300000125R 000300000127R" << 2 << "1=128"
        << "2026-03-02" << QList<int>{2, 1, 0};
}

void TstDeliveryNoteStep::failedCommit()
{
    QFETCH(QString, refused);
    QFETCH(int, choice);
    QFETCH(QString, written);
    QFETCH(int, lines);
    QFETCH(QString, counter);
    QFETCH(QString, date);
    QFETCH(QList<int>, accounting);
    RunFixture f(orvaSetup(),
                 articles() + noteRow(1, QStringLiteral("2026-03-02"), 3, 125) + twoLines(1)
                     + noteRow(2, QStringLiteral("2026-03-03"), 3, 126) + twoLines(2)
                     + noteRow(3, QStringLiteral("2026-03-04"), 3, 127));
    if (refused.startsWith(QLatin1String("COMMIT"))) {
        // The COMMIT of note 126 is refused by the database.
        blockCommitOf(f, QStringLiteral("V_MV_CPTEINSUMOS"), QStringLiteral("NEW.IDCOMPROBANTE = '000300000126R'"));
    } else {
        refuseWriteAfterYield(f, 2); // note 126's BEGIN
    }
    f.op.errorChoices = {choice};
    if (choice == ChoiceRetry)
        f.op.onError = [&](const RunError &) { mendBlockedCommit(f); };
    DeliveryNoteTransfer step(f.session);
    if (choice == ChoiceAbort) {
        QCOMPARE(runDriver(f, step), RunOutcome::GaveUp);
        QVERIFY(!f.orvaValue(QStringLiteral("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'KTZ_ULTIMAFECHAR'"))
                     .isValid());
    } else {
        runStep(f, step);
        QCOMPARE(f.context.LastDeliveryNoteDate, date);
    }
    QCOMPARE(f.op.errorsSeen.size(), 1);
    QCOMPARE(f.op.errorsSeen.first().statement, refused);
    QVERIFY(f.op.errorsSeen.first().record.contains(QStringLiteral("126")));
    QVERIFY(!f.context.orva().inTransaction());
    QCOMPARE(vouchers(f), written);
    // Nothing of the refused note stays: no lines, no counter move.
    QCOMPARE(lineCount(f), lines);
    QCOMPARE(counters(f), counter);
    if (choice != ChoiceAbort) {
        QCOMPARE(f.context.counters.CantRMAct, written.count(QLatin1Char('R')));
        const KindAccount &notes = f.context.account.kind(TransferKind::Remitos);
        QCOMPARE(QList<int>({int(notes.written), int(notes.leftOut), int(notes.failed)}), accounting);
        for (const RecordProblem &problem : notes.records)
            QVERIFY2(problem.record.contains(QStringLiteral("126")), qPrintable(problem.record));
    }
    if (choice != ChoiceRetry && refused.startsWith(QLatin1String("COMMIT")))
        QVERIFY(logText(f).contains(QStringLiteral("falló su COMMIT")));
}

void TstDeliveryNoteStep::stockDischarge_data()
{
    QTest::addColumn<QString>("setting"); // configuration rows
    QTest::addColumn<QString>("existing");
    QTest::addColumn<int>("movements");
    const QString setting = QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES "
                                           "('DescargaStockRemitos', '%1', 'DATOS');");
    const QString existing =
        QStringLiteral("INSERT INTO V_MV_CPTE (TC, IDCOMPROBANTE) VALUES ('RM', '000300000125R');");
    QTest::newRow("si") << setting.arg(QStringLiteral("si")) << "" << 2;
    QTest::newRow("NO") << setting.arg(QStringLiteral("NO")) << "" << 0;
    QTest::newRow("SI with a blank") << setting.arg(QStringLiteral("SI ")) << "" << 0;
    QTest::newRow("not configured") << ""
                                    << "" << 0;
    QTest::newRow("note already in Orva") << setting.arg(QStringLiteral("SI")) << existing << 0;
}

void TstDeliveryNoteStep::stockDischarge()
{
    QFETCH(QString, setting);
    QFETCH(QString, existing);
    QFETCH(int, movements);
    RunFixture f(orvaSetup(setting + existing
                           + QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES "
                                            "('DEPOSITODEFAULT', '1', 'DATOS');")),
                 articles() + noteRow(1, QStringLiteral("2026-03-02"), 3, 125) + twoLines(1));
    DeliveryNoteTransfer step(f.session);
    runStep(f, step);
    QCOMPARE(
        f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK WHERE IDCOMPROBANTE = '000300000125R'")).toInt(),
        movements);
    QCOMPARE(counters(f), QStringLiteral("1=126"));
    QVERIFY(!f.context.orva().inTransaction());
}

void TstDeliveryNoteStep::linesWithoutArticle_data()
{
    QTest::addColumn<QString>("products");  // the PRODUCTO rows of KTZ
    QTest::addColumn<QString>("written");   // articles of the lines and of the movements
    QTest::addColumn<QStringList>("named"); // lines the log names
    QTest::newRow("one article missing") << "(10, 2, 0)"
                                         << "10-2" << QStringList{"artículo 11 (FILTRO)"};
    QTest::newRow("every article missing") << "(99, 2, 0)"
                                           << "" << QStringList{"artículo 10 (ACEITE D'ORO)", "artículo 11 (FILTRO)"};
    QTest::newRow("no article missing") << "(10, 2, 0), (11, 2, 10)"
                                        << "10-2 11-2" << QStringList{};
}

void TstDeliveryNoteStep::linesWithoutArticle()
{
    QFETCH(QString, products);
    QFETCH(QString, written);
    QFETCH(QStringList, named);
    RunFixture f(
        orvaSetup(QStringLiteral("UPDATE V_TA_CPTE SET ES = 'S';\n"
                                 "INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES "
                                 "('DescargaStockRemitos', 'SI', 'DATOS'), ('DEPOSITODEFAULT', '1', 'DATOS');")),
        QStringLiteral("INSERT INTO PRODUCTO (PROD_ID, PROD_RUB, PROD_IMPINT) VALUES %1;\n").arg(products)
            + noteRow(1, QStringLiteral("2026-03-02"), 3, 125) + twoLines(1));
    DeliveryNoteTransfer step(f.session);
    runStep(f, step);
    const auto articlesOf = [&](const QString &table) {
        QStringList codes;
        for (const QVariantMap &row : f.orvaRows(QStringLiteral("SELECT IDARTICULO FROM %1 ORDER BY 1").arg(table)))
            codes << row.value(QStringLiteral("IDARTICULO")).toString().trimmed();
        return codes.join(QLatin1Char(' '));
    };
    // The lines the line query leaves out are not written, and the voucher still is.
    QCOMPARE(vouchers(f), QStringLiteral("000300000125R"));
    QCOMPARE(articlesOf(QStringLiteral("V_MV_CPTEINSUMOS")), written);
    QCOMPARE(articlesOf(QStringLiteral("V_MV_STOCK")), written);
    QCOMPARE(f.context.counters.CantRMAct, 1);
    QCOMPARE(counters(f), QStringLiteral("1=126"));
    QVERIFY(f.op.errorsSeen.isEmpty());
    const QStringList warnings = logText(f).split(QLatin1Char('\n')).filter(QStringLiteral("no está en PRODUCTO"));
    QCOMPARE(warnings.size(), named.size());
    for (int i = 0; i < named.size(); ++i) {
        QVERIFY2(warnings.at(i).contains(named.at(i)), qPrintable(warnings.at(i)));
        QVERIFY2(warnings.at(i).contains(QStringLiteral("punto de venta 3, número 125")), qPrintable(warnings.at(i)));
    }
}

QTEST_GUILESS_MAIN(TstDeliveryNoteStep)
#include "tst_deliverynotestep.moc"
