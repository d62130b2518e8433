// The program as a scheduler runs it: demo databases, the unattended run,
// its exit status, its report lines and its messages.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Result
{
    int exitCode = -1;
    QString out, err;
};

Result runProgram(const QStringList &arguments, const QString &programFolder)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TRASPASOR_PROGRAM_FOLDER"), programFolder);
    env.remove(QStringLiteral("DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("TRASPASOR_TEST_BIN"), arguments);
    if (!p.waitForFinished(120000))
        qFatal("the program did not finish");
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
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
    QVERIFY(!logText.contains("masterkey"));  // the demo's KTZ password, lower-cased
}

void TstProgram::chosenKindsOnly()
{
    const QString args = QStringLiteral("@ParametroAdicional=DesdeTimer;@Datos= artículos , REMITOS ;@DbName=%1/orva.db;").arg(m_demo);
    const Result r = runProgram({args}, m_dir.filePath(QStringLiteral("prog2")));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(r.out.contains(QStringLiteral("Artículos Actualizados: ")));
    QVERIFY(r.out.contains(QStringLiteral("Clientes: No se realizó la Actualización")));
    QVERIFY(r.out.contains(QStringLiteral("Ventas: No se realizó la Actualización")));
    QVERIFY(r.out.contains(QStringLiteral("Remitos Actualizados: ")));
}

void TstProgram::unknownKindIsAUsageError()
{
    const QString args = QStringLiteral("@ParametroAdicional=DesdeTimer;@Datos=Articulos,Stock;@DbName=%1/orva.db;").arg(m_demo);
    const Result r = runProgram({args}, m_dir.filePath(QStringLiteral("prog3")));
    QCOMPARE(r.exitCode, 64);
    QVERIFY(r.err.contains(QStringLiteral("Stock")));
    QVERIFY(r.out.isEmpty());
}

void TstProgram::missingOrvaEndsWithAMessage()
{
    const QString missing = m_dir.filePath(QStringLiteral("no-such.db"));
    const Result r = runProgram({QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=%1;@Password=Secreto9;").arg(missing)},
                                m_dir.filePath(QStringLiteral("prog4")));
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.contains(missing));
    QVERIFY(!r.err.contains(QStringLiteral("Secreto9")));
    QVERIFY(!QFile::exists(missing));
}

QTEST_GUILESS_MAIN(TstProgram)
#include "tst_program.moc"
