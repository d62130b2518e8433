// The ODBC paths through unixODBC with real drivers, registered in a private
// driver list: a KTZ connection text whose driver name is installed goes to
// ODBC unchanged (here the name of the KTZ text stands for the SQLite3 ODBC
// driver), and Orva reached through the PostgreSQL ODBC driver.

#include "run/sourceconnection.h"
#include "serverenv.h"
#include "services/documenttransaction.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

#include <QTemporaryDir>

class TstOdbc : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void ktzTextGoesToTheInstalledDriver();
    void ktzStatementsThroughOdbc_data();
    void ktzStatementsThroughOdbc();
    void orvaThroughOdbc();

private:
    QTemporaryDir m_dir;
    QString m_sqliteOdbc, m_psqlOdbc;
    QString m_ktzText;
    SharedServices m_services;
    ScriptedOperator m_op;
    std::unique_ptr<Connection> m_ktz;
};

void TstOdbc::initTestCase()
{
    m_sqliteOdbc = odbcLibrary(QStringLiteral("libsqlite3odbc.so"));
    m_psqlOdbc = odbcLibrary(QStringLiteral("psqlodbcw.so"));
    if (m_sqliteOdbc.isEmpty() || !QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC"))) {
        qInfo("skipped: server not available (no ODBC driver)");
        QSKIP("skipped: server not available");
    }
    QList<QPair<QString, QString>> drivers{{QStringLiteral("Easysoft IB6 ODBC"), m_sqliteOdbc}};
    if (!m_psqlOdbc.isEmpty())
        drivers.append({QStringLiteral("PostgreSQL Unicode"), m_psqlOdbc});
    QVERIFY(usePrivateOdbcDrivers(m_dir.path(), drivers));
    m_services.setOperator(&m_op);

    const QString ktz = m_dir.filePath(QStringLiteral("ktz.db"));
    createSqliteDatabase(ktz, QStringLiteral("schema/ktz.sqlite.sql"),
                         sourceFileText(QStringLiteral("demo/ktz.demo.sql")));
    m_ktzText =
        QStringLiteral("Driver={Easysoft IB6 ODBC};Server=estacion;Database=%1;Uid=SYSDBA;Pwd=masterkey").arg(ktz);
}

void TstOdbc::ktzTextGoesToTheInstalledDriver()
{
    const ConnectionSpec target = sourceConnectionSpec(m_ktzText);
    QCOMPARE(target.driver, QStringLiteral("QODBC"));
    QCOMPARE(target.databaseName, m_ktzText);
    QVERIFY(!target.describe().contains(QStringLiteral("masterkey")));
    QVERIFY(target.describe().contains(QStringLiteral("estacion")));
    m_ktz = std::make_unique<Connection>(m_services.errors, QStringLiteral("ktz-odbc"));
    QVERIFY2(m_ktz->open(target), qPrintable(m_ktz->openError()));
}

void TstOdbc::ktzStatementsThroughOdbc_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("count with order") << "SELECT COUNT(*) AS RECORDCOUNT FROM FAC_OUT  WHERE (FOUT_TIPO = 'R') AND "
                                         "FOUT_FECHA>= '2026-03-01' AND FOUT_NUM > 0 "
                                         "ORDER BY FOUT_FECHA ASC"
                                      << "RecordCount"
                                      << "3";
    QTest::newRow("accented text") << "SELECT * FROM T_CLIENTES WHERE T_CLI_CTA = '35'"
                                   << "T_CLI_NOM"
                                   << "María José Ñañez";
    QTest::newRow("date")
        << "SELECT * FROM FAC_OUT WHERE (FOUT_TIPO = 'R') AND  FOUT_FECHA>='2026-03-03' AND FOUT_NUM > 0 "
           "ORDER BY FOUT_FECHA ASC"
        << "FOUT_FECHA"
        << "2026-03-03";
    QTest::newRow("time of a load") << "SELECT * FROM T_CARGAS WHERE ID = 1003"
                                    << "HORA"
                                    << "2026-03-02 13:59:59";
    QTest::newRow("null") << "SELECT * FROM PRODUCTO WHERE PROD_ID = 32"
                          << "IVA_TIPO"
                          << "(null)";
    QTest::newRow("lines of a note")
        << "SELECT FACT_OUT.*, PRODUCTO.PROD_IMPINT FROM FACT_OUT INNER JOIN PRODUCTO ON FACT_OUT.FCOUT_PROD_ID = "
           "PRODUCTO.PROD_ID WHERE FCOUT_ID = '1101'"
        << "PROD_IMPINT"
        << "700";
}

void TstOdbc::ktzStatementsThroughOdbc()
{
    QFETCH(QString, sql);
    QFETCH(QString, column);
    QFETCH(QString, text);
    QVERIFY(m_ktz && m_ktz->isOpen());
    m_op.errorsSeen.clear();
    Recordset rs = m_ktz->OpenRecordset(sql);
    QVERIFY2(m_op.errorsSeen.isEmpty(), qPrintable(m_op.errorsSeen.value(0).text()));
    QVERIFY(rs.hasRows());
    const QVariant value = rs.value(column);
    QCOMPARE(value.isNull() ? QStringLiteral("(null)") : dateText(value), text);
}

void TstOdbc::orvaThroughOdbc()
{
    const Servers servers = Servers::load();
    REQUIRE_SERVERS(servers);
    if (m_psqlOdbc.isEmpty())
        QSKIP("skipped: server not available (no PostgreSQL ODBC driver)");
    const QString database = servers.createPostgres(QStringLiteral("orva_odbc"));
    QVERIFY(servers.loadPostgres(database,
                                 {QStringLiteral("schema/orva.postgresql.sql"), QStringLiteral("demo/orva.demo.sql")}));

    SharedServices services;
    ScriptedOperator op;
    services.setOperator(&op);
    ServerSettings settings; // ODBC, as the production server is reached
    settings.odbcDriver = QStringLiteral("PostgreSQL Unicode");
    settings.dialect = SqlDialect::PostgreSql;
    settings.port = servers.pgPort;
    services.session.setServerSettings(settings);
    services.session.Server = servers.pgHost;
    services.session.DbName = database;
    services.session.User = servers.pgUser;
    services.session.Password = servers.pgPassword;
    services.session.Open(false, 3, QString());
    QVERIFY2(services.session.Connected(), qPrintable(services.session.openError()));
    QCOMPARE(services.session.connection().target().driver, QStringLiteral("QODBC"));

    Connection &orva = services.session.connection();
    {
        DocumentTransaction committed(orva, QStringLiteral("factura 1234"));
        QVERIFY(
            orva.Execute(QStringLiteral("INSERT INTO MV_ASIENTOS ([NUMERO ASIENTO], MES_OPERATIVO, [DEBE-HABER], TC, "
                                        "NUMERO, CABNOMBRE) VALUES ('1001', '3', 'H', '  FA', '00001234', 'Peña')")));
        QVERIFY(committed.commit());
    }
    {
        DocumentTransaction rolledBack(orva, QStringLiteral("factura 1235"));
        QVERIFY(orva.Execute(QStringLiteral(
            "INSERT INTO MV_ASIENTOS ([NUMERO ASIENTO], TC, NUMERO) VALUES (1002, '  FA', '00001235')")));
    }
    QVERIFY(!orva.inTransaction());

    Recordset rs =
        services.session.OpenRecordset(QStringLiteral("SELECT TOP 5 * FROM MV_ASIENTOS WHERE [NUMERO ASIENTO] = 1001 "
                                                      "AND MES_OPERATIVO = '3' AND CABNOMBRE = 'PEÑA'"));
    QVERIFY(rs.hasRows());
    QCOMPARE(rs.value(QStringLiteral("debe-haber")).toString(), QStringLiteral("H"));
    QVERIFY(rs.isNull(QStringLiteral("CUENTA")));
    QCOMPARE(SvcTools::FieldText(rs.value(QStringLiteral("CUENTA"))), QString());
    QCOMPARE(services.session.LookupValue(QStringLiteral("MV_ASIENTOS"), QStringLiteral("00001235"),
                                          QStringLiteral("TC"), QStringLiteral("NUMERO")),
             QString());
    QCOMPARE(services.session.LookupValue(QStringLiteral("TA_CONFIGURACION"), QStringLiteral("tituloclientes"),
                                          QStringLiteral("VALOR"), QStringLiteral("CLAVE")),
             QStringLiteral("1120"));
    QVERIFY(op.errorsSeen.isEmpty());
}

QTEST_GUILESS_MAIN(TstOdbc)
#include "tst_odbc.moc"
