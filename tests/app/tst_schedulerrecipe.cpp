// The scheduler recipe of contrib/: the systemd units pass
// `systemd-analyze verify` (where the tool is installed), and the command
// line that the service and the cron line document is one the program reads
// as meant: an unattended run on a named Orva, no unknown or cut entry, no
// password on it, the JSON report asked for.

#include "session/sessionparameters.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString sourceFile(const QString &name)
{
    QFile file(QStringLiteral(TRASPASOR_SOURCE_DIR "/contrib/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The one double-quoted argument of a documented command: the entries.
QString entriesOf(const QString &command)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\"(@[^\"]*)\"")).match(command);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString execStart(const QString &unit)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^ExecStart=(.*)$"), QRegularExpression::MultilineOption).match(unit);
    return m.captured(1);
}

} // namespace

class TstSchedulerRecipe : public QObject
{
    Q_OBJECT

private slots:
    void documentedCommandLineParses_data();
    void documentedCommandLineParses();
    void unitsVerify();
};

void TstSchedulerRecipe::documentedCommandLineParses_data()
{
    QTest::addColumn<QString>("command");
    const QString cron = sourceFile(QStringLiteral("traspasor.cron"));
    QString cronLine;
    for (const QString &line : cron.split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1String("/traspasor ")) && !line.startsWith(QLatin1Char('#')))
            cronLine = line;
    }
    QTest::newRow("systemd service") << execStart(sourceFile(QStringLiteral("traspasor.service")));
    QTest::newRow("cron line") << cronLine;
}

void TstSchedulerRecipe::documentedCommandLineParses()
{
    QFETCH(QString, command);
    const QString entries = entriesOf(command);
    QVERIFY2(!entries.isEmpty(), qPrintable(command));
    QCOMPARE(entries, entriesOf(execStart(sourceFile(QStringLiteral("traspasor.service"))))); // one recipe

    QStringList findings;
    for (const EntryFinding &f : SessionParameters::check(entries))
        findings << f.message();
    QCOMPARE(findings, QStringList());
    const SessionParameters p = SessionParameters::parse(entries);
    QVERIFY(p.unattended());
    QVERIFY(!p.Server.isEmpty() && !p.DbName.isEmpty() && !p.Usuario.isEmpty());
    QVERIFY2(p.Password.isEmpty(), "the password comes from the environment, never the command line");
    QVERIFY(!SessionParameters::entry(entries, QStringLiteral("@Informe"), QString()).isEmpty());
    QVERIFY(!command.contains(QLatin1String("flock")));
}

void TstSchedulerRecipe::unitsVerify()
{
    const QString analyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
    if (analyze.isEmpty())
        QSKIP("systemd-analyze is not installed");
    // The units as installed, with the program where this build has it.
    QTemporaryDir dir;
    for (const char *name : {"traspasor.service", "traspasor.timer"}) {
        QString text = sourceFile(QLatin1String(name));
        QVERIFY(!text.isEmpty());
        text.replace(QStringLiteral("/opt/traspasor/traspasor"), qEnvironmentVariable("TRASPASOR_TEST_BIN"));
        QFile file(dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(analyze,
            {QStringLiteral("verify"), QStringLiteral("./traspasor.timer"), QStringLiteral("./traspasor.service")});
    QVERIFY(p.waitForFinished(60000));
    const QString said = QString::fromUtf8(p.readAllStandardError() + p.readAllStandardOutput());
    QVERIFY2(p.exitCode() == 0, qPrintable(said));
    // A setting systemd cannot read is only a warning to it: none may show.
    QVERIFY2(!said.contains(dir.path()), qPrintable(said));
}

QTEST_GUILESS_MAIN(TstSchedulerRecipe)
#include "tst_schedulerrecipe.moc"
