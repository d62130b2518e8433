// A database that cannot be opened — wrong password, server down, missing
// database — on each kind of server: the open fails with a message that
// names the server and the database and never the password.

#include "run/sourceconnection.h"
#include "serverenv.h"
#include "services/sharedservices.h"

#include <QTemporaryDir>

namespace {

const QString secret = QStringLiteral("clave-secreta-77");
const int closedPort = 1; // nothing listens there

} // namespace

class TstConnectionFailures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void ktzOnFirebird_data();
    void ktzOnFirebird();
    void orvaOnServer_data();
    void orvaOnServer();

private:
    Servers m_servers = Servers::load();
    QTemporaryDir m_odbc;
    QString m_ktzPath;
    QString m_orvaDatabase;
};

void TstConnectionFailures::initTestCase()
{
    REQUIRE_SERVERS(m_servers);
    const QString psqlOdbc = odbcLibrary(QStringLiteral("psqlodbcw.so"));
    QList<QPair<QString, QString>> drivers;
    if (!psqlOdbc.isEmpty())
        drivers.append({QStringLiteral("PostgreSQL Unicode"), psqlOdbc});
    usePrivateOdbcDrivers(m_odbc.path(), drivers);
    m_ktzPath =
        m_servers.createFirebird(QStringLiteral("fail_%1.fdb").arg(QUuid::createUuid().toString(QUuid::Id128).left(8)),
                                 QStringLiteral("UTF8"), {QStringLiteral("CREATE TABLE RUBRO (RUB_COD INTEGER)")});
    QVERIFY(!m_ktzPath.isEmpty());
    m_orvaDatabase = m_servers.createPostgres(QStringLiteral("orva_fail"));
    QVERIFY(!m_orvaDatabase.isEmpty());
}

void TstConnectionFailures::ktzOnFirebird_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("password");
    QTest::newRow("wrong password") << m_servers.fbServer() << m_ktzPath << secret;
    QTest::newRow("server down") << QStringLiteral("%1/%2").arg(m_servers.fbHost).arg(closedPort) << m_ktzPath
                                 << m_servers.fbPassword;
    QTest::newRow("missing database") << m_servers.fbServer() << m_servers.fbPath(QStringLiteral("no-existe.fdb"))
                                      << m_servers.fbPassword;
}

void TstConnectionFailures::ktzOnFirebird()
{
    QFETCH(QString, server);
    QFETCH(QString, database);
    QFETCH(QString, password);
    SharedServices services;
    const ConnectionSpec target =
        sourceConnectionSpec(QStringLiteral("Driver={Easysoft IB6 ODBC};Server=%1;Database=%2;Uid=SYSDBA;Pwd=%3")
                                 .arg(server, database, password));
    Connection ktz(services.errors, QStringLiteral("ktz-fail"));
    QVERIFY(!ktz.open(target));
    const QString message = ktz.openError();
    qInfo("%s", qPrintable(message));
    QVERIFY2(message.contains(m_servers.fbHost), qPrintable(message));
    QVERIFY2(message.contains(database), qPrintable(message));
    QVERIFY2(!message.contains(password, Qt::CaseInsensitive), qPrintable(message));
}

void TstConnectionFailures::orvaOnServer_data()
{
    QTest::addColumn<QString>("driver");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("password");
    for (const QString &driver : {QStringLiteral("PSQL"), QStringLiteral("ODBC")}) {
        if (driver == QLatin1String("ODBC") && odbcLibrary(QStringLiteral("psqlodbcw.so")).isEmpty())
            continue;
        QTest::newRow(qPrintable(driver + QStringLiteral(" wrong password")))
            << driver << m_servers.pgPort << m_orvaDatabase << secret;
        QTest::newRow(qPrintable(driver + QStringLiteral(" server down")))
            << driver << closedPort << m_orvaDatabase << m_servers.pgPassword;
        QTest::newRow(qPrintable(driver + QStringLiteral(" missing database")))
            << driver << m_servers.pgPort << QStringLiteral("orva_no_existe") << m_servers.pgPassword;
    }
}

void TstConnectionFailures::orvaOnServer()
{
    QFETCH(QString, driver);
    QFETCH(int, port);
    QFETCH(QString, database);
    QFETCH(QString, password);
    SharedServices services;
    ServerSettings settings;
    if (driver == QLatin1String("PSQL")) {
        settings.driver = QStringLiteral("QPSQL");
    } else {
        settings.odbcDriver = QStringLiteral("PostgreSQL Unicode");
    }
    settings.dialect = SqlDialect::PostgreSql;
    settings.port = port;
    services.session.setServerSettings(settings);
    services.session.Server = m_servers.pgHost;
    services.session.DbName = database;
    services.session.User = m_servers.pgUser;
    services.session.Password = password;
    services.session.Open(false, 3, QString());
    QVERIFY(!services.session.Connected());
    const QString message = services.session.openError();
    qInfo("%s", qPrintable(message));
    QVERIFY2(message.contains(m_servers.pgHost), qPrintable(message));
    QVERIFY2(message.contains(database), qPrintable(message));
    QVERIFY2(!message.contains(password), qPrintable(message));
}

QTEST_GUILESS_MAIN(TstConnectionFailures)
#include "tst_connectionfailures.moc"
