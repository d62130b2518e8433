// The reconciliation as a scheduler or an accountant starts it, over the
// demo stations transferred into Orva by the program itself: what it names,
// what it prints, its exit status and its JSON document, and that it leaves
// every database byte for byte as it found it.

#include "support/fixtures.h"
#include "support/programrun.h"
#include "support/transferreddemo.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Result
{
    int exitCode = -1;
    QString out, err;
    QJsonObject report;
};

Result runProgram(const QString &arguments, const QString &programFolder, const QString &reportPath = {})
{
    const ProgramResult run = runTraspasor({arguments}, programFolder);
    Result r{run.exitCode, run.out, run.err, {}};
    QFile report(reportPath);
    if (!reportPath.isEmpty() && report.open(QIODevice::ReadOnly))
        r.report = QJsonDocument::fromJson(report.readAll()).object();
    return r;
}

QByteArray checksum(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// "station date kind document problem" for every document a day names.
QStringList findings(const QJsonObject &report)
{
    QStringList list;
    for (const QJsonValue &day : report.value(QStringLiteral("days")).toArray()) {
        const QJsonObject d = day.toObject();
        for (const QJsonValue &doc : d.value(QStringLiteral("documents")).toArray())
            list << QStringLiteral("%1 %2 %3 %4: %5")
                        .arg(d.value(QStringLiteral("station")).toInt())
                        .arg(d.value(QStringLiteral("date")).toString(), d.value(QStringLiteral("kind")).toString(),
                             doc.toObject().value(QStringLiteral("document")).toString(),
                             doc.toObject().value(QStringLiteral("problem")).toString());
    }
    list.sort();
    return list;
}

// The verdict of each station, day and kind: "0 2026-03-02 facturas" -> "reconciled".
QMap<QString, QString> verdicts(const QJsonObject &report)
{
    QMap<QString, QString> map;
    for (const QJsonValue &day : report.value(QStringLiteral("days")).toArray()) {
        const QJsonObject d = day.toObject();
        map.insert(QStringLiteral("%1 %2 %3")
                       .arg(d.value(QStringLiteral("station")).toInt())
                       .arg(d.value(QStringLiteral("date")).toString(), d.value(QStringLiteral("kind")).toString()),
                   d.value(QStringLiteral("verdict")).toString());
    }
    return map;
}

} // namespace

class TstReconciliation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanTransferReconciles();
    void changedOrvaNamesExactlyTheChangedDocuments();
    void unreadableRowsMakeTheirDayNotReadable();
    void stationThatCannotBeOpened();
    void unwritableReportIsNotFinished();
    void badRangeIsAUsageError_data();
    void badRangeIsAUsageError();

private:
    // A copy of the transferred Orva for one test; its KTZ stations stay those of the demo.
    QString orvaCopy(const QString &name);
    Result reconcile(const QString &orva, const QString &extra = {});
    QStringList checksums(const QStringList &files);
    // Reconciles orva and checks the exit code, the JSON status, and that
    // orva and the KTZ files are byte for byte what they were.
    Result reconcileReadOnly(const QString &orva, const QStringList &ktzFiles, int exitCode, const QString &status);
    QStringList demoStations() const
    {
        return {m_demo + QStringLiteral("/ktz.db"), m_demo + QStringLiteral("/ktz2.db")};
    }

    QTemporaryDir m_dir;
    QString m_demo;
    QMap<QString, QString> m_cleanVerdicts;
};

void TstReconciliation::initTestCase()
{
    m_demo = m_dir.filePath(QStringLiteral("demo"));
    QString error;
    QVERIFY2(makeTransferredDemo(m_demo, m_dir.filePath(QStringLiteral("prog")), &error), qPrintable(error));
}

QString TstReconciliation::orvaCopy(const QString &name)
{
    const QString path = m_dir.filePath(name + QStringLiteral(".db"));
    QFile::remove(path);
    if (!QFile::copy(m_demo + QStringLiteral("/orva.db"), path))
        qFatal("cannot copy the demo Orva");
    return path;
}

Result TstReconciliation::reconcile(const QString &orva, const QString &extra)
{
    const QString report = orva + QStringLiteral(".json");
    return runProgram(QStringLiteral("@ParametroAdicional=Conciliar;@DbName=%1;@Informe=%2;").arg(orva, report) + extra,
                      m_dir.filePath(QStringLiteral("prog")), report);
}

QStringList TstReconciliation::checksums(const QStringList &files)
{
    QStringList sums;
    for (const QString &file : files)
        sums << QString::fromLatin1(checksum(file).toHex());
    return sums;
}

Result TstReconciliation::reconcileReadOnly(const QString &orva, const QStringList &ktzFiles, int exitCode,
                                            const QString &status)
{
    const QStringList files = QStringList{orva} + ktzFiles;
    const QStringList before = checksums(files);
    const Result r = reconcile(orva);
    if (r.exitCode != exitCode)
        qWarning("%s", qPrintable(r.out + r.err));
    [&] {
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.report.value(QStringLiteral("status")).toString(), status);
        QCOMPARE(checksums(files), before);
    }();
    return r;
}

void TstReconciliation::cleanTransferReconciles()
{
    const Result r =
        reconcileReadOnly(orvaCopy(QStringLiteral("clean")), demoStations(), 0, QStringLiteral("reconciled"));
    if (QTest::currentTestFailed())
        return;
    QVERIFY(findings(r.report).isEmpty());

    m_cleanVerdicts = verdicts(r.report);
    // Both stations, every kind, each day of the demo.
    QCOMPARE(m_cleanVerdicts.size(), 13);
    QVERIFY(m_cleanVerdicts.contains(QStringLiteral("0 2026-03-02 cargas")));
    QVERIFY(m_cleanVerdicts.contains(QStringLiteral("1 2026-03-04 remitos")));
    // The invoice of the station's later day comes after its last fuel load: still reconciled.
    QVERIFY(m_cleanVerdicts.contains(QStringLiteral("1 2026-03-04 facturas")));
    for (const QString &verdict : m_cleanVerdicts)
        QCOMPARE(verdict, QStringLiteral("reconciled"));
    const QJsonObject first = r.report.value(QStringLiteral("days")).toArray().first().toObject();
    QCOMPARE(first.value(QStringLiteral("ktz_count")).toInt(), 2);
    QCOMPARE(first.value(QStringLiteral("orva_count")).toInt(), 2);
    QCOMPARE(first.value(QStringLiteral("ktz_total")).toDouble(), 95600.0);
    QCOMPARE(first.value(QStringLiteral("orva_total")).toDouble(), 95600.0);

    // What the transfer leaves out by rule is listed apart, never as missing.
    QStringList left;
    for (const QJsonValue &v : r.report.value(QStringLiteral("not_transferable")).toArray())
        left << v.toObject().value(QStringLiteral("document")).toString() + QLatin1Char(' ')
                + v.toObject().value(QStringLiteral("rule")).toString();
    QCOMPARE(left,
             (QStringList{QStringLiteral("factura 1007 (punto de venta 5, número 15, letra C) letter"),
                          QStringLiteral("factura 1008 (punto de venta 5, número 0, letra B) number"),
                          QStringLiteral("carga 1008 (tipo 3, número 0) number")}));
    QVERIFY(r.out.contains(QStringLiteral("Resultado: todo conciliado")));
}

void TstReconciliation::changedOrvaNamesExactlyTheChangedDocuments()
{
    if (m_cleanVerdicts.isEmpty())
        QSKIP("needs the clean reconciliation");
    const QString orva = orvaCopy(QStringLiteral("changed"));
    runSqliteScript(orva, fourOrvaChangesSqlite());

    const Result r = reconcileReadOnly(orva, demoStations(), 3, QStringLiteral("differences"));
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(findings(r.report), fourChangedDocuments());

    QMap<QString, QString> expected = m_cleanVerdicts;
    expected[QStringLiteral("0 2026-03-02 facturas")] = QStringLiteral("missing");
    expected[QStringLiteral("0 2026-03-02 cargas")] = QStringLiteral("doubled");
    expected[QStringLiteral("0 2026-03-03 remitos")] = QStringLiteral("amounts_differ");
    expected[QStringLiteral("1 2026-03-03 facturas")] = QStringLiteral("not_in_ktz");
    QCOMPARE(verdicts(r.report), expected);

    // The changed voucher carries both amounts; the doubled load counts twice.
    for (const QJsonValue &v : r.report.value(QStringLiteral("days")).toArray()) {
        const QJsonObject d = v.toObject();
        if (d.value(QStringLiteral("kind")).toString() == QLatin1String("remitos")
            && d.value(QStringLiteral("date")).toString() == QLatin1String("2026-03-03")) {
            const QJsonObject doc = d.value(QStringLiteral("documents")).toArray().first().toObject();
            QCOMPARE(doc.value(QStringLiteral("ktz_total")).toDouble(), 13600.0);
            QCOMPARE(doc.value(QStringLiteral("orva_total")).toDouble(), 13000.0);
        }
        if (d.value(QStringLiteral("kind")).toString() == QLatin1String("cargas")
            && d.value(QStringLiteral("date")).toString() == QLatin1String("2026-03-02")
            && d.value(QStringLiteral("station")).toInt() == 0) {
            QCOMPARE(d.value(QStringLiteral("ktz_count")).toInt(), 3);
            QCOMPARE(d.value(QStringLiteral("orva_count")).toInt(), 4);
        }
    }
    // The table names them too.
    QVERIFY(r.out.contains(QStringLiteral("FA 0005-00001235 B, asiento 1002: falta en Orva")));
    QVERIFY(r.out.contains(QStringLiteral("Resultado: hay diferencias (4 de 13")));
}

void TstReconciliation::unreadableRowsMakeTheirDayNotReadable()
{
    if (m_cleanVerdicts.isEmpty())
        QSKIP("needs the clean reconciliation");
    const QString ktz = m_dir.filePath(QStringLiteral("unreadable-ktz.db"));
    QVERIFY(QFile::copy(m_demo + QStringLiteral("/ktz.db"), ktz));
    runSqliteScript(ktz,
                    QStringLiteral("UPDATE FAC_OUT SET TOTAL = NULL WHERE ID = 1003;\n"
                                   "UPDATE T_CARGAS SET F_COMP = '2026-03-04x' WHERE ID = 1005;\n"));
    const QString orva = orvaCopy(QStringLiteral("unreadable"));
    runSqliteScript(
        orva, QStringLiteral("UPDATE TA_CONFIGURACION SET VALOR = '%1' WHERE CLAVE = 'KTZ_BASEDEDATOS';").arg(ktz));

    const Result r = reconcileReadOnly(orva, {ktz}, 3, QStringLiteral("differences"));
    if (QTest::currentTestFailed())
        return;
    const QStringList named = findings(r.report);
    QVERIFY2(
        named.contains(QStringLiteral("0 2026-03-03 facturas factura 1003 (punto de venta 5, número 1236, letra B): "
                                      "not_readable")),
        qPrintable(named.join(QLatin1Char('\n'))));
    QVERIFY(named.filter(QStringLiteral("0 2026-03-04 cargas carga 1005")).size() == 1);
    QMap<QString, QString> expected = m_cleanVerdicts;
    expected[QStringLiteral("0 2026-03-03 facturas")] = QStringLiteral("not_readable");
    expected[QStringLiteral("0 2026-03-04 cargas")] = QStringLiteral("not_readable");
    QCOMPARE(verdicts(r.report), expected);
    QVERIFY(r.out.contains(QStringLiteral("importe nulo (Total)")));
}

void TstReconciliation::stationThatCannotBeOpened()
{
    if (m_cleanVerdicts.isEmpty())
        QSKIP("needs the clean reconciliation");
    const QString orva = orvaCopy(QStringLiteral("nostation"));
    const QString missing = m_dir.filePath(QStringLiteral("no-such-station.db"));
    runSqliteScript(
        orva,
        QStringLiteral("UPDATE TA_CONFIGURACION SET VALOR = '%1' WHERE CLAVE = 'KTZ_BASEDEDATOS2';").arg(missing));

    const Result r = reconcile(orva);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.report.value(QStringLiteral("status")).toString(), QStringLiteral("not_finished"));
    QVERIFY(r.err.contains(QStringLiteral("estación 1")));
    QVERIFY(r.report.value(QStringLiteral("errors")).toArray().first().toString().contains(missing));
    // The first station is reconciled in full; the second's Orva documents are not taken for its.
    QMap<QString, QString> expected;
    for (auto it = m_cleanVerdicts.cbegin(); it != m_cleanVerdicts.cend(); ++it) {
        if (it.key().startsWith(QLatin1Char('0')))
            expected.insert(it.key(), it.value());
    }
    QCOMPARE(verdicts(r.report), expected);
    QVERIFY(!QFile::exists(missing));
}

void TstReconciliation::unwritableReportIsNotFinished()
{
    const QString orva = orvaCopy(QStringLiteral("noreport"));
    const QString folder = m_dir.filePath(QStringLiteral("report-is-a-folder"));
    QVERIFY(QDir().mkpath(folder));
    const Result r =
        runProgram(QStringLiteral("@ParametroAdicional=Conciliar;@DbName=%1;@Informe=%2;").arg(orva, folder),
                   m_dir.filePath(QStringLiteral("prog")));
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("No se pudo escribir el informe ") + folder), qPrintable(r.err));
    // The table was printed all the same.
    QVERIFY(r.out.contains(QStringLiteral("Resultado: todo conciliado")));
}

void TstReconciliation::badRangeIsAUsageError_data()
{
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such day") << QStringLiteral("@Desde=2026-02-30;") << QStringLiteral("@Desde no es una fecha");
    QTest::newRow("day first") << QStringLiteral("@Hasta=04/03/2026;") << QStringLiteral("@Hasta no es una fecha");
    QTest::newRow("end before start") << QStringLiteral("@Desde=2026-03-04;@Hasta=2026-03-02;")
                                      << QStringLiteral("es anterior a @Desde");
    QTest::newRow("misspelt entry") << QStringLiteral("@Hsta=2026-03-02;") << QStringLiteral("@Hasta");
}

void TstReconciliation::badRangeIsAUsageError()
{
    QFETCH(QString, entries);
    QFETCH(QString, message);
    const QString orva = orvaCopy(QStringLiteral("usage"));
    const Result r = reconcile(orva, entries);
    QCOMPARE(r.exitCode, 64);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
    QVERIFY(!QFile::exists(orva + QStringLiteral(".json")));
}

QTEST_GUILESS_MAIN(TstReconciliation)
#include "tst_reconciliation.moc"
