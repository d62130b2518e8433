// A scheduled run against an Orva database on a PostgreSQL server. One run
// per database: the advisory lock of a session keeps a second session, and
// a second program from any program folder, off the same database; another
// database is not held. The password may come from the environment or from
// an owner-only file instead of the command line, and never reaches the log.

#include "serverenv.h"
#include "run/exitcodes.h"
#include "services/connection.h"
#include "services/errorhandling.h"
#include "services/log.h"
#include "services/targetlock.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

class TstServerRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void secondSessionIsHeldOff();
    void programOnAHeldDatabaseEndsLocked();
    void passwordOffTheCommandLine_data();
    void passwordOffTheCommandLine();

private:
    ConnectionSpec targetOf(const QString &database) const;
    struct Result
    {
        int exitCode = -1;
        QString out, err;
    };
    // The unattended run on database; without withPassword the command line
    // has no @Password and environment is added to the program's.
    Result runProgram(const QString &database, const QString &programFolder, bool withPassword = true,
                      const QProcessEnvironment &environment = {});

    Servers m_servers = Servers::load();
    QTemporaryDir m_dir;
    QString m_database, m_other, m_ini;
    Log m_log;
    ErrorHandling m_errors{m_log};
};

void TstServerRun::initTestCase()
{
    REQUIRE_SERVERS(m_servers);
    m_database = m_servers.createPostgres(QStringLiteral("orva_lock"));
    m_other = m_servers.createPostgres(QStringLiteral("orva_lock_other"));
    QVERIFY(!m_database.isEmpty() && !m_other.isEmpty());
    QVERIFY(m_servers.loadPostgres(
        m_database, {QStringLiteral("schema/orva.postgresql.sql"), QStringLiteral("demo/orva.demo.sql")}));
    m_ini = m_dir.filePath(QStringLiteral("SharedServices.ini"));
    QSettings settings(m_ini, QSettings::IniFormat);
    settings.setValue(QStringLiteral("Orva/Driver"), QStringLiteral("PSQL"));
    settings.setValue(QStringLiteral("Orva/Port"), m_servers.pgPort);
}

ConnectionSpec TstServerRun::targetOf(const QString &database) const
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

TstServerRun::Result TstServerRun::runProgram(const QString &database, const QString &programFolder, bool withPassword,
                                              const QProcessEnvironment &environment)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TRASPASOR_PROGRAM_FOLDER"), programFolder);
    env.insert(QStringLiteral("TRASPASOR_SERVICES_INI"), m_ini);
    env.remove(QStringLiteral("TRASPASOR_ORVA_PASSWORD"));
    env.insert(environment);
    p.setProcessEnvironment(env);
    QString entries = QStringLiteral("@ParametroAdicional=DesdeTimer;@Server=%1;@DbName=%2;@Usuario=%3;")
                          .arg(m_servers.pgHost, database, m_servers.pgUser);
    if (withPassword)
        entries += QStringLiteral("@Password=%1;").arg(m_servers.pgPassword);
    p.start(qEnvironmentVariable("TRASPASOR_TEST_BIN"), {entries});
    if (!p.waitForFinished(120000))
        qFatal("the program did not finish");
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

void TstServerRun::secondSessionIsHeldOff()
{
    Connection first(m_errors, QStringLiteral("lock-first"));
    Connection second(m_errors, QStringLiteral("lock-second"));
    Connection elsewhere(m_errors, QStringLiteral("lock-elsewhere"));
    QVERIFY(first.open(targetOf(m_database)));
    QVERIFY(second.open(targetOf(m_database)));
    QVERIFY(elsewhere.open(targetOf(m_other)));

    TargetLock a, b, c;
    QCOMPARE(a.take(first, QString()), TargetLock::Outcome::Taken);
    QCOMPARE(b.take(second, QString()), TargetLock::Outcome::Held);
    // The holder is named with its session's start.
    QVERIFY2(b.holder().startsWith(QStringLiteral("sesión ")) && b.holder().contains(QStringLiteral(", iniciada 20")),
             qPrintable(b.holder()));
    QCOMPARE(c.take(elsewhere, QString()), TargetLock::Outcome::Taken);

    a.release();
    QCOMPARE(b.take(second, QString()), TargetLock::Outcome::Taken);
    // A session that ends gives its lock up with it (once the server has
    // seen the session go, which it does on its own time).
    second.close();
    QTRY_VERIFY_WITH_TIMEOUT(a.take(first, QString()) == TargetLock::Outcome::Taken, 10000);
}

void TstServerRun::programOnAHeldDatabaseEndsLocked()
{
    Connection holder(m_errors, QStringLiteral("lock-holder"));
    QVERIFY(holder.open(targetOf(m_database)));
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

void TstServerRun::passwordOffTheCommandLine_data()
{
    QTest::addColumn<QString>("source"); // env, file, open-file, wrong-env, none
    QTest::addColumn<bool>("connects");
    QTest::addColumn<QString>("said");
    QTest::newRow("environment") << "env" << true << "";
    QTest::newRow("owner-only file") << "file" << true << "";
    QTest::newRow("file others may read") << "open-file" << false << "lo pueden leer otros usuarios";
    QTest::newRow("wrong password in the environment") << "wrong-env" << false << "";
    QTest::newRow("no password at all") << "none" << false << "";
}

void TstServerRun::passwordOffTheCommandLine()
{
    QFETCH(QString, source);
    QFETCH(bool, connects);
    QFETCH(QString, said);
    const QString folder = m_dir.filePath(QStringLiteral("prog-") + source);
    QProcessEnvironment env;
    // A settings file of its own, naming the password file when the case has one.
    const QString ini = m_dir.filePath(source + QStringLiteral(".ini"));
    QFile::copy(m_ini, ini);
    env.insert(QStringLiteral("TRASPASOR_SERVICES_INI"), ini);
    if (source == QLatin1String("env"))
        env.insert(QStringLiteral("TRASPASOR_ORVA_PASSWORD"), m_servers.pgPassword);
    if (source == QLatin1String("wrong-env"))
        env.insert(QStringLiteral("TRASPASOR_ORVA_PASSWORD"), m_servers.pgPassword + QStringLiteral("-no"));
    if (source.endsWith(QLatin1String("file"))) {
        QFile file(m_dir.filePath(source + QStringLiteral(".clave")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(m_servers.pgPassword.toUtf8() + '\n');
        file.close();
        QVERIFY(file.setPermissions(source == QLatin1String("file")
                                        ? QFile::ReadOwner | QFile::WriteOwner
                                        : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        QSettings settings(ini, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Orva/PasswordFile"),
                          source + QStringLiteral(".clave")); // beside the settings
    }
    const Result r = runProgram(m_database, folder, false, env);
    if (connects)
        QVERIFY2(r.exitCode != int(ExitNoOrva), qPrintable(r.err));
    else
        QVERIFY2(r.exitCode == int(ExitNoOrva), qPrintable(r.err));
    QVERIFY2(r.err.contains(said), qPrintable(r.err));
    QFile log(folder + QStringLiteral("/traspasor.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    QCOMPARE(text.contains("Conectado a Orva"), connects);
    // The test role's password is also a common word of this program's
    // names: what must never show is a password as a value, nor the wrong one.
    const QString wrong = m_servers.pgPassword + QStringLiteral("-no");
    for (const QString &shown : {QString::fromUtf8(text), r.err, r.out}) {
        QVERIFY(!shown.contains(wrong));
        QVERIFY(!shown.contains(QLatin1Char('=') + m_servers.pgPassword));
    }
}

QTEST_GUILESS_MAIN(TstServerRun)
#include "tst_serverrun.moc"
