// The program as a scheduler runs it: demo databases, the unattended run,
// its exit status, its report lines and its messages; help, version and
// the usage errors of the command line.

#include "run/exitcodes.h"
#include "support/programrun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Result = ProgramResult;
Result runProgram(const QStringList &arguments, const QString &programFolder, const QStringList &environment = {})
{
    return runTraspasor(arguments, programFolder, {}, 120000, environment);
}

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
}

} // namespace

class TstProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void unattendedRunOnTheDemo();
    void chosenKindsOnly();
    void unknownKindIsAUsageError();
    void missingOrvaEndsWithAMessage();
    void helpAndVersion_data();
    void helpAndVersion();
    void usageErrors_data();
    void usageErrors();
    void demoKeepsExistingDatabasesWithoutForce();
    void entriesNotKnownOrCut_data();
    void entriesNotKnownOrCut();
    void progressLinesOnlyWhenAsked();
    void errorsReachStandardErrorWhenQuiet();
    void oneRunPerOrvaDatabase();
    void testHookValues_data();
    void testHookValues();

private:
    QTemporaryDir m_dir;
    QString m_demo;
};

void TstProgram::initTestCase()
{
    QVERIFY(!qEnvironmentVariable("TRASPASOR_TEST_BIN").isEmpty());
    m_demo = m_dir.filePath(QStringLiteral("demo"));
    const Result r = runProgram({QStringLiteral("--demo"), m_demo}, m_dir.filePath(QStringLiteral("prog")));
    QCOMPARE(r.exitCode, 0);
    for (const char *file : {"orva.db", "ktz.db", "ktz2.db"})
        QVERIFY(QFile::exists(m_demo + QLatin1Char('/') + QLatin1String(file)));
}

void TstProgram::unattendedRunOnTheDemo()
{
    const QString folder = m_dir.filePath(QStringLiteral("prog1"));
    const QString args = QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=%1/orva.db;").arg(m_demo);
    const Result r = runProgram({args}, folder);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    // Standard error is no terminal here: a clean run prints its report only.
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    // One report per pass: the demo configures two KTZ databases.
    QVERIFY(r.out.contains(QStringLiteral("Paso 0 - Actualización Finalizada")));
    QVERIFY(r.out.contains(QStringLiteral("Paso 1 - Actualización Finalizada")));
    QCOMPARE(r.out.count(QStringLiteral("Artículos Actualizados: ")), 2);
    QCOMPARE(r.out.count(QStringLiteral("Remitos Actualizados: ")), 2);
    QVERIFY(QFile::exists(folder + QStringLiteral("/consultas.qdx")));
    QFile log(folder + QStringLiteral("/traspasor.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray logText = log.readAll();
    QVERIFY(logText.contains("Actualización finalizada"));
    QVERIFY(!logText.contains("masterkey")); // the demo's KTZ password, lower-cased
}

void TstProgram::chosenKindsOnly()
{
    const QString args =
        QStringLiteral("@ParametroAdicional=DesdeTimer;@Datos= artículos , REMITOS ;@DbName=%1/orva.db;").arg(m_demo);
    const Result r = runProgram({args}, m_dir.filePath(QStringLiteral("prog2")));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(r.out.contains(QStringLiteral("Artículos Actualizados: ")));
    QVERIFY(r.out.contains(QStringLiteral("Clientes: No se realizó la Actualización")));
    QVERIFY(r.out.contains(QStringLiteral("Ventas: No se realizó la Actualización")));
    QVERIFY(r.out.contains(QStringLiteral("Remitos Actualizados: ")));
}

void TstProgram::unknownKindIsAUsageError()
{
    const QString args =
        QStringLiteral("@ParametroAdicional=DesdeTimer;@Datos=Articulos,Stock;@DbName=%1/orva.db;").arg(m_demo);
    const Result r = runProgram({args}, m_dir.filePath(QStringLiteral("prog3")));
    QCOMPARE(r.exitCode, 64);
    QVERIFY(r.err.contains(QStringLiteral("Stock")));
    QVERIFY(r.out.isEmpty());
}

void TstProgram::missingOrvaEndsWithAMessage()
{
    const QString missing = m_dir.filePath(QStringLiteral("no-such.db"));
    const Result r =
        runProgram({QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=%1;@Password=Secreto9;").arg(missing)},
                   m_dir.filePath(QStringLiteral("prog4")));
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.contains(missing));
    QVERIFY(!r.err.contains(QStringLiteral("Secreto9")));
    QVERIFY(!QFile::exists(missing));
}

void TstProgram::helpAndVersion_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("shown");
    const QStringList help{QStringLiteral("@ParametroAdicional=DesdeTimer"),
                           QStringLiteral("@Datos="),
                           QStringLiteral("--force"),
                           QStringLiteral("--orva-postgresql"),
                           QStringLiteral("traspasor.log"),
                           QStringLiteral("SharedServices.ini"),
                           exitCodeTable()};
    QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << help;
    QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << help;
    QTest::newRow("help among entries") << QStringList{QStringLiteral("@DbName=x.db;"), QStringLiteral("--help")}
                                        << help;
    // Asked for after --demo it is help, not the name of a folder.
    QTest::newRow("--demo --help") << QStringList{QStringLiteral("--demo"), QStringLiteral("--help")} << help;
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")}
                               << QStringList{QStringLiteral("Traspasor KTZ " TRASPASOR_VERSION "\n")};
}

void TstProgram::helpAndVersion()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, shown);
    QTemporaryDir cwd;
    const QString folder = m_dir.filePath(QStringLiteral("prog-help"));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TRASPASOR_PROGRAM_FOLDER"), folder);
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(cwd.path());
    p.start(qEnvironmentVariable("TRASPASOR_TEST_BIN"), arguments);
    QVERIFY(p.waitForFinished(30000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    QCOMPARE(p.exitCode(), 0);
    QVERIFY2(p.readAllStandardError().isEmpty(), "nothing on standard error");
    for (const QString &text : shown)
        QVERIFY2(out.contains(text), qPrintable(text));
    if (shown.size() == 1)
        QCOMPARE(out, shown.first());
    // Nothing is made: no folder named after the option, no log.
    QVERIFY(QDir(cwd.path()).isEmpty());
    QVERIFY(!QFile::exists(folder + QStringLiteral("/traspasor.log")));
}

void TstProgram::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--verbose")} << "Opción desconocida: --verbose";
    QTest::newRow("unknown option among entries")
        << QStringList{QStringLiteral("@ParametroAdicional=DesdeTimer;"), QStringLiteral("-x")}
        << "Opción desconocida: -x";
    QTest::newRow("demo without folder") << QStringList{QStringLiteral("--demo")} << "falta el nombre de la carpeta";
    QTest::newRow("demo with an option for folder")
        << QStringList{QStringLiteral("--demo"), QStringLiteral("--force")} << "falta el nombre de la carpeta";
    QTest::newRow("demo unknown option") << QStringList{QStringLiteral("--demo"), QStringLiteral("nueva"),
                                                        QStringLiteral("--bogus"), QStringLiteral("1")}
                                         << "opción desconocida --bogus";
    QTest::newRow("demo option without value")
        << QStringList{QStringLiteral("--demo"), QStringLiteral("nueva"), QStringLiteral("--orva-user")}
        << "falta el valor de --orva-user";
}

void TstProgram::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    QTemporaryDir cwd;
    QProcess p;
    p.setWorkingDirectory(cwd.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TRASPASOR_PROGRAM_FOLDER"), m_dir.filePath(QStringLiteral("prog-usage")));
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("TRASPASOR_TEST_BIN"), arguments);
    QVERIFY(p.waitForFinished(30000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitCode(), int(ExitUsage));
    QVERIFY2(err.contains(reason), qPrintable(err));
    QVERIFY2(err.contains(QStringLiteral("Uso: traspasor")), qPrintable(err));
    QVERIFY(p.readAllStandardOutput().isEmpty());
    QVERIFY(QDir(cwd.path()).isEmpty());
}

void TstProgram::demoKeepsExistingDatabasesWithoutForce()
{
    const QString folder = m_dir.filePath(QStringLiteral("demo-again"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(m_demo + QStringLiteral("/orva.db"), folder + QStringLiteral("/orva.db")));
    // The operator's Orva has moved on since the demo was made.
    const QString args = QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=%1/orva.db;").arg(folder);
    QCOMPARE(runProgram({args}, m_dir.filePath(QStringLiteral("prog-again"))).exitCode, 0);
    const QByteArray before = fileHash(folder + QStringLiteral("/orva.db"));

    Result r = runProgram({QStringLiteral("--demo"), folder}, m_dir.filePath(QStringLiteral("prog-again")));
    QCOMPARE(r.exitCode, int(ExitUsage));
    QVERIFY2(r.err.contains(QStringLiteral("orva.db")) && r.err.contains(QStringLiteral("--force")), qPrintable(r.err));
    QCOMPARE(fileHash(folder + QStringLiteral("/orva.db")), before);
    QVERIFY(!QFile::exists(folder + QStringLiteral("/ktz.db")));

    r = runProgram({QStringLiteral("--demo"), folder, QStringLiteral("--force")},
                   m_dir.filePath(QStringLiteral("prog-again")));
    QCOMPARE(r.exitCode, 0);
    QVERIFY(fileHash(folder + QStringLiteral("/orva.db")) != before);
    QVERIFY(QFile::exists(folder + QStringLiteral("/ktz.db")));
}

void TstProgram::entriesNotKnownOrCut_data()
{
    QTest::addColumn<QString>("entries");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::newRow("unknown entry: the run goes on") << "@Foo=bar;" << 0 << "entrada desconocida @Foo";
    QTest::newRow("misspelt kinds: nothing runs")
        << "@Dato=Ventas;" << int(ExitUsage) << "entrada desconocida @Dato: ¿quiso decir @Datos?";
    QTest::newRow("misspelt Orva name") << "@DBNam=otra.db;" << int(ExitUsage) << "¿quiso decir @DbName?";
    QTest::newRow("last entry cut: the run goes on with the cut value")
        << "@Caja=12345" << 0 << "la entrada @Caja no termina en \";\": su valor se cortó a \"1234\"";
}

void TstProgram::entriesNotKnownOrCut()
{
    QFETCH(QString, entries);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    const QString orva = m_dir.filePath(QStringLiteral("entries-orva.db"));
    QFile::remove(orva);
    QVERIFY(QFile::copy(m_demo + QStringLiteral("/orva.db"), orva));
    const QByteArray before = fileHash(orva);
    const QString folder = m_dir.filePath(QStringLiteral("prog-entries"));
    QFile::remove(folder + QStringLiteral("/traspasor.log"));
    const Result r =
        runProgram({QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=%1;").arg(orva) + entries}, folder);
    QVERIFY2(r.exitCode == exitCode, qPrintable(r.err));
    QVERIFY2(r.err.contains(said), qPrintable(r.err));
    QFile log(folder + QStringLiteral("/traspasor.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(log.readAll()).contains(said));
    if (exitCode == int(ExitUsage)) {
        QVERIFY(r.err.contains(QStringLiteral("Uso: traspasor")));
        QVERIFY(r.out.isEmpty());
        QCOMPARE(fileHash(orva), before);
    } else {
        QVERIFY(r.out.contains(QStringLiteral("Paso 0 - Actualización Finalizada")));
    }
}

void TstProgram::progressLinesOnlyWhenAsked()
{
    const QString args = QStringLiteral("@ParametroAdicional=DesdeTimer;@Progreso=SI;@DbName=%1/orva.db;").arg(m_demo);
    const Result r = runProgram({args}, m_dir.filePath(QStringLiteral("prog-progress")));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("Actualizando Artículos...")), qPrintable(r.err));
    QVERIFY(!r.out.contains(QStringLiteral("Actualizando Artículos")));
    QVERIFY(r.out.contains(QStringLiteral("Paso 0 - Actualización Finalizada")));
}

void TstProgram::errorsReachStandardErrorWhenQuiet()
{
    // The first KTZ database is gone: the run gives up, and says so on
    // standard error although the progress lines are off.
    const QString orva = m_dir.filePath(QStringLiteral("broken-orva.db"));
    QVERIFY(QFile::copy(m_demo + QStringLiteral("/orva.db"), orva));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("broken"));
        db.setDatabaseName(orva);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("UPDATE TA_CONFIGURACION SET VALOR = '%1' WHERE CLAVE = 'KTZ_BASEDEDATOS'")
                               .arg(m_dir.filePath(QStringLiteral("gone/ktz.db")))));
        QCOMPARE(query.numRowsAffected(), 1);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("broken"));
    const Result r = runProgram({QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=%1;").arg(orva)},
                                m_dir.filePath(QStringLiteral("prog-broken")));
    QCOMPARE(r.exitCode, int(ExitNotFinished));
    QVERIFY2(r.err.contains(QStringLiteral("ERROR")) && r.err.contains(QStringLiteral("gone/ktz.db")),
             qPrintable(r.err));
    QVERIFY(!r.err.contains(QStringLiteral("Actualizando Artículos...")));
}

void TstProgram::oneRunPerOrvaDatabase()
{
    const QString folder = m_dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(folder));
    const QString orva = folder + QStringLiteral("/orva.db");
    QVERIFY(QFile::copy(m_demo + QStringLiteral("/orva.db"), orva));
    const QString link = m_dir.filePath(QStringLiteral("orva-link.db"));
    QVERIFY(QFile::link(orva, link));

    // A first run, with the main window open, from one program folder.
    const QString firstFolder = m_dir.filePath(QStringLiteral("prog-first"));
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TRASPASOR_PROGRAM_FOLDER"), firstFolder);
    first.setProcessEnvironment(env);
    first.start(qEnvironmentVariable("TRASPASOR_TEST_BIN"), {QStringLiteral("@DbName=%1;").arg(orva)});
    QVERIFY(first.waitForStarted());
    const auto firstHoldsIt = [&] {
        QFile log(firstFolder + QStringLiteral("/traspasor.log"));
        return log.open(QIODevice::ReadOnly) && log.readAll().contains("Bloqueo tomado");
    };
    QTRY_VERIFY_WITH_TIMEOUT(firstHoldsIt(), 60000);

    // A second run from another program folder, through a link to the same file.
    const QString secondFolder = m_dir.filePath(QStringLiteral("prog-second"));
    Result r = runProgram({QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=%1;").arg(link)}, secondFolder);
    QCOMPARE(r.exitCode, int(ExitLocked));
    QVERIFY2(r.err.contains(QStringLiteral("Otra ejecución trabaja sobre esta base de Orva")), qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("proceso %1 ").arg(first.processId())), qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral(", iniciada 20")), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());

    // The first run dies without its clean-up: its lock goes with it.
    first.kill();
    QVERIFY(first.waitForFinished());
    r = runProgram({QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=%1;").arg(link)}, secondFolder);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
}

void TstProgram::testHookValues_data()
{
    QTest::addColumn<QString>("hook");
    QTest::addColumn<int>("exitCode");
    // A fault point past the last write leaves the run undisturbed.
    QTest::newRow("past the last write") << "TRASPASOR_CRASH_AT_WRITE=100000" << int(ExitCompleted);
    QTest::newRow("empty: unset") << "TRASPASOR_FAIL_AT_WRITE=" << int(ExitCompleted);
    // Anything else than a positive whole number would leave a test without
    // its fault: refused before Orva is opened.
    QTest::newRow("zero") << "TRASPASOR_CRASH_AT_WRITE=0" << int(ExitUsage);
    QTest::newRow("negative") << "TRASPASOR_CRASH_AT_WRITE=-3" << int(ExitUsage);
    QTest::newRow("letter O for zero") << "TRASPASOR_CRASH_AT_WRITE=1O" << int(ExitUsage);
    QTest::newRow("lasting crash") << "TRASPASOR_CRASH_AT_WRITE=4+" << int(ExitUsage);
    QTest::newRow("fraction") << "TRASPASOR_FAIL_AT_WRITE=2.5" << int(ExitUsage);
    QTest::newRow("plus alone") << "TRASPASOR_FAIL_AT_WRITE=+" << int(ExitUsage);
    QTest::newRow("blank inside") << "TRASPASOR_FAIL_AT_WRITE=1 2" << int(ExitUsage);
}

void TstProgram::testHookValues()
{
    QFETCH(QString, hook);
    QFETCH(int, exitCode);
    const QString orva = m_demo + QStringLiteral("/orva.db");
    // A run over the demo first, so the run under test has nothing to change.
    const QString folder = m_dir.filePath(QStringLiteral("prog-hooks"));
    const QString args = QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=%1;").arg(orva);
    QCOMPARE(runProgram({args}, folder).exitCode, 0);
    const QByteArray before = fileHash(orva);
    const Result r = runProgram({args}, folder, {hook});
    QVERIFY2(r.exitCode == exitCode, qPrintable(r.err));
    if (exitCode == ExitUsage) {
        QVERIFY2(r.err.contains(hook.section(QLatin1Char('='), 0, 0) + QLatin1Char('=')), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        QCOMPARE(fileHash(orva), before);
    }
}

QTEST_GUILESS_MAIN(TstProgram)
#include "tst_program.moc"
