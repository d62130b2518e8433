// The run as the operator drives it from the main window: passes over one or
// two KTZ databases, the stop request from the progress window, the error
// choices, the clean-up with its rollback, and the unattended start. The
// steps are scripted; Orva and both KTZ databases are real SQLite files.

#include "run/desktop/frmactktz.h"
#include "run/desktop/frminfoktz.h"
#include "run/desktop/frmstatus.h"
#include "services/documenttransaction.h"
#include "services/recordset.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <optional>

namespace {

QString statusOf(TransferKind kind)
{
    static const char *const texts[] = {"Actualizando Artículos", "Actualizando Clientes", "Actualizando Ventas",
                                        "Actualizando Remitos"};
    return QString::fromUtf8(texts[int(kind)]);
}

// A step that walks the PRODUCTO rows of the pass's KTZ database as its
// records: one Orva row written per record (the sales and delivery-note
// kinds inside a document transaction each, yielding twice as they do), the
// counters, the progress and the date reached. onRecord runs inside the
// record, after its write and, for documents, inside the transaction.
class ScriptedStep : public TransferStep
{
public:
    explicit ScriptedStep(TransferKind kind) : kind(kind) {}

    TransferKind kind;
    std::function<void(RunContext &, int record)> onRecord;
    QList<int> passes;     // SourcePass of every call
    QList<qint16> digits;  // Digitos_Cuenta seen by every call
    QList<bool> sawHidden; // whether the progress window was hidden at the start

    void run(RunContext &c) override
    {
        passes << c.SourcePass;
        digits << c.Digitos_Cuenta;
        const bool document = kind == TransferKind::Ventas || kind == TransferKind::Remitos;
        qint32 *counted[] = {&c.counters.CantArt, &c.counters.CantCli, &c.counters.CantVen, &c.counters.CantRM};
        qint32 *written[] = {&c.counters.CantArtAct, &c.counters.CantCliAct, &c.counters.CantVenAct,
                             &c.counters.CantRMAct};
        c.progress.begin(statusOf(kind));
        Recordset rs = c.source.OpenRecordset(QStringLiteral("SELECT PROD_ID FROM PRODUCTO ORDER BY PROD_ID"));
        int n = 0;
        for (; !rs.eof(); rs.moveNext())
            ++n;
        *counted[int(kind)] = n;
        c.countedRecords(kind, n);
        c.progress.counted(n);
        rs.moveFirst();
        for (int record = 1; !rs.eof(); ++record) {
            c.yield();
            c.stopIfRequested();
            c.tally.begin(kind, QStringLiteral("registro %1").arg(record));
            std::optional<DocumentTransaction> transaction;
            if (document)
                transaction.emplace(c.orva(), QStringLiteral("registro %1").arg(record));
            c.orva().Execute(QStringLiteral("INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES ('%1%2%3', 'x')")
                                 .arg(int(kind))
                                 .arg(c.SourcePass)
                                 .arg(record));
            if (document) {
                c.yield();
                c.stopIfRequested();
            }
            if (onRecord)
                onRecord(c, record);
            ++*written[int(kind)];
            if (document) {
                transaction->commit();
                const QString date =
                    QStringLiteral("2024-0%1-%2").arg(c.SourcePass + 3).arg(record, 2, 10, QLatin1Char('0'));
                (kind == TransferKind::Ventas ? c.LastSalesDate : c.LastDeliveryNoteDate) = date;
            }
            c.tally.written();
            c.tally.end();
            rs.moveNext();
            c.progress.tick();
        }
    }
};

// What the operator saw in a report window, and the state around it.
struct SeenReport
{
    QStringList lines;
    QList<bool> bold;
    bool mainEnabled = false;
    bool progressLoaded = true;
    bool sourceOpen = true;
};

QString productRows(int n)
{
    QString sql;
    for (int i = 1; i <= n; ++i)
        sql += QStringLiteral("INSERT INTO PRODUCTO (PROD_ID, PROD_RUB, PROD_DESCRIP) VALUES (%1, 1, 'p');\n").arg(i);
    return sql;
}

// A station with one KTZ database of `first` records and, when `second` is
// not negative, a second one: the main window over four scripted steps, and
// every report window answered with OK as soon as it is up.
class Station : public RunFixture
{
public:
    explicit Station(int first, int second = -1) : RunFixture(QString(), productRows(first))
    {
        setCfg(QStringLiteral("KTZ_BASEDEDATOS"), ktzPath);
        setCfg(QStringLiteral("KTZ_PASSWORD"), QStringLiteral("Secreto"));
        setCfg(QStringLiteral("Digitos_Cuenta"), QStringLiteral("6"));
        if (second >= 0) {
            ktz2Path = dir.filePath(QStringLiteral("ktz2.db"));
            createSqliteDatabase(ktz2Path, QStringLiteral("schema/ktz.sqlite.sql"), productRows(second));
            setCfg(QStringLiteral("KTZ_BASEDEDATOS2"), ktz2Path);
        }
        QObject::connect(&catcher, &QTimer::timeout, [this] { answerReport(); });
        catcher.start(5);
    }

    // Stores a configuration value exactly as given (blanks kept).
    void setCfg(const QString &key, const QString &value)
    {
        execOrva(QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE CLAVE = '%1'").arg(key));
        execOrva(QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('%1', '%2', 'DATOS')")
                     .arg(key, value));
    }
    QVariant cfgRow(const QString &key)
    {
        return orvaValue(QStringLiteral("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = '%1'").arg(key));
    }
    int rowsWritten(TransferKind kind, int pass)
    {
        return orvaValue(
                   QStringLiteral("SELECT COUNT(*) FROM TA_ESTADOS WHERE CODIGO LIKE '%1%2%'").arg(int(kind)).arg(pass))
            .toInt();
    }
    void tick(std::initializer_list<TransferKind> kinds)
    {
        for (TransferKind k : kinds)
            window.box(k)->setChecked(true);
    }
    RunOutcome run() { return window.cmdActualizar_Click(); }

    QString ktz2Path;
    ScriptedStep articles{TransferKind::Articulos}, customers{TransferKind::Clientes}, sales{TransferKind::Ventas},
        notes{TransferKind::Remitos};
    FrmActKTZ window{session, context, {&articles, &customers, &sales, &notes}};
    QList<SeenReport> reports;

private:
    void answerReport()
    {
        auto *report = qobject_cast<FrmInfoKTZ *>(QApplication::activeModalWidget());
        if (!report)
            return;
        SeenReport seen;
        for (int k = 0; k < TransferKindCount; ++k) {
            seen.lines << report->line(TransferKind(k))->text();
            seen.bold << report->line(TransferKind(k))->font().bold();
        }
        seen.mainEnabled = window.isEnabled();
        seen.progressLoaded = window.front().progressWindow() != nullptr;
        seen.sourceOpen = context.source.isOpen();
        reports << seen;
        report->cmdOK->click();
    }
    QTimer catcher;
};

} // namespace

class TstRunDriver : public QObject
{
    Q_OBJECT

private slots:
    void noBoxTicked();
    void passes_data();
    void passes();
    void cancelFromProgressWindow_data();
    void cancelFromProgressWindow();
    void cancelDuringSalesRollsBackTheOpenDocument();
    void errorChoices_data();
    void errorChoices();
    void errorOutsideAStatementEndsTheRun();
    void ktzDatabaseThatCannotBeOpened();
    void unattendedStart();
    void hideAndRestore();
    void connectionText();
};

void TstRunDriver::noBoxTicked()
{
    Station s(3);
    QCOMPARE(s.run(), RunOutcome::Finished);
    // The pass opened its database and closed it again before the report.
    QCOMPARE(s.context.source.target().databaseName, s.ktzPath);
    QVERIFY(s.op.errorsSeen.isEmpty());
    QCOMPARE(s.reports.size(), 1);
    const SeenReport &r = s.reports.first();
    QCOMPARE(r.lines,
             QStringList({QStringLiteral("Artículos: No se realizó la Actualización"),
                          QStringLiteral("Clientes: No se realizó la Actualización"),
                          QStringLiteral("Ventas: No se realizó la Actualización"),
                          QStringLiteral("Remitos: No se realizó la Actualización")}));
    QCOMPARE(r.bold, QList<bool>({false, false, false, false}));
    QVERIFY(r.mainEnabled);
    QVERIFY(!r.progressLoaded);
    QVERIFY(!r.sourceOpen);
    QVERIFY(!s.cfgRow(QStringLiteral("KTZ_ULTIMAFECHA")).isValid());
}

void TstRunDriver::passes_data()
{
    QTest::addColumn<QString>("second"); // "<missing>" for no row at all
    QTest::addColumn<int>("passes");
    QTest::newRow("missing key") << QStringLiteral("<missing>") << 1;
    QTest::newRow("empty") << QString() << 1;
    QTest::newRow("blanks") << QStringLiteral("   ") << 1;
    QTest::newRow("second database") << QStringLiteral("<ktz2>") << 2;
}

void TstRunDriver::passes()
{
    QFETCH(QString, second);
    QFETCH(int, passes);
    Station s(3, 2);
    if (second == QLatin1String("<missing>"))
        s.execOrva(QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE CLAVE = 'KTZ_BASEDEDATOS2'"));
    else if (second != QLatin1String("<ktz2>"))
        s.setCfg(QStringLiteral("KTZ_BASEDEDATOS2"), second);
    s.tick({TransferKind::Articulos, TransferKind::Ventas, TransferKind::Remitos});
    // Changing the digits during the run does not reach the second pass.
    s.articles.onRecord = [&](RunContext &c, int) {
        c.session.GrabaDfg(QStringLiteral("Digitos_Cuenta"), QStringLiteral("9"));
    };

    QCOMPARE(s.run(), RunOutcome::Finished);
    QVERIFY2(s.op.errorsSeen.isEmpty(), qPrintable(s.op.errorsSeen.value(0).text()));
    QCOMPARE(s.reports.size(), passes);
    QCOMPARE(s.sales.passes, passes == 2 ? QList<int>({0, 1}) : QList<int>({0}));
    QCOMPARE(s.sales.digits, passes == 2 ? QList<qint16>({6, 6}) : QList<qint16>({6}));
    // Each report has the counts of its own pass: 3 records, then 2.
    QCOMPARE(s.reports[0].lines[0], QStringLiteral("Artículos Actualizados: 3 de 3 (0*)"));
    QCOMPARE(s.reports[0].lines[1], QStringLiteral("Clientes: No se realizó la Actualización"));
    QCOMPARE(s.reports[0].lines[3], QStringLiteral("Remitos Actualizados: 3 de 3 (0*)"));
    QCOMPARE(s.reports[0].bold, QList<bool>({true, false, true, true}));
    QCOMPARE(s.rowsWritten(TransferKind::Ventas, 0), 3);
    QCOMPARE(s.cfgRow(QStringLiteral("KTZ_ULTIMAFECHA")).toString(), QStringLiteral("2024-03-03"));
    QCOMPARE(s.cfgRow(QStringLiteral("KTZ_ULTIMAFECHAR")).toString(), QStringLiteral("2024-03-03"));
    if (passes == 1) {
        QVERIFY(!s.cfgRow(QStringLiteral("KTZ_ULTIMAFECHA2")).isValid());
        QVERIFY(!s.cfgRow(QStringLiteral("KTZ_ULTIMAFECHA2R")).isValid());
        return;
    }
    QCOMPARE(s.reports[1].lines[0], QStringLiteral("Artículos Actualizados: 2 de 2 (0*)"));
    QCOMPARE(s.reports[1].lines[3], QStringLiteral("Remitos Actualizados: 2 de 2 (0*)"));
    QCOMPARE(s.rowsWritten(TransferKind::Ventas, 1), 2);
    QCOMPARE(s.cfgRow(QStringLiteral("KTZ_ULTIMAFECHA2")).toString(), QStringLiteral("2024-04-02"));
    QCOMPARE(s.cfgRow(QStringLiteral("KTZ_ULTIMAFECHA2R")).toString(), QStringLiteral("2024-04-02"));
}

void TstRunDriver::cancelFromProgressWindow_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("No: the run goes on") << false;
    QTest::newRow("Yes: the run stops") << true;
}

void TstRunDriver::cancelFromProgressWindow()
{
    QFETCH(bool, answer);
    Station s(4, 2);
    s.tick({TransferKind::Articulos, TransferKind::Ventas});
    s.op.yesNoAnswers << answer;
    int yields = 0;
    s.context.onYield = [&] {
        if (++yields == 2)
            s.window.front().progressWindow()->CmdCancelar->click();
    };

    const RunOutcome outcome = s.run();
    QCOMPARE(s.op.messages.value(0), QStringLiteral("ATENCIÓN|¿Está seguro de cancelar el proceso?"));
    QVERIFY(!s.context.PARAR);
    if (!answer) {
        QCOMPARE(outcome, RunOutcome::Finished);
        QCOMPARE(s.reports.size(), 2);
        QCOMPARE(s.rowsWritten(TransferKind::Articulos, 0), 4);
        QCOMPARE(s.cfgRow(QStringLiteral("KTZ_ULTIMAFECHA")).toString(), QStringLiteral("2024-03-04"));
        return;
    }
    // Stopped before the second article: the report shows what was reached,
    // the sales step never ran, no date is stored and pass 1 does not run.
    QCOMPARE(outcome, RunOutcome::Cancelled);
    QCOMPARE(s.rowsWritten(TransferKind::Articulos, 0), 1);
    QVERIFY(s.sales.passes.isEmpty());
    QCOMPARE(s.articles.passes, QList<int>({0}));
    QCOMPARE(s.reports.size(), 1);
    QCOMPARE(s.reports[0].lines[0], QStringLiteral("Artículos Actualizados: 1 de 4 (3*)"));
    QCOMPARE(s.reports[0].lines[2], QStringLiteral("Ventas Actualizadas: 0 de 0 (0*)"));
    QVERIFY(s.reports[0].mainEnabled);
    QVERIFY(!s.reports[0].progressLoaded);
    QVERIFY(!s.cfgRow(QStringLiteral("KTZ_ULTIMAFECHA")).isValid());
}

void TstRunDriver::cancelDuringSalesRollsBackTheOpenDocument()
{
    Station s(3);
    s.tick({TransferKind::Ventas, TransferKind::Remitos});
    // The second document is stopped inside its transaction, after its write.
    s.sales.onRecord = [](RunContext &c, int record) {
        if (record == 1)
            return;
        c.PARAR = true;
        c.yield();
        c.stopIfRequested();
    };
    QCOMPARE(s.run(), RunOutcome::Cancelled);
    QCOMPARE(s.rowsWritten(TransferKind::Ventas, 0), 1); // the committed first document stays
    QVERIFY(!s.context.orva().inTransaction());
    QVERIFY(s.notes.passes.isEmpty());
    QCOMPARE(s.reports.size(), 1);
    QCOMPARE(s.reports[0].lines[2], QStringLiteral("Ventas Actualizadas: 0 de 3 (2*)"));
    QVERIFY(!s.cfgRow(QStringLiteral("KTZ_ULTIMAFECHA")).isValid());
    // Orva takes further work on the same connection.
    s.execOrva(QStringLiteral("INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES ('9', 'after')"));
    QCOMPARE(s.orvaValue(QStringLiteral("SELECT COUNT(*) FROM TA_ESTADOS")).toInt(), 2);
}

void TstRunDriver::errorChoices_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<int>("tries");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("documentsKept");
    QTest::addColumn<int>("reports");
    QTest::addColumn<bool>("dateStored");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QList<int>>("accounting"); // written, left out, failed, not reached
    QTest::newRow("retry runs the statement again")
        << 4 << int(ErrorNumber::SqlStatement) << 2 << int(RunOutcome::Finished) << 2 << 1 << true << 0
        << QList<int>{2, 0, 0, 0};
    // The document is written without what the statement would have written,
    // and that is named: the run finished with records left out.
    QTest::newRow("continue goes on after it") << 5 << int(ErrorNumber::SqlStatement) << 1 << int(RunOutcome::Finished)
                                               << 2 << 1 << true << 3 << QList<int>{2, 0, 0, 0};
    QTest::newRow("give up cleans up") << 3 << int(ErrorNumber::SqlStatement) << 1 << int(RunOutcome::GaveUp) << 1 << 1
                                       << false << 1 << QList<int>{1, 0, 1, 0};
    QTest::newRow("connection failure ends without report")
        << 3 << int(ErrorNumber::ConnectionFailure) << 1 << int(RunOutcome::ConnectionLost) << 1 << 0 << false << 1
        << QList<int>{1, 0, 1, 0};
}

void TstRunDriver::errorChoices()
{
    QFETCH(int, choice);
    QFETCH(int, errorNumber);
    QFETCH(int, tries);
    QFETCH(int, outcome);
    QFETCH(int, documentsKept);
    QFETCH(int, reports);
    QFETCH(bool, dateStored);
    QFETCH(int, exitCode);
    QFETCH(QList<int>, accounting);
    Station s(2);
    s.tick({TransferKind::Ventas});
    s.op.errorChoices << choice;
    int attempts = 0;
    bool after = false;
    // The second document's statement fails once, inside its transaction.
    s.sales.onRecord = [&](RunContext &c, int record) {
        if (record != 2)
            return;
        c.svc.errors.attempt([&] {
            if (++attempts == 1)
                throw RunTimeError(RunError{errorNumber, QStringLiteral("falla"), {}, QStringLiteral("UPDATE X"), {}});
        });
        after = true;
    };
    bool enabledDuringRun = true;
    s.context.onYield = [&] { enabledDuringRun = enabledDuringRun && !s.window.isEnabled(); };

    QCOMPARE(int(s.run()), outcome);
    QVERIFY(enabledDuringRun);
    QCOMPARE(s.op.errorsSeen.size(), 1);
    QCOMPARE(s.op.errorsSeen[0].procedure, QStringLiteral("ActualizaVentas"));
    QCOMPARE(s.op.errorsSeen[0].number, errorNumber);
    QCOMPARE(attempts, tries);
    QCOMPARE(after, outcome == int(RunOutcome::Finished));
    QCOMPARE(s.rowsWritten(TransferKind::Ventas, 0), documentsKept);
    QVERIFY(!s.context.orva().inTransaction());
    QCOMPARE(s.reports.size(), reports);
    QCOMPARE(s.cfgRow(QStringLiteral("KTZ_ULTIMAFECHA")).isValid(), dateStored);
    // The interactive program ends with the code of its last run.
    QCOMPARE(s.window.lastExitCode(), exitCode);
    const KindAccount sales = s.window.lastRun().passes.value(0).kind(TransferKind::Ventas);
    QCOMPARE(QList<int>({int(sales.written), int(sales.leftOut), int(sales.failed), int(sales.notReached())}),
             accounting);
    QCOMPARE(sales.read(), 2);
    QCOMPARE(sales.records.size(), exitCode == 0 ? 0 : 1);
    if (!sales.records.isEmpty())
        QCOMPARE(sales.records[0].record, QStringLiteral("registro 2"));
    // Whatever the end, the operator gets the window back.
    QVERIFY(s.window.isEnabled());
    QVERIFY(!s.window.front().progressWindow());
    QVERIFY(!s.context.source.isOpen());
}

void TstRunDriver::errorOutsideAStatementEndsTheRun()
{
    Station s(2);
    s.tick({TransferKind::Ventas});
    s.sales.onRecord = [](RunContext &, int record) {
        if (record == 2)
            throw RunTimeError(RunError{ErrorNumber::TypeMismatch, QStringLiteral("tipos"), {}, {}, {}});
    };
    QCOMPARE(s.run(), RunOutcome::GaveUp);
    QCOMPARE(s.rowsWritten(TransferKind::Ventas, 0), 1);
    QVERIFY(!s.context.orva().inTransaction());
    QCOMPARE(s.reports.size(), 1);
    QVERIFY(s.window.isEnabled());
}

void TstRunDriver::ktzDatabaseThatCannotBeOpened()
{
    Station s(1, 1);
    const QString missing = s.dir.filePath(QStringLiteral("no-such-station.fdb"));
    s.setCfg(QStringLiteral("KTZ_BASEDEDATOS2"), missing);
    s.setCfg(QStringLiteral("KTZ_PASSWORD2"), QStringLiteral("Clave2Secreta"));
    s.tick({TransferKind::Articulos});
    QCOMPARE(s.run(), RunOutcome::ConnectionLost);
    QCOMPARE(s.op.errorsSeen.size(), 1);
    const RunError &e = s.op.errorsSeen[0];
    QCOMPARE(e.number, int(ErrorNumber::ConnectionFailure));
    QVERIFY2(e.text().contains(QStringLiteral("paso 1")) && e.text().contains(missing), qPrintable(e.text()));
    QVERIFY(!e.text().contains(QStringLiteral("secreta"), Qt::CaseInsensitive));
    QVERIFY(!s.op.errorsSeen[0].description.contains(QStringLiteral("secreta"), Qt::CaseInsensitive));
    // Pass 0 ended normally with its report; pass 1 ends without one.
    QCOMPARE(s.reports.size(), 1);
    QCOMPARE(s.articles.passes, QList<int>({0}));
    QVERIFY(s.window.isEnabled());
}

void TstRunDriver::unattendedStart()
{
    Station s(2, 1);
    s.session.parameters.ParametroAdicional = QStringLiteral("desdetimer");
    bool hidden = false, minimised = false, enabled = false;
    s.articles.onRecord = [&](RunContext &c, int) {
        hidden = !s.window.front().progressWindow()->isVisible();
        minimised = s.window.isMinimized();
        enabled = s.window.isEnabled();
        QVERIFY(c.Minimizado);
    };
    s.window.Form_Load();
    // Every box ticked whatever its state, both passes run, no report window.
    for (ScriptedStep *step : {&s.articles, &s.customers, &s.sales, &s.notes})
        QCOMPARE(step->passes, QList<int>({0, 1}));
    QCOMPARE(s.window.lastOutcome(), RunOutcome::Finished);
    QVERIFY(s.reports.isEmpty());
    QVERIFY(hidden && minimised && enabled);
    QVERIFY(!s.window.isVisible()); // the window is unloaded: the program ends
    QCOMPARE(s.cfgRow(QStringLiteral("KTZ_ULTIMAFECHA2")).toString(), QStringLiteral("2024-04-01"));
}

void TstRunDriver::hideAndRestore()
{
    Station s(3);
    s.window.Form_Load();
    s.tick({TransferKind::Clientes});
    bool hiddenOk = false, restoredOk = false;
    s.customers.onRecord = [&](RunContext &c, int record) {
        FrmStatus *status = s.window.front().progressWindow();
        if (record == 1) {
            status->cmdOcultar->click();
            hiddenOk = c.Minimizado && !status->isVisible() && s.window.isEnabled() && s.window.isMinimized();
            s.window.showNormal();
            s.window.activateWindow();
            QCoreApplication::processEvents();
            restoredOk = !c.Minimizado && status->isVisible() && !s.window.isEnabled();
        }
        if (record == 3)
            status->cmdOcultar->click(); // still hidden when the run ends
    };
    QCOMPARE(s.run(), RunOutcome::Finished);
    QVERIFY(hiddenOk);
    QVERIFY(restoredOk);
    // Restored after the run: nothing to bring back, the window stays usable.
    s.window.showNormal();
    QCoreApplication::processEvents();
    QVERIFY(!s.context.Minimizado);
    QVERIFY(s.window.isEnabled());
}

void TstRunDriver::connectionText()
{
    Station s(0);
    s.setCfg(QStringLiteral("KTZ_SERVIDOR2"), QStringLiteral(" srv "));
    s.setCfg(QStringLiteral("KTZ_BASEDEDATOS2"), QStringLiteral("C:\\KTZ\\DATOS.GDB"));
    s.setCfg(QStringLiteral("KTZ_PASSWORD2"), QStringLiteral("MasterKEY"));
    s.context.KeySuffix = QStringLiteral("2");
    RunDriver driver(s.context, s.window.front(), {});
    // A missing user reads as one blank; the password goes in lower case.
    QCOMPARE(driver.sourceConnectionText(),
             QStringLiteral("Driver={Easysoft IB6 ODBC};Server= srv ;Database=C:\\KTZ\\DATOS.GDB;Uid= ;Pwd=masterkey"));
}

QTEST_MAIN(TstRunDriver)
#include "tst_rundriver.moc"
