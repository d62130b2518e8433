// One run per Orva database on a PostgreSQL server: the advisory lock of a
// session keeps a second session, and a second program from any program
// folder, off the same database; a different database is not held.

#include "serverenv.h"
#include "run/exitcodes.h"
#include "services/connection.h"
#include "services/errorhandling.h"
#include "services/log.h"
#include "services/targetlock.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

class TstTargetLock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void secondSessionIsHeldOff();
    void programOnAHeldDatabaseEndsLocked();

private:
    ConnectionSpec spec(const QString &database) const;
    struct Result
    {
        int exitCode = -1;
        QString out, err;
    };
    Result runProgram(const QString &database, const QString &programFolder);

    Servers m_servers = Servers::load();
    QTemporaryDir m_dir;
    QString m_database, m_other, m_ini;
    Log m_log;
    ErrorHandling m_errors{m_log};
};

void TstTargetLock::initTestCase()
{
    REQUIRE_SERVERS(m_servers);
    m_database = m_servers.createPostgres(QStringLiteral("orva_lock"));
    m_other = m_servers.createPostgres(QStringLiteral("orva_lock_other"));
    QVERIFY(!m_database.isEmpty() && !m_other.isEmpty());
    QVERIFY(m_servers.loadPostgres(m_database, {QStringLiteral("schema/orva.postgresql.sql"), QStringLiteral("demo/orva.demo.sql")}));
    m_ini = m_dir.filePath(QStringLiteral("SharedServices.ini"));
    QSettings settings(m_ini, QSettings::IniFormat);
    settings.setValue(QStringLiteral("Orva/Driver"), QStringLiteral("PSQL"));
    settings.setValue(QStringLiteral("Orva/Port"), m_servers.pgPort);
}

ConnectionSpec TstTargetLock::spec(const QString &database) const
{
    ConnectionSpec s;
    s.driver = QStringLiteral("QPSQL");
    s.host = m_servers.pgHost;
    s.port = m_servers.pgPort;
    s.databaseName = database;
    s.user = m_servers.pgUser;
    s.password = m_servers.pgPassword;
    s.dialect = SqlDialect::PostgreSql;
    return s;
}

TstTargetLock::Result TstTargetLock::runProgram(const QString &database, const QString &programFolder)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TRASPASOR_PROGRAM_FOLDER"), programFolder);
    env.insert(QStringLiteral("TRASPASOR_SERVICES_INI"), m_ini);
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("TRASPASOR_TEST_BIN"),
            {QStringLiteral("@ParametroAdicional=DesdeTimer;@Server=%1;@DbName=%2;@Usuario=%3;@Password=%4;")
                 .arg(m_servers.pgHost, database, m_servers.pgUser, m_servers.pgPassword)});
    if (!p.waitForFinished(120000))
        qFatal("the program did not finish");
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

void TstTargetLock::secondSessionIsHeldOff()
{
    Connection first(m_errors, QStringLiteral("lock-first"));
    Connection second(m_errors, QStringLiteral("lock-second"));
    Connection elsewhere(m_errors, QStringLiteral("lock-elsewhere"));
    QVERIFY(first.open(spec(m_database)));
    QVERIFY(second.open(spec(m_database)));
    QVERIFY(elsewhere.open(spec(m_other)));

    TargetLock a, b, c;
    QCOMPARE(a.take(first, QString()), TargetLock::Outcome::Taken);
    QCOMPARE(b.take(second, QString()), TargetLock::Outcome::Held);
    // The holder is named with its session's start.
    QVERIFY2(b.holder().startsWith(QStringLiteral("sesión ")) && b.holder().contains(QStringLiteral(", iniciada 20")),
             qPrintable(b.holder()));
    QCOMPARE(c.take(elsewhere, QString()), TargetLock::Outcome::Taken);

    a.release();
    QCOMPARE(b.take(second, QString()), TargetLock::Outcome::Taken);
    // A session that ends gives its lock up with it.
    second.close();
    QCOMPARE(a.take(first, QString()), TargetLock::Outcome::Taken);
}

void TstTargetLock::programOnAHeldDatabaseEndsLocked()
{
    Connection holder(m_errors, QStringLiteral("lock-holder"));
    QVERIFY(holder.open(spec(m_database)));
    auto lock = std::make_unique<TargetLock>();
    QCOMPARE(lock->take(holder, QString()), TargetLock::Outcome::Taken);

    Result r = runProgram(m_database, m_dir.filePath(QStringLiteral("prog-a")));
    QCOMPARE(r.exitCode, int(ExitLocked));
    QVERIFY2(r.err.contains(QStringLiteral("Otra ejecución trabaja sobre esta base de Orva"))
                 && r.err.contains(QStringLiteral("iniciada 20")),
             qPrintable(r.err));
    QVERIFY(r.out.isEmpty());

    lock.reset();
    r = runProgram(m_database, m_dir.filePath(QStringLiteral("prog-b")));
    QVERIFY2(r.exitCode != int(ExitLocked) && !r.err.contains(QStringLiteral("Otra ejecución")), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TstTargetLock)
#include "tst_targetlock.moc"
