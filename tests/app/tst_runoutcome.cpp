// How a run ends, as a scheduler sees it: the exit code, the report on
// standard output and the JSON report of "@Informe", for a clean run, stock
// lines the database refuses, a note line without its article, a document
// error in an unattended run, a cancel and a stop signal inside a document,
// an Orva file that is not a database, a missing Orva and a second start.
// Orva and KTZ are real SQLite files.

#include "deliverynotes/deliverynotetransfer.h"
#include "deliverynotes/notefixture.h"
#include "run/stopsignals.h"
#include "sales/salesfixture.h"
#include "support/fixtures.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <csignal>

namespace {

struct Result
{
    int exitCode = -1;
    QString out, err;
};

// KTZ: invoices 1 and 2 (two lines each), notes 11, 12, 13 of point of
// sale 3 (numbers 125, 126, 127), each with the two lines of articles 10, 11.
QString ktzRows(const QString &extra = {})
{
    QString sql = articles();
    for (int i = 1; i <= 2; ++i) {
        sql += salestest::simpleInvoice(i, QStringLiteral("2026-03-0%1").arg(i + 1), 1000 + i);
        for (int line = 0; line < 2; ++line)
            sql += salestest::invoiceLine(
                QStringLiteral("%1, %2, 2, 'LT', 'ACEITE', 1, 60.5, 0, 10.5").arg(i).arg(10 + line));
    }
    for (int i = 0; i < 3; ++i) {
        sql += noteRow(11 + i, QStringLiteral("2026-03-0%1").arg(i + 2), 3, 125 + i);
        sql += twoLines(11 + i);
    }
    return sql + extra;
}

// A station: Orva configured for sales and notes (its KTZ database set), the
// KTZ database, a program folder and the report's path.
class Station
{
public:
    // trigger: one statement run on Orva after its rows (a trigger's body has ";").
    explicit Station(const QString &trigger = {}, const QString &ktzExtra = {})
    {
        orva = dir.filePath(QStringLiteral("orva.db"));
        ktz = dir.filePath(QStringLiteral("ktz.db"));
        report = dir.filePath(QStringLiteral("informe.json"));
        folder = dir.filePath(QStringLiteral("prog"));
        createSqliteDatabase(ktz, QStringLiteral("schema/ktz.sqlite.sql"), ktzRows(ktzExtra));
        createSqliteDatabase(orva, QStringLiteral("schema/orva.sqlite.sql"),
                             salestest::orvaBase() + rmBook(1, 3, 100)
                                 + QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES "
                                                  "('KTZ_BASEDEDATOS', '%1', 'DATOS');\n")
                                       .arg(ktz));
        if (!trigger.isEmpty())
            queryRows(orva, trigger);
    }

    QString arguments(const QString &orvaPath) const
    {
        return QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=%1;@Datos=Ventas,Remitos;@Informe=%2;")
            .arg(orvaPath, report);
    }

    Result run() const { return run(arguments(orva)); }
    Result run(const QString &args) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TRASPASOR_PROGRAM_FOLDER"), folder);
        env.remove(QStringLiteral("DISPLAY"));
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("TRASPASOR_TEST_BIN"), {args});
        if (!p.waitForFinished(120000))
            qFatal("the program did not finish");
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    QJsonObject json() const { return readJson(report); }
    static QJsonObject readJson(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
        if (error.error != QJsonParseError::NoError)
            qWarning("report is not JSON: %s", qPrintable(error.errorString()));
        return doc.object();
    }
    QString logText() const
    {
        QFile file(folder + QStringLiteral("/traspasor.log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    int orvaCount(const QString &table) const
    {
        return queryValue(orva, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
    }

    QTemporaryDir dir;
    QString orva, ktz, report, folder;
};

// The counts of one kind: read, written, unchanged, left_out, failed, not_reached.
QList<int> counts(const QJsonObject &kind)
{
    QList<int> c;
    for (const char *key : {"read", "written", "unchanged", "left_out", "failed", "not_reached"})
        c << kind.value(QLatin1String(key)).toInt(-1);
    return c;
}

QJsonObject kindOf(const QJsonObject &report, int pass, const char *kind)
{
    return report.value(QStringLiteral("passes"))
        .toArray()
        .at(pass)
        .toObject()
        .value(QStringLiteral("kinds"))
        .toObject()
        .value(QLatin1String(kind))
        .toObject();
}

// Every kind of every pass adds up to what was read, and the run's fields
// are there with their types.
void checkShape(const QJsonObject &report)
{
    for (const char *key : {"version", "run_id", "started", "ended", "orva", "status"})
        QVERIFY2(report.value(QLatin1String(key)).isString(), key);
    QVERIFY(report.value(QStringLiteral("exit_code")).isDouble());
    const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$"));
    QVERIFY(iso.match(report.value(QStringLiteral("started")).toString()).hasMatch());
    QVERIFY(iso.match(report.value(QStringLiteral("ended")).toString()).hasMatch());
    for (const QJsonValue &p : report.value(QStringLiteral("passes")).toArray()) {
        const QJsonObject pass = p.toObject();
        for (const char *key : {"pass", "ktz", "status", "dates_before", "dates_after", "kinds"})
            QVERIFY2(pass.contains(QLatin1String(key)), key);
        const QJsonObject kinds = pass.value(QStringLiteral("kinds")).toObject();
        QCOMPARE(kinds.keys(),
                 QStringList({QStringLiteral("articulos"), QStringLiteral("clientes"), QStringLiteral("remitos"),
                              QStringLiteral("ventas")}));
        for (const QJsonValue &k : kinds) {
            const QList<int> c = counts(k.toObject());
            QVERIFY(!c.contains(-1));
            QCOMPARE(c[1] + c[2] + c[3] + c[4] + c[5], c[0]);
            // Every record left out or failed is named; a kind with records
            // shows them in its counts or as lines of a written document.
            for (const QJsonValue &r : k.toObject().value(QStringLiteral("records")).toArray()) {
                const QJsonObject record = r.toObject();
                QVERIFY(!record.value(QStringLiteral("record")).toString().isEmpty());
                QVERIFY(!record.value(QStringLiteral("step")).toString().isEmpty());
                QVERIFY(!record.value(QStringLiteral("reason")).toString().isEmpty());
                const QString problem = record.value(QStringLiteral("problem")).toString();
                QVERIFY(problem == QLatin1String("left_out") || problem == QLatin1String("failed"));
            }
        }
    }
}

QStringList recordNames(const QJsonObject &kind, const QString &problem)
{
    QStringList names;
    for (const QJsonValue &r : kind.value(QStringLiteral("records")).toArray()) {
        if (r.toObject().value(QStringLiteral("problem")).toString() == problem)
            names << r.toObject().value(QStringLiteral("record")).toString() + QStringLiteral(" | ")
                    + r.toObject().value(QStringLiteral("reason")).toString();
    }
    return names;
}

QJsonObject datesOf(const QJsonObject &report, const char *which)
{
    return report.value(QStringLiteral("passes")).toArray().at(0).toObject().value(QLatin1String(which)).toObject();
}

} // namespace

class TstRunOutcome : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanRunThenNothingToChange();
    void stockLinesRefused();
    void noteLineWithoutItsArticle();
    void documentErrorUnattended();
    void dateThatCannotBeStored();
    void stoppedInsideADocument_data();
    void stoppedInsideADocument();
    void orvaThatCannotBeOpened_data();
    void orvaThatCannotBeOpened();
    void secondStart();
    void reportThatCannotBeWritten();
};

void TstRunOutcome::initTestCase()
{
    QVERIFY(!qEnvironmentVariable("TRASPASOR_TEST_BIN").isEmpty());
}

void TstRunOutcome::cleanRunThenNothingToChange()
{
    Station s;
    const Result first = s.run();
    QVERIFY2(first.exitCode == 0, qPrintable(first.err));
    QVERIFY(first.out.contains(QStringLiteral("Paso 0 - Actualización Finalizada")));
    // Three journal lines each, counted as four: the line undercounts, as it always did.
    QVERIFY2(first.out.contains(QStringLiteral("Ventas Actualizadas: 1 de 2 (0*)")), qPrintable(first.out));
    QVERIFY(first.out.contains(QStringLiteral("Estado: terminada\n")));
    QVERIFY(first.out.contains(QStringLiteral("Ventas: 2 leídos = 2 grabados + 0 sin cambios")));
    QJsonObject r = s.json();
    checkShape(r);
    QCOMPARE(r.value(QStringLiteral("status")).toString(), QStringLiteral("completed"));
    QCOMPARE(r.value(QStringLiteral("exit_code")).toInt(), 0);
    QCOMPARE(r.value(QStringLiteral("orva")).toString(), QStringLiteral("QSQLITE ") + s.orva);
    QCOMPARE(r.value(QStringLiteral("passes")).toArray().size(), 1);
    QCOMPARE(r.value(QStringLiteral("passes")).toArray()[0].toObject().value(QStringLiteral("ktz")).toString(), s.ktz);
    QCOMPARE(counts(kindOf(r, 0, "ventas")), QList<int>({2, 2, 0, 0, 0, 0}));
    QCOMPARE(counts(kindOf(r, 0, "remitos")), QList<int>({3, 3, 0, 0, 0, 0}));
    QCOMPARE(kindOf(r, 0, "articulos").value(QStringLiteral("selected")).toBool(), false);
    QVERIFY(datesOf(r, "dates_before").value(QStringLiteral("KTZ_ULTIMAFECHA")).isNull());
    QCOMPARE(datesOf(r, "dates_after").value(QStringLiteral("KTZ_ULTIMAFECHA")).toString(),
             QStringLiteral("2026-03-03"));
    QCOMPARE(datesOf(r, "dates_after").value(QStringLiteral("KTZ_ULTIMAFECHAR")).toString(),
             QStringLiteral("2026-03-04"));

    // The log: every line of the run carries its id, the last one sums it up.
    const QString runId = r.value(QStringLiteral("run_id")).toString();
    const QStringList lines = s.logText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    for (const QString &line : lines)
        QVERIFY2(line.contains(QStringLiteral(" [") + runId + QStringLiteral("] ")), qPrintable(line));
    QVERIFY2(lines.last().contains(QStringLiteral("Fin de la ejecución ") + runId + QStringLiteral(": completed")),
             qPrintable(lines.last()));
    QVERIFY(lines.last().contains(QStringLiteral("ventas 2 leídos/2 grabados")));

    // Run again: the ">=" date filter reads the last day again, Orva has it.
    const Result second = s.run();
    QCOMPARE(second.exitCode, 0);
    r = s.json();
    checkShape(r);
    QVERIFY(r.value(QStringLiteral("run_id")).toString() != runId);
    QCOMPARE(counts(kindOf(r, 0, "ventas")), QList<int>({1, 0, 1, 0, 0, 0}));
    QCOMPARE(counts(kindOf(r, 0, "remitos")), QList<int>({1, 0, 1, 0, 0, 0}));
}

void TstRunOutcome::stockLinesRefused()
{
    Station s(QStringLiteral("CREATE TRIGGER no_stock BEFORE INSERT ON V_MV_STOCK "
                             "BEGIN SELECT RAISE(ABORT, 'existencias bloqueadas'); END"));
    const Result res = s.run();
    QCOMPARE(res.exitCode, 3);
    QVERIFY(res.out.contains(QStringLiteral("Paso 0 - Actualización Finalizada")));
    QVERIFY(res.out.contains(QStringLiteral("Estado: terminada con registros omitidos")));
    QVERIFY(res.out.contains(QStringLiteral("Omitido: factura 1 (punto de venta 5, número 1001, letra B), renglón 2")));
    const QJsonObject r = s.json();
    checkShape(r);
    QCOMPARE(r.value(QStringLiteral("status")).toString(), QStringLiteral("completed_with_omissions"));
    QCOMPARE(r.value(QStringLiteral("exit_code")).toInt(), 3);
    // The documents are written without their stock lines; each line is named.
    QCOMPARE(counts(kindOf(r, 0, "ventas")), QList<int>({2, 2, 0, 0, 0, 0}));
    const QStringList named = recordNames(kindOf(r, 0, "ventas"), QStringLiteral("left_out"));
    QCOMPARE(named.size(), 4);
    for (const QString &n : named)
        QVERIFY2(n.contains(QStringLiteral(", renglón ")) && n.contains(QStringLiteral("existencias bloqueadas")),
                 qPrintable(n));
    QCOMPARE(kindOf(r, 0, "ventas")
                 .value(QStringLiteral("records"))
                 .toArray()[0]
                 .toObject()
                 .value(QStringLiteral("step"))
                 .toString(),
             QStringLiteral("GrabaStockVenta"));
    QCOMPARE(s.orvaCount(QStringLiteral("MV_ASIENTOS")), 6);
    QCOMPARE(s.orvaCount(QStringLiteral("V_MV_STOCK")), 0);
    QCOMPARE(counts(kindOf(r, 0, "remitos")), QList<int>({3, 3, 0, 0, 0, 0}));
    // The date still moves: the documents are in Orva.
    QCOMPARE(datesOf(r, "dates_after").value(QStringLiteral("KTZ_ULTIMAFECHA")).toString(),
             QStringLiteral("2026-03-03"));
}

void TstRunOutcome::noteLineWithoutItsArticle()
{
    Station s({},
              QStringLiteral("INSERT INTO FACT_OUT (FCOUT_ID, FCOUT_PROD_ID, FCOUT_RUB, FCOUT_UNID, FCOUT_DESCR, "
                             "FCOUT_CANT, FCOUT_PVENTA, FCOUT_NETO, FCOUT_IVA_PORC, FCOUT_TOTAL) VALUES "
                             "(12, 99, 2, 'UN', 'VARIOS', 1, 10, 10, 21, 10);\n"));
    const Result res = s.run();
    QCOMPARE(res.exitCode, 3);
    const QJsonObject r = s.json();
    checkShape(r);
    QCOMPARE(r.value(QStringLiteral("status")).toString(), QStringLiteral("completed_with_omissions"));
    QCOMPARE(counts(kindOf(r, 0, "remitos")), QList<int>({3, 3, 0, 0, 0, 0}));
    const QStringList named = recordNames(kindOf(r, 0, "remitos"), QStringLiteral("left_out"));
    QCOMPARE(named.size(), 1);
    QVERIFY2(named[0].contains(QStringLiteral("número 126"))
                 && named[0].contains(QStringLiteral("artículo 99 (VARIOS)"))
                 && named[0].contains(QStringLiteral("PRODUCTO")),
             qPrintable(named[0]));
    QCOMPARE(counts(kindOf(r, 0, "ventas")), QList<int>({2, 2, 0, 0, 0, 0}));
    QCOMPARE(s.orvaCount(QStringLiteral("V_MV_CPTEINSUMOS")), 6);
}

void TstRunOutcome::documentErrorUnattended()
{
    // Orva refuses the second note's voucher: nobody answers, the run gives up.
    Station s(QStringLiteral("CREATE TRIGGER bad_note BEFORE INSERT ON V_MV_CPTE WHEN NEW.IDCOMPROBANTE = "
                             "'000300000126R' BEGIN SELECT RAISE(ABORT, 'comprobante rechazado'); END"));
    const Result res = s.run();
    QCOMPARE(res.exitCode, 1);
    QVERIFY(!res.out.contains(QStringLiteral("Actualización Finalizada")));
    QVERIFY(res.out.contains(QStringLiteral("Paso 0 - Actualización Abandonada")));
    QVERIFY(res.out.contains(QStringLiteral("Remitos Actualizados: 1 de 3 (2*)"))); // the report's own line
    QVERIFY(res.out.contains(
        QStringLiteral("Remitos: 3 leídos = 1 grabados + 0 sin cambios + 0 omitidos + 1 fallidos + 1 no alcanzados")));
    const QJsonObject r = s.json();
    checkShape(r);
    QCOMPARE(r.value(QStringLiteral("status")).toString(), QStringLiteral("abandoned"));
    QCOMPARE(r.value(QStringLiteral("exit_code")).toInt(), 1);
    QVERIFY(r.value(QStringLiteral("reason")).toString().contains(QStringLiteral("comprobante rechazado")));
    QCOMPARE(r.value(QStringLiteral("passes")).toArray()[0].toObject().value(QStringLiteral("status")).toString(),
             QStringLiteral("abandoned"));
    QCOMPARE(counts(kindOf(r, 0, "remitos")), QList<int>({3, 1, 0, 0, 1, 1}));
    const QStringList failed = recordNames(kindOf(r, 0, "remitos"), QStringLiteral("failed"));
    QCOMPARE(failed.size(), 1);
    QVERIFY2(failed[0].startsWith(QStringLiteral("remito R punto de venta 3, número 126"))
                 && failed[0].contains(QStringLiteral("comprobante rechazado")),
             qPrintable(failed[0]));
    // Nothing of the failed note is in Orva and no date moved.
    QCOMPARE(s.orvaCount(QStringLiteral("V_MV_CPTE")), 1);
    QCOMPARE(s.orvaCount(QStringLiteral("V_MV_CPTEINSUMOS")), 2);
    QCOMPARE(datesOf(r, "dates_after"), datesOf(r, "dates_before"));
    QVERIFY(!queryValue(s.orva, QStringLiteral("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'KTZ_ULTIMAFECHA'"))
                 .isValid());
}

void TstRunOutcome::dateThatCannotBeStored()
{
    // Every document reaches Orva, but the notes' date is refused: the pass
    // did not store where it got to, so the run did not finish.
    Station s(QStringLiteral("CREATE TRIGGER no_date BEFORE INSERT ON TA_CONFIGURACION WHEN NEW.CLAVE = "
                             "'KTZ_ULTIMAFECHAR' BEGIN SELECT RAISE(ABORT, 'configuración bloqueada'); END"));
    const Result res = s.run();
    QCOMPARE(res.exitCode, 1);
    QVERIFY(!res.out.contains(QStringLiteral("Actualización Finalizada")));
    const QJsonObject r = s.json();
    checkShape(r);
    QCOMPARE(r.value(QStringLiteral("status")).toString(), QStringLiteral("abandoned"));
    QCOMPARE(r.value(QStringLiteral("reason")).toString(), QStringLiteral("no se guardó KTZ_ULTIMAFECHAR"));
    QCOMPARE(counts(kindOf(r, 0, "remitos")), QList<int>({3, 3, 0, 0, 0, 0}));
    // The report says which date Orva holds: the sales date, stored first.
    QCOMPARE(datesOf(r, "dates_after").value(QStringLiteral("KTZ_ULTIMAFECHA")).toString(),
             QStringLiteral("2026-03-03"));
    QVERIFY(datesOf(r, "dates_after").value(QStringLiteral("KTZ_ULTIMAFECHAR")).isNull());
    QVERIFY(!queryValue(s.orva, QStringLiteral("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'KTZ_ULTIMAFECHAR'"))
                 .isValid());
}

void TstRunOutcome::stoppedInsideADocument_data()
{
    QTest::addColumn<bool>("bySignal");
    QTest::newRow("operator's cancel") << false;
    QTest::newRow("SIGTERM") << true;
}

void TstRunOutcome::stoppedInsideADocument()
{
    QFETCH(bool, bySignal);
    QString ktz;
    for (int i = 1; i <= 3; ++i)
        ktz += salestest::simpleInvoice(i, QStringLiteral("2026-03-0%1").arg(i + 1), 1000 + i);
    RunFixture f(salestest::orvaBase(), ktz);
    f.execOrva(
        QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('KTZ_BASEDEDATOS', '%1', 'DATOS')")
            .arg(f.ktzPath));
    f.session.parameters.Informe = f.dir.filePath(QStringLiteral("informe.json"));
    StopSignals::instance().install();
    SalesTransfer sales;
    OneKindFront front(TransferKind::Ventas);
    RunDriver driver(f.context, front, {nullptr, nullptr, &sales, nullptr});
    driver.unattended = true;
    // The sales walk yields before each document and again inside its
    // transaction: the fourth yield is inside the second document.
    int yields = 0;
    f.context.onYield = [&] {
        if (++yields != 4)
            return;
        QVERIFY(f.context.orva().inTransaction());
        if (bySignal)
            std::raise(SIGTERM);
        else
            f.context.PARAR = true;
    };
    QCOMPARE(driver.cmdActualizar_Click(), RunOutcome::Cancelled);
    StopSignals::clear();

    const RunAccount &run = driver.lastRun();
    QCOMPARE(run.status, RunStatus::Cancelled);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.reason.contains(QStringLiteral("SIGTERM")), bySignal);
    // The second document is rolled back, the first stays; no date is stored.
    QVERIFY(!f.context.orva().inTransaction());
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(DISTINCT CPTE_ORIGEN) FROM MV_ASIENTOS")).toInt(), 1);
    QVERIFY(
        !f.orvaValue(QStringLiteral("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'KTZ_ULTIMAFECHA'")).isValid());

    const QJsonObject r = Station::readJson(f.session.parameters.Informe);
    checkShape(r);
    QCOMPARE(r.value(QStringLiteral("status")).toString(), QStringLiteral("cancelled"));
    QCOMPARE(r.value(QStringLiteral("exit_code")).toInt(), 1);
    QCOMPARE(r.value(QStringLiteral("passes")).toArray()[0].toObject().value(QStringLiteral("status")).toString(),
             QStringLiteral("cancelled"));
    QCOMPARE(counts(kindOf(r, 0, "ventas")), QList<int>({3, 1, 0, 0, 0, 2}));
    QVERIFY(kindOf(r, 0, "ventas").value(QStringLiteral("records")).toArray().isEmpty());
    QCOMPARE(datesOf(r, "dates_after"), datesOf(r, "dates_before"));
}

void TstRunOutcome::orvaThatCannotBeOpened_data()
{
    QTest::addColumn<bool>("exists");
    QTest::newRow("not a database") << true;
    QTest::newRow("missing") << false;
}

void TstRunOutcome::orvaThatCannotBeOpened()
{
    QFETCH(bool, exists);
    Station s;
    const QString target = s.dir.filePath(QStringLiteral("orva-texto.db"));
    if (exists) {
        QFile text(target);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(QByteArray("Esto no es una base de datos, solo un texto bastante largo.\n").repeated(40));
    }
    const Result res = s.run(s.arguments(target) + QStringLiteral("@Password=Secreto9;"));
    QCOMPARE(res.exitCode, 2);
    // One line saying so, not a cascade of configuration errors.
    const QStringList lines = res.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].contains(target), qPrintable(lines[0]));
    if (exists)
        QVERIFY2(lines[0].contains(QStringLiteral("no es una base de datos")), qPrintable(lines[0]));
    QVERIFY(res.out.isEmpty());
    const QJsonObject r = s.json();
    checkShape(r);
    QCOMPARE(r.value(QStringLiteral("status")).toString(), QStringLiteral("not_started"));
    QCOMPARE(r.value(QStringLiteral("exit_code")).toInt(), 2);
    QVERIFY(r.value(QStringLiteral("passes")).toArray().isEmpty());
    QVERIFY(r.value(QStringLiteral("orva")).toString().contains(target));
    QVERIFY(!QJsonDocument(r).toJson().contains("Secreto9"));
    QCOMPARE(QFile::exists(target), exists);
}

void TstRunOutcome::secondStart()
{
    Station s;
    // A first start waits for its operator (windows off screen) ...
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TRASPASOR_PROGRAM_FOLDER"), s.folder);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    first.setProcessEnvironment(env);
    first.start(qEnvironmentVariable("TRASPASOR_TEST_BIN"), {QStringLiteral("@DbName=%1;").arg(s.orva)});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(s.logText().contains(QStringLiteral("Conectado a Orva")), 30000);
    QTest::qWait(300);

    // ... so the scheduler's start is refused, and says so.
    const Result res = s.run();
    QCOMPARE(res.exitCode, 75);
    const QJsonObject r = s.json();
    checkShape(r);
    QCOMPARE(r.value(QStringLiteral("status")).toString(), QStringLiteral("not_started"));
    QCOMPARE(r.value(QStringLiteral("exit_code")).toInt(), 75);
    QCOMPARE(s.orvaCount(QStringLiteral("MV_ASIENTOS")), 0);
    // Both starts write to one log; the refused one's lines carry its own id.
    const QString runId = r.value(QStringLiteral("run_id")).toString();
    QVERIFY(s.logText().contains(QStringLiteral("[") + runId + QStringLiteral("] AVISO Ya hay otra instancia")));
    QSet<QString> ids;
    const QRegularExpression idOf(QStringLiteral("^[^\\[]*\\[([^\\]]+)\\] "));
    for (const QString &line : s.logText().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        ids << idOf.match(line).captured(1);
    QCOMPARE(ids.size(), 2);
    QVERIFY(ids.contains(runId) && !ids.contains(QString()));

    // A stop signal to the idle program ends it; it ran nothing: exit 0.
    first.terminate();
    QVERIFY(first.waitForFinished(30000));
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 0);
}

void TstRunOutcome::reportThatCannotBeWritten()
{
    Station s;
    const QString unwritable = s.dir.filePath(QStringLiteral("no-such-folder/informe.json"));
    const Result res = s.run(s.arguments(s.orva).replace(s.report, unwritable));
    // The run itself succeeded: its exit code stays; stderr and the log say why
    // the report is missing.
    QCOMPARE(res.exitCode, 0);
    QVERIFY2(res.err.contains(unwritable), qPrintable(res.err));
    QVERIFY(s.logText().contains(QStringLiteral("No se pudo escribir el informe ") + unwritable));
    QCOMPARE(s.orvaCount(QStringLiteral("V_MV_CPTE")), 3);
}

QTEST_GUILESS_MAIN(TstRunOutcome)
#include "tst_runoutcome.moc"
