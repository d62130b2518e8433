// The reconciliation against real servers: the demo stations in a Firebird
// server transferred into an Orva on PostgreSQL, reconciled after the clean
// transfer and again after four changes in Orva. The server logs every
// statement of the sessions on that database: the reconciliation's session
// is read-only and sends nothing but reads, and Orva's tables are the same
// afterwards.

#include "serverenv.h"
#include "support/programrun.h"
#include "support/transferreddemo.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

namespace {

struct Result
{
    int exitCode = -1;
    QString out, err;
    QJsonObject report;
};

// Statements that change a database, as the server logs them; a prepared
// statement is judged by the statement it prepares.
bool isWritingStatement(const QString &statement)
{
    static const QRegularExpression prepared(QStringLiteral("^\\s*PREPARE\\s+\\S+\\s+(\\([^)]*\\)\\s*)?AS\\s+"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression writing(
        QStringLiteral("^\\s*(INSERT|UPDATE|DELETE|MERGE|UPSERT|CREATE|DROP|ALTER|TRUNCATE|COPY|GRANT|REVOKE|COMMENT|"
                       "LOCK|VACUUM|ANALYZE|REINDEX|CLUSTER|REFRESH|CALL|DO|SECURITY|IMPORT|SELECT\\s.*\\bINTO\\b|"
                       "SET\\s+(SESSION\\s+)?CHARACTERISTICS\\s+AS\\s+TRANSACTION\\s+READ\\s+WRITE|"
                       "SET\\s+TRANSACTION\\s+READ\\s+WRITE|SET\\s+default_transaction_read_only)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QString text = statement;
    text.remove(prepared);
    return writing.match(text).hasMatch();
}

// "station date kind document: problem" of every named document, sorted.
QStringList namedDocuments(const QJsonObject &report)
{
    QStringList named;
    for (const QJsonValue &day : report.value(QStringLiteral("days")).toArray()) {
        const QJsonObject d = day.toObject();
        for (const QJsonValue &doc : d.value(QStringLiteral("documents")).toArray())
            named << QStringLiteral("%1 %2 %3 %4: %5")
                         .arg(d.value(QStringLiteral("station")).toInt())
                         .arg(d.value(QStringLiteral("date")).toString(), d.value(QStringLiteral("kind")).toString(),
                              doc.toObject().value(QStringLiteral("document")).toString(),
                              doc.toObject().value(QStringLiteral("problem")).toString());
    }
    named.sort();
    return named;
}

// "station date kind" of the days whose verdict is not "reconciled", and how many days there are.
QStringList differingDays(const QJsonObject &report, int *days)
{
    QStringList differing;
    const QJsonArray list = report.value(QStringLiteral("days")).toArray();
    *days = int(list.size());
    for (const QJsonValue &day : list) {
        const QJsonObject d = day.toObject();
        if (d.value(QStringLiteral("verdict")).toString() != QLatin1String("reconciled"))
            differing << QStringLiteral("%1 %2 %3 %4")
                             .arg(d.value(QStringLiteral("station")).toInt())
                             .arg(d.value(QStringLiteral("date")).toString(),
                                  d.value(QStringLiteral("kind")).toString(),
                                  d.value(QStringLiteral("verdict")).toString());
    }
    differing.sort();
    return differing;
}

} // namespace

class TstReconcilePostgresql : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanTransferReconciles();
    void changedOrvaNamesTheFourDocuments();

private:
    Result run(const QStringList &arguments, const QString &reportPath = {});
    QString orvaEntries() const; // @Server, @DbName, @Usuario, @Password of the Orva database
    Result reconcile(const QString &name);
    // Reconciles and checks that the session only read: the server logged
    // its grouped statements, none that writes, and the read-only session
    // it asked for; Orva's tables are what they were.
    Result reconcileReadOnly(const QString &name);
    QStringList loggedStatementsSince(qint64 offset) const;
    QStringList orvaDigest() const;

    Servers m_servers = Servers::load();
    QTemporaryDir m_dir;
    QString m_orva;
    QString m_ini;
    QString m_serverLog;
};

Result TstReconcilePostgresql::run(const QStringList &arguments, const QString &reportPath)
{
    const ProgramResult run = runTraspasor(arguments, m_dir.filePath(QStringLiteral("prog")), m_ini, 300000);
    Result r{run.exitCode, run.out, run.err, {}};
    QFile file(reportPath);
    if (!reportPath.isEmpty() && file.open(QIODevice::ReadOnly))
        r.report = QJsonDocument::fromJson(file.readAll()).object();
    return r;
}

QString TstReconcilePostgresql::orvaEntries() const
{
    return QStringLiteral("@Server=%1;@DbName=%2;@Usuario=%3;@Password=%4;")
        .arg(m_servers.pgHost, m_orva, m_servers.pgUser, m_servers.pgPassword);
}

Result TstReconcilePostgresql::reconcile(const QString &name)
{
    const QString report = m_dir.filePath(name + QStringLiteral(".json"));
    return run(
        {QStringLiteral("@ParametroAdicional=Conciliar;") + orvaEntries() + QStringLiteral("@Informe=%1;").arg(report)},
        report);
}

QStringList TstReconcilePostgresql::loggedStatementsSince(qint64 offset) const
{
    QStringList statements;
    QFile log(m_serverLog);
    if (!log.open(QIODevice::ReadOnly) || !log.seek(offset))
        return statements;
    // "... LOG:  statement: SELECT ...", or "execute <name>: ..." for the extended protocol.
    static const QRegularExpression logged(QStringLiteral("LOG:\\s+(?:statement|execute [^:]*): (.*)$"));
    for (const QString &line : QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = logged.match(line);
        if (m.hasMatch())
            statements << m.captured(1);
    }
    return statements;
}

QStringList TstReconcilePostgresql::orvaDigest() const
{
    QStringList digest;
    for (const char *table :
         {"mv_asientos", "v_mv_cpte", "v_mv_cpteinsumos", "v_mv_stock", "ta_configuracion", "ma_cuentas"})
        digest << m_servers.adminRows(
            QStringLiteral("SELECT count(*), md5(coalesce(string_agg(t::text, '|' ORDER BY t::text), '')) FROM %1 t")
                .arg(QLatin1String(table)),
            m_orva);
    return digest;
}

void TstReconcilePostgresql::initTestCase()
{
    REQUIRE_SERVERS(m_servers);
    QVERIFY(!qEnvironmentVariable("TRASPASOR_TEST_BIN").isEmpty());
    const QString tag = QUuid::createUuid().toString(QUuid::Id128).left(8);
    const QString ktzFolder = m_servers.firebirdFolder(QStringLiteral("rec"));
    QVERIFY(!ktzFolder.isEmpty());
    m_orva = QStringLiteral("orva_rec_") + tag;
    m_ini = m_dir.filePath(QStringLiteral("SharedServices.ini"));
    {
        QSettings settings(m_ini, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Orva/Driver"), QStringLiteral("PSQL"));
        settings.setValue(QStringLiteral("Orva/Port"), m_servers.pgPort);
    }
    m_serverLog = m_servers.pgSocket + QStringLiteral("/server.log");

    Result r =
        run({QStringLiteral("--demo"), m_dir.filePath(QStringLiteral("demo")), QStringLiteral("--ktz-firebird"),
             m_servers.fbServer() + QLatin1Char(':') + ktzFolder, QStringLiteral("--ktz-password"),
             m_servers.fbPassword, QStringLiteral("--orva-postgresql"),
             QStringLiteral("%1:%2/%3").arg(m_servers.pgHost).arg(m_servers.pgPort).arg(m_orva),
             QStringLiteral("--orva-user"), m_servers.pgUser, QStringLiteral("--orva-password"), m_servers.pgPassword});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    r = run({QStringLiteral("@ParametroAdicional=DesdeTimer;") + orvaEntries()});
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    // Every statement of a session on this database goes into the server's log.
    QVERIFY(m_servers.adminExec(QStringLiteral("ALTER DATABASE %1 SET log_statement = 'all'").arg(m_orva)));
}

Result TstReconcilePostgresql::reconcileReadOnly(const QString &name)
{
    const QStringList digest = orvaDigest();
    const qint64 offset = QFileInfo(m_serverLog).size();
    const Result r = reconcile(name);
    const QStringList statements = loggedStatementsSince(offset);
    [&] {
        QVERIFY2(!statements.filter(QStringLiteral("FROM MV_ASIENTOS"), Qt::CaseInsensitive).isEmpty()
                     && !statements.filter(QStringLiteral("FROM V_MV_CPTE"), Qt::CaseInsensitive).isEmpty(),
                 "the server logged none of the reconciliation's statements");
        QVERIFY(statements.contains(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY")));
        for (const QString &statement : statements)
            QVERIFY2(!isWritingStatement(statement), qPrintable(statement));
        QCOMPARE(orvaDigest(), digest);
    }();
    return r;
}

void TstReconcilePostgresql::cleanTransferReconciles()
{
    const Result r = reconcileReadOnly(QStringLiteral("clean"));
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QCOMPARE(r.report.value(QStringLiteral("status")).toString(), QStringLiteral("reconciled"));
    int days = 0;
    QCOMPARE(differingDays(r.report, &days), QStringList());
    QCOMPARE(days, 13);
    QCOMPARE(namedDocuments(r.report), QStringList());
}

void TstReconcilePostgresql::changedOrvaNamesTheFourDocuments()
{
    const QStringList changes{
        QStringLiteral("DELETE FROM mv_asientos WHERE tc = 'FA' AND sucursal = '0005' AND numero = '00001235' "
                       "AND \"numero asiento\" = 1002"),
        QStringLiteral(
            "INSERT INTO mv_asientos SELECT * FROM mv_asientos WHERE sucursal = '0003' AND numero = '00080213' "
            "AND \"numero asiento\" = 1003"),
        QStringLiteral("UPDATE v_mv_cpte SET importe = 13000 WHERE tc = 'RM' AND idcomprobante = '000100000042R'"),
        // (each statement runs in a session of its own: the copy is a table until it is dropped)
        QStringLiteral(
            "CREATE TABLE extra AS SELECT * FROM mv_asientos WHERE sucursal = '0007' AND numero = '00000560'"),
        QStringLiteral(
            "UPDATE extra SET numero = '00000999', cpte_origen = '000700000999A', \"numero asiento\" = 1999"),
        QStringLiteral("INSERT INTO mv_asientos SELECT * FROM extra"),
        QStringLiteral("DROP TABLE extra"),
    };
    for (const QString &change : changes)
        QVERIFY(m_servers.adminExec(change, m_orva));

    const Result r = reconcileReadOnly(QStringLiteral("changed"));
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(r.exitCode == 3, qPrintable(r.out + r.err));
    QCOMPARE(r.report.value(QStringLiteral("status")).toString(), QStringLiteral("differences"));
    QCOMPARE(namedDocuments(r.report), fourChangedDocuments());
    int days = 0;
    QCOMPARE(
        differingDays(r.report, &days),
        (QStringList{QStringLiteral("0 2026-03-02 cargas doubled"), QStringLiteral("0 2026-03-02 facturas missing"),
                     QStringLiteral("0 2026-03-03 remitos amounts_differ"),
                     QStringLiteral("1 2026-03-03 facturas not_in_ktz")}));
    QCOMPARE(days, 13);
}

QTEST_GUILESS_MAIN(TstReconcilePostgresql)
#include "tst_reconcilepostgresql.moc"
