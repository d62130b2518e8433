// How a record is filed (written, unchanged, left out, failed) from what the
// step said about it, how a run's status and exit code follow from its
// passes, and the machine-readable report of a run.

#include "run/jsonfile.h"
#include "run/runcontext.h"
#include "run/runjson.h"
#include "run/runreport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

class TstRunAccount : public QObject
{
    Q_OBJECT

private slots:
    void filing_data();
    void filing();
    void runStatus_data();
    void runStatus();
    void reportLinesKeepTheirFormulas();
    void jsonReport();
    void jsonFileIsReplacedWhole();
};

void TstRunAccount::filing_data()
{
    // What the step said: w = written, u = unchanged, p = a part left out by
    // rule, c = an error continued past, f = failed.
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("filed"); // written / unchanged / left_out / failed
    QTest::addColumn<int>("named");     // records listed
    QTest::newRow("written") << "w"
                             << "written" << 0;
    QTest::newRow("written without a line: the line is listed") << "wp"
                                                                << "written" << 1;
    QTest::newRow("written past two errors") << "wcc"
                                             << "written" << 2;
    QTest::newRow("unchanged") << "u"
                               << "unchanged" << 0;
    QTest::newRow("a check continued past is not unchanged") << "uc"
                                                             << "left_out" << 1;
    QTest::newRow("nothing written, error continued past") << "c"
                                                           << "left_out" << 1;
    QTest::newRow("nothing said at all") << ""
                                         << "left_out" << 1;
    QTest::newRow("left out by rule") << "p"
                                      << "left_out" << 1;
    QTest::newRow("written then failed (commit)") << "wpf"
                                                  << "failed" << 1;
}

void TstRunAccount::filing()
{
    QFETCH(QString, said);
    QFETCH(QString, filed);
    QFETCH(int, named);
    PassAccount account;
    RecordTally tally(account);
    tally.begin(TransferKind::Ventas, QStringLiteral("factura 7"));
    for (const QChar c : said) {
        if (c == QLatin1Char('w'))
            tally.written();
        else if (c == QLatin1Char('u'))
            tally.unchanged();
        else if (c == QLatin1Char('p'))
            tally.leaveOut(QStringLiteral("factura 7, renglón 2"), QStringLiteral("GrabaStockVenta"),
                           QStringLiteral("rechazado"));
        else if (c == QLatin1Char('c'))
            tally.continuedPast(QString(), QStringLiteral("GrabaAsientoVenta"), QStringLiteral("falla"));
        else if (c == QLatin1Char('f'))
            tally.fail(QStringLiteral("ActualizaVentas"), QStringLiteral("COMMIT rechazado"));
    }
    tally.end();
    QVERIFY(!tally.active());
    const KindAccount &k = account.kind(TransferKind::Ventas);
    const QMap<QString, qint64> counts{{QStringLiteral("written"), k.written},
                                       {QStringLiteral("unchanged"), k.unchanged},
                                       {QStringLiteral("left_out"), k.leftOut},
                                       {QStringLiteral("failed"), k.failed}};
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        QCOMPARE(it.value(), it.key() == filed ? 1 : 0);
    QCOMPARE(k.records.size(), named);
    for (const RecordProblem &p : k.records) {
        QVERIFY(!p.record.isEmpty());
        QVERIFY(!p.step.isEmpty());
        QVERIFY(!p.reason.isEmpty());
        QCOMPARE(p.problem == ProblemKind::Failed, filed == QLatin1String("failed"));
    }
    // A record continued past without a name of its own carries the document's.
    if (said == QLatin1String("c"))
        QCOMPARE(k.records[0].record, QStringLiteral("factura 7"));
    QVERIFY(!account.kind(TransferKind::Articulos).processed());
}

void TstRunAccount::runStatus_data()
{
    QTest::addColumn<QList<int>>("passes"); // RunStatus of each pass
    QTest::addColumn<bool>("named");        // the passes named a record
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("exitCode");
    const int done = int(RunStatus::Completed);
    QTest::newRow("one clean pass") << QList<int>{done} << false << done << 0;
    QTest::newRow("two clean passes") << QList<int>{done, done} << false << done << 0;
    QTest::newRow("records named") << QList<int>{done, done} << true << int(RunStatus::CompletedWithOmissions) << 3;
    QTest::newRow("second pass cancelled")
        << QList<int>{done, int(RunStatus::Cancelled)} << false << int(RunStatus::Cancelled) << 1;
    QTest::newRow("abandoned with records named")
        << QList<int>{int(RunStatus::Abandoned)} << true << int(RunStatus::Abandoned) << 1;
    QTest::newRow("first database not opened")
        << QList<int>{int(RunStatus::NotStarted)} << false << int(RunStatus::NotStarted) << 1;
    QTest::newRow("second database not opened")
        << QList<int>{done, int(RunStatus::NotStarted)} << false << int(RunStatus::ConnectionLost) << 1;
    QTest::newRow("no pass") << QList<int>{} << false << int(RunStatus::NotStarted) << 1;
}

void TstRunAccount::runStatus()
{
    QFETCH(QList<int>, passes);
    QFETCH(bool, named);
    QFETCH(int, status);
    QFETCH(int, exitCode);
    RunAccount run;
    for (int i = 0; i < passes.size(); ++i) {
        PassAccount p;
        p.pass = i;
        p.status = RunStatus(passes[i]);
        if (named && i == 0)
            p.kind(TransferKind::Remitos)
                .records.append(
                    {QStringLiteral("remito"), QStringLiteral("x"), ProblemKind::LeftOut, QStringLiteral("y")});
        run.passes << p;
    }
    run.conclude();
    QCOMPARE(int(run.status), status);
    QCOMPARE(run.exitCode, exitCode);
}

void TstRunAccount::reportLinesKeepTheirFormulas()
{
    // 13 documents written with 50 journal lines (some have three): the sales
    // line keeps its division by four; the accounting below counts documents.
    RunCounters c;
    c.CantVen = 13;
    c.CantVenAct = 50;
    c.CantRM = 3;
    c.CantRMAct = 1;
    const bool ticked[TransferKindCount] = {false, false, true, true};
    RunReport r = buildRunReport(c, ticked);
    r.account.status = RunStatus::Abandoned;
    r.account.reason = QStringLiteral("Error 1: falla");
    KindAccount &sales = r.account.kind(TransferKind::Ventas);
    sales.selected = sales.started = true;
    sales.counted = 13;
    sales.written = 13;
    KindAccount &notes = r.account.kind(TransferKind::Remitos);
    notes.selected = notes.started = true;
    notes.counted = 3;
    notes.written = 1;
    notes.failed = 1;
    notes.records.append({QStringLiteral("remito R punto de venta 3, número 8"), QStringLiteral("GrabaRemito"),
                          ProblemKind::Failed, QStringLiteral("rechazado")});
    QCOMPARE(r.lines[2].text, QStringLiteral("Ventas Actualizadas: 12 de 13 (0*)"));
    QCOMPARE(r.lines[3].text, QStringLiteral("Remitos Actualizados: 1 de 3 (2*)"));
    QCOMPARE(reportTitle(r.account.status), QStringLiteral("Actualización Abandonada"));
    QCOMPARE(r.statusLine(), QStringLiteral("Estado: abandonada tras un error (Error 1: falla)"));
    QCOMPARE(r.accountLines(),
             QStringList(
                 {QStringLiteral(
                      "Ventas: 13 leídos = 13 grabados + 0 sin cambios + 0 omitidos + 0 fallidos + 0 no alcanzados"),
                  QStringLiteral(
                      "Remitos: 3 leídos = 1 grabados + 0 sin cambios + 0 omitidos + 1 fallidos + 1 no alcanzados")}));
    QCOMPARE(r.recordLines(),
             QStringList({QStringLiteral("Fallido: remito R punto de venta 3, número 8 [GrabaRemito] rechazado")}));
    for (RunStatus s : {RunStatus::Completed, RunStatus::CompletedWithOmissions})
        QCOMPARE(reportTitle(s), QStringLiteral("Actualización Finalizada"));
    for (RunStatus s : {RunStatus::Cancelled, RunStatus::Abandoned, RunStatus::ConnectionLost, RunStatus::NotStarted})
        QVERIFY(reportTitle(s) != QStringLiteral("Actualización Finalizada"));
}

void TstRunAccount::jsonReport()
{
    RunAccount run;
    run.runId = QStringLiteral("abc123");
    run.started = QDateTime(QDate(2026, 3, 2), QTime(10, 0, 0));
    run.ended = run.started.addSecs(75);
    run.orva = QStringLiteral("QSQLITE /datos/orva.db");
    PassAccount p;
    p.ktz = QStringLiteral("/datos/ktz.db");
    p.status = RunStatus::Completed;
    p.datesBefore = {{QStringLiteral("KTZ_ULTIMAFECHA"), QStringLiteral("2026-03-01")},
                     {QStringLiteral("KTZ_ULTIMAFECHAR"), QVariant()}};
    p.datesAfter = {{QStringLiteral("KTZ_ULTIMAFECHA"), QStringLiteral("2026-03-02")},
                    {QStringLiteral("KTZ_ULTIMAFECHAR"), QStringLiteral("2026-03-02")}};
    KindAccount &sales = p.kind(TransferKind::Ventas);
    sales.selected = sales.started = true;
    sales.counted = 4;
    sales.written = 2;
    sales.unchanged = 1;
    sales.records.append(
        {QStringLiteral("factura 1004 (punto de venta 5, número 1237, letra A), renglón 2 (artículo 7)"),
         QStringLiteral("GrabaStockVenta"), ProblemKind::LeftOut, QStringLiteral("rechazado")});
    run.passes << p;
    run.conclude();

    const QJsonObject o = runAccountJson(run);
    QCOMPARE(o.value(QStringLiteral("run_id")).toString(), QStringLiteral("abc123"));
    QCOMPARE(o.value(QStringLiteral("status")).toString(), QStringLiteral("completed_with_omissions"));
    QCOMPARE(o.value(QStringLiteral("exit_code")).toInt(), 3);
    QCOMPARE(o.value(QStringLiteral("orva")).toString(), run.orva);
    for (const char *moment : {"started", "ended"}) {
        const QString text = o.value(QLatin1String(moment)).toString();
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$"))
                     .match(text)
                     .hasMatch(),
                 qPrintable(text));
        QCOMPARE(QDateTime::fromString(text, Qt::ISODate), moment == QByteArray("started") ? run.started : run.ended);
    }
    const QJsonArray passes = o.value(QStringLiteral("passes")).toArray();
    QCOMPARE(passes.size(), 1);
    const QJsonObject pass = passes[0].toObject();
    QCOMPARE(pass.value(QStringLiteral("pass")).toInt(), 0);
    QCOMPARE(pass.value(QStringLiteral("status")).toString(), QStringLiteral("completed"));
    QVERIFY(pass.value(QStringLiteral("dates_before")).toObject().value(QStringLiteral("KTZ_ULTIMAFECHAR")).isNull());
    QCOMPARE(pass.value(QStringLiteral("dates_after")).toObject().value(QStringLiteral("KTZ_ULTIMAFECHA")).toString(),
             QStringLiteral("2026-03-02"));
    const QJsonObject kinds = pass.value(QStringLiteral("kinds")).toObject();
    QCOMPARE(kinds.keys(),
             QStringList({QStringLiteral("articulos"), QStringLiteral("clientes"), QStringLiteral("remitos"),
                          QStringLiteral("ventas")}));
    const QJsonObject v = kinds.value(QStringLiteral("ventas")).toObject();
    QCOMPARE(v.value(QStringLiteral("read")).toInt(), 4);
    QCOMPARE(v.value(QStringLiteral("written")).toInt(), 2);
    QCOMPARE(v.value(QStringLiteral("unchanged")).toInt(), 1);
    QCOMPARE(v.value(QStringLiteral("not_reached")).toInt(), 1);
    const QJsonObject record = v.value(QStringLiteral("records")).toArray().at(0).toObject();
    QCOMPARE(record.value(QStringLiteral("problem")).toString(), QStringLiteral("left_out"));
    QCOMPARE(record.value(QStringLiteral("step")).toString(), QStringLiteral("GrabaStockVenta"));
    QVERIFY(record.value(QStringLiteral("record")).toString().startsWith(QStringLiteral("factura 1004")));
    QCOMPARE(kinds.value(QStringLiteral("articulos")).toObject().value(QStringLiteral("selected")).toBool(), false);
}

void TstRunAccount::jsonFileIsReplacedWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("informe.json"));
    QString error;
    QVERIFY(writeJsonFile(path, QJsonObject{{QStringLiteral("a"), 1}}, &error));
    QVERIFY(writeJsonFile(path, QJsonObject{{QStringLiteral("b"), 2}}, &error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QJsonDocument::fromJson(file.readAll()).object(), QJsonObject({{QStringLiteral("b"), 2}}));
    // Nothing but the report is left in the folder.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("informe.json")}));
    // A folder that does not exist: false, with the path named.
    const QString missing = dir.filePath(QStringLiteral("no/such/informe.json"));
    QVERIFY(!writeJsonFile(missing, QJsonObject(), &error));
    QVERIFY2(error.contains(missing), qPrintable(error));
}

QTEST_GUILESS_MAIN(TstRunAccount)
#include "tst_runaccount.moc"
