#include "support/programrun.h"

#include <QProcess>
#include <QProcessEnvironment>

ProgramResult runTraspasor(const QStringList &arguments, const QString &programFolder, const QString &servicesIni,
                           int timeoutMs, const QStringList &environment)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TRASPASOR_PROGRAM_FOLDER"), programFolder);
    if (!servicesIni.isEmpty())
        env.insert(QStringLiteral("TRASPASOR_SERVICES_INI"), servicesIni);
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("TRASPASOR_CRASH_AT_WRITE"));
    env.remove(QStringLiteral("TRASPASOR_FAIL_AT_WRITE"));
    for (const QString &setting : environment)
        env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("TRASPASOR_TEST_BIN"), arguments);
    if (!p.waitForFinished(timeoutMs))
        qFatal("the program did not finish");
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}
