// The whole program against real servers: the demo KTZ data held by a
// Firebird server (the second station in a NONE database with Windows-1252
// bytes) transferred unattended into an Orva database on a PostgreSQL
// server gives, table by table, the rows that the same transfer from the
// same data in SQLite files gives. A connection killed in the middle of a
// document leaves none of it, fails the run, and a second run completes the
// transfer with every document exactly once.

#include "serverenv.h"
#include "support/programrun.h"
#include "services/svctools.h"

#include <QSettings>
#include <QSqlRecord>
#include <QTemporaryDir>

namespace {

struct Result
{
    int exitCode = -1;
    QString out, err;
};

// Configuration keys that only say where the KTZ databases are: they differ
// by design between the two set-ups.
bool isLocationKey(const QString &key)
{
    for (const char *prefix : {"KTZ_SERVIDOR", "KTZ_BASEDEDATOS", "KTZ_USUARIO", "KTZ_PASSWORD"}) {
        if (key.startsWith(QLatin1String(prefix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString canonical(const QVariant &v)
{
    if (v.isNull())
        return QStringLiteral("<null>");
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return plainNumber(v.toDouble());
    default:
        return v.toString();
    }
}

// The rows of table, each as "column=value" pieces in the given column
// order, sorted; the moment of a counter change is left out.
QStringList tableRows(QSqlDatabase db, const QString &table, const QStringList &columns)
{
    QStringList rows;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT * FROM %1").arg(table)))
        qWarning("%s: %s", qPrintable(table), qPrintable(q.lastError().text()));
    while (q.next()) {
        QStringList values;
        for (const QString &column : columns) {
            const int i = q.record().indexOf(column);
            if (column == QLatin1String("fechahora_modificacion"))
                continue;
            values << column + QLatin1Char('=') + (i < 0 ? QStringLiteral("<missing column>") : canonical(q.value(i)));
        }
        if (table.compare(QLatin1String("ta_configuracion"), Qt::CaseInsensitive) == 0
            && isLocationKey(q.value(q.record().indexOf(QStringLiteral("clave"))).toString()))
            continue;
        rows << values.join(QStringLiteral(" | "));
    }
    rows.sort();
    return rows;
}

} // namespace

class TstEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void transferMatchesTheSqliteTransfer();
    void killedConnectionMidDocument();

private:
    Result runProgram(const QStringList &arguments, const QString &programFolder, bool servers = false);
    Result runUnattended(const QString &database, const QString &programFolder);
    void compareWithReference(const QString &database);
    QStringList orvaRows(const QString &database, const QString &sql);

    Servers m_servers = Servers::load();
    QTemporaryDir m_dir;
    QString m_reference; // the Orva SQLite file of the reference transfer
    QString m_orva;      // the Orva database on the server
    QString m_killOrva;  // a pristine copy of it for the second test
    QString m_ini;
};

Result TstEndToEnd::runProgram(const QStringList &arguments, const QString &programFolder, bool servers)
{
    const ProgramResult r = runTraspasor(arguments, programFolder, servers ? m_ini : QString(), 300000);
    return {r.exitCode, r.out, r.err};
}

Result TstEndToEnd::runUnattended(const QString &database, const QString &programFolder)
{
    return runProgram({QStringLiteral("@ParametroAdicional=DesdeTimer;@Server=%1;@DbName=%2;@Usuario=%3;@Password=%4;")
                           .arg(m_servers.pgHost, database, m_servers.pgUser, m_servers.pgPassword)},
                      programFolder, true);
}

QStringList TstEndToEnd::orvaRows(const QString &database, const QString &sql)
{
    return m_servers.adminRows(sql, database);
}

void TstEndToEnd::initTestCase()
{
    REQUIRE_SERVERS(m_servers);
    QVERIFY(!qEnvironmentVariable("TRASPASOR_TEST_BIN").isEmpty());

    // The reference: the demo in SQLite files, transferred once.
    const QString reference = m_dir.filePath(QStringLiteral("reference"));
    Result r = runProgram({QStringLiteral("--demo"), reference}, m_dir.filePath(QStringLiteral("prog-build")));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    m_reference = reference + QStringLiteral("/orva.db");
    r = runProgram({QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=%1;").arg(m_reference)},
                   m_dir.filePath(QStringLiteral("prog-reference")));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));

    // The same demo on the servers: KTZ in Firebird, Orva in PostgreSQL.
    const QString tag = QUuid::createUuid().toString(QUuid::Id128).left(8);
    const QString ktzFolder = m_servers.firebirdFolder(QStringLiteral("e2e"));
    QVERIFY(!ktzFolder.isEmpty());
    m_orva = QStringLiteral("orva_e2e_") + tag;
    r = runProgram({QStringLiteral("--demo"), m_dir.filePath(QStringLiteral("servers")),
                    QStringLiteral("--ktz-firebird"), m_servers.fbServer() + QLatin1Char(':') + ktzFolder,
                    QStringLiteral("--ktz-charset"), QStringLiteral("UTF8,NONE"), QStringLiteral("--ktz-password"),
                    m_servers.fbPassword, QStringLiteral("--orva-postgresql"),
                    QStringLiteral("%1:%2/%3").arg(m_servers.pgHost).arg(m_servers.pgPort).arg(m_orva),
                    QStringLiteral("--orva-user"), m_servers.pgUser, QStringLiteral("--orva-password"),
                    m_servers.pgPassword},
                   m_dir.filePath(QStringLiteral("prog-build")));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    m_killOrva = m_orva + QStringLiteral("_kill");
    QVERIFY(m_servers.adminExec(
        QStringLiteral("CREATE DATABASE %1 TEMPLATE %2 OWNER %3").arg(m_killOrva, m_orva, m_servers.pgUser)));

    m_ini = m_dir.filePath(QStringLiteral("SharedServices.ini"));
    QSettings settings(m_ini, QSettings::IniFormat);
    settings.setValue(QStringLiteral("Orva/Driver"), QStringLiteral("PSQL"));
    settings.setValue(QStringLiteral("Orva/Port"), m_servers.pgPort);
}

void TstEndToEnd::compareWithReference(const QString &database)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase ref = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name + QStringLiteral("-ref"));
        ref.setDatabaseName(m_reference);
        QVERIFY(ref.open());
        QSqlDatabase pg = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name + QStringLiteral("-pg"));
        pg.setHostName(m_servers.pgSocket);
        pg.setPort(m_servers.pgPort);
        pg.setDatabaseName(database);
        pg.setUserName(m_servers.pgAdmin);
        QVERIFY(pg.open());
        int compared = 0;
        for (const QString &table : ref.tables()) {
            QStringList columns;
            const QSqlRecord record = ref.record(table);
            for (int i = 0; i < record.count(); ++i)
                columns << record.fieldName(i).toLower();
            const QStringList expected = tableRows(ref, table, columns);
            const QStringList actual = tableRows(pg, table.toLower(), columns);
            QStringList onlyExpected, onlyActual;
            for (const QString &row : expected) {
                if (expected.count(row) != actual.count(row))
                    onlyExpected << row;
            }
            for (const QString &row : actual) {
                if (expected.count(row) != actual.count(row))
                    onlyActual << row;
            }
            QVERIFY2(onlyExpected.isEmpty() && onlyActual.isEmpty(),
                     qPrintable(QStringLiteral("%1 differs:\n  SQLite: %2\n  PostgreSQL: %3")
                                    .arg(table, onlyExpected.join(QStringLiteral("\n          ")),
                                         onlyActual.join(QStringLiteral("\n          ")))));
            compared += expected.size();
        }
        QVERIFY(compared > 100);
    }
    QSqlDatabase::removeDatabase(name + QStringLiteral("-ref"));
    QSqlDatabase::removeDatabase(name + QStringLiteral("-pg"));
}

void TstEndToEnd::transferMatchesTheSqliteTransfer()
{
    const Result r = runUnattended(m_orva, m_dir.filePath(QStringLiteral("prog-servers")));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    // Both stations were read: the second one's accented names came from
    // Windows-1252 bytes.
    QCOMPARE(orvaRows(m_orva, QStringLiteral("SELECT descripcion FROM ma_cuentas WHERE codigo = '1120000061'")),
             QStringList{QStringLiteral("Ramón Acuña")});
    compareWithReference(m_orva);
}

void TstEndToEnd::killedConnectionMidDocument()
{
    // The server itself ends the connection while the second journal line
    // of invoice 0005-00001236 is being written.
    QVERIFY(m_servers.adminExec(
        QStringLiteral("CREATE FUNCTION kill_mid_document() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER AS $$ "
                       "BEGIN IF NEW.numero = '00001236' AND NEW.secuencia = 2 THEN "
                       "PERFORM pg_terminate_backend(pg_backend_pid()); END IF; RETURN NEW; END $$"),
        m_killOrva));
    QVERIFY(
        m_servers.adminExec(QStringLiteral("CREATE TRIGGER kill_mid_document AFTER INSERT ON mv_asientos FOR EACH ROW "
                                           "EXECUTE FUNCTION kill_mid_document()"),
                            m_killOrva));
    const QString program = m_dir.filePath(QStringLiteral("prog-kill"));
    Result r = runUnattended(m_killOrva, program);
    QVERIFY2(r.exitCode != 0, qPrintable(r.out));
    QVERIFY2(r.err.contains(QStringLiteral("Error -2147467259")), qPrintable(r.err));
    QVERIFY(!r.err.contains(m_servers.pgPassword));

    const QString count = QStringLiteral("SELECT count(*) FROM mv_asientos WHERE numero = '%1' AND sucursal = '0005'");
    QCOMPARE(orvaRows(m_killOrva, count.arg(QStringLiteral("00001236"))), QStringList{QStringLiteral("0")});
    QCOMPARE(
        orvaRows(m_killOrva, QStringLiteral("SELECT count(*) FROM v_mv_stock WHERE idcomprobante = '000500001236B'")),
        QStringList{QStringLiteral("0")});
    QCOMPARE(orvaRows(m_killOrva, count.arg(QStringLiteral("00001234"))), QStringList{QStringLiteral("4")});
    QCOMPARE(
        orvaRows(m_killOrva, QStringLiteral("SELECT count(*) FROM ta_configuracion WHERE clave = 'KTZ_ULTIMAFECHA'")),
        QStringList{QStringLiteral("0")});

    QVERIFY(m_servers.adminExec(QStringLiteral("DROP TRIGGER kill_mid_document ON mv_asientos"), m_killOrva));
    r = runUnattended(m_killOrva, program);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    compareWithReference(m_killOrva);
}

QTEST_GUILESS_MAIN(TstEndToEnd)
#include "tst_endtoend.moc"
