// Traspasor KTZ: start-up. Builds the demo databases ("--demo <folder>"),
// or starts a session and runs the transfer unattended (console) or with the
// desktop windows.

#include "app/demobuilder.h"
#include "app/reconcilecommand.h"
#include "app/transfersteps.h"
#include "app/usage.h"
#include "run/console/consolefront.h"
#include "run/exitcodes.h"
#include "run/runjson.h"
#include "run/stopsignals.h"
#include "run/desktop/desktopapp.h"
#include "services/consoleoperator.h"
#include "services/sharedservices.h"
#include "services/targetlock.h"
#include "session/session.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QLockFile>
#include <QStringList>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

void printError(const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

QString commandLineOf(int argc, char **argv)
{
    return argumentsOf(argc, argv).join(QLatin1Char(' '));
}

int usageError(const QString &reason)
{
    printError(reason);
    printError(usageLine());
    return ExitUsage;
}

bool isDemoStart(const QStringList &arguments)
{
    return !arguments.isEmpty()
        && (arguments.first() == QLatin1String("--demo") || arguments.first() == QLatin1String("demo"));
}

// --help, -h and --version answer before anything else starts: no display,
// no Orva database, no log. Outside the demo an argument that looks like an
// option and is none is a usage error. Returns -1 when the start goes on.
int answerOptions(int argc, char **argv)
{
    const QStringList arguments = argumentsOf(argc, argv);
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        QCoreApplication app(argc, argv);
        std::fputs(helpText(Session::defaultProgramFolder(false)).toUtf8().constData(), stdout);
        return ExitCompleted;
    }
    if (arguments.contains(QLatin1String("--version"))) {
        std::fputs((versionText() + QLatin1Char('\n')).toUtf8().constData(), stdout);
        return ExitCompleted;
    }
    if (isDemoStart(arguments))
        return -1;
    for (const QString &argument : arguments) {
        if (argument.startsWith(QLatin1Char('-')))
            return usageError(QStringLiteral("Opción desconocida: %1").arg(argument));
    }
    return -1;
}

int buildDemo(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = argumentsOf(argc, argv);
    if (arguments.size() < 2 || arguments.at(1).startsWith(QLatin1Char('-')))
        return usageError(QStringLiteral("--demo: falta el nombre de la carpeta"));
    const QString folder = arguments.at(1);
    DemoTargets targets;
    QString error;
    if (!parseDemoTargets(arguments.mid(2), &targets, &error))
        return usageError(QStringLiteral("--demo: ") + error);
    const QStringList existing = existingDemoDatabases(folder);
    if (!existing.isEmpty() && !targets.replaceExisting) {
        return usageError(QStringLiteral("--demo: %1 ya tiene %2; --force las reemplaza")
                              .arg(QDir(folder).absolutePath(), existing.join(QStringLiteral(", "))));
    }
    if (!buildDemoDatabases(folder, targets, &error)) {
        printError(QStringLiteral("No se pudieron crear las bases de demostración: ") + error);
        return ExitNotFinished;
    }
    std::printf("Bases de demostración creadas en %s (orva.db, ktz.db, ktz2.db)\n",
                QDir(folder).absolutePath().toLocal8Bit().constData());
    return ExitCompleted;
}

// One instance per program folder: a second start ends at once.
std::unique_ptr<QLockFile> lockInstance(const QString &programFolder)
{
    const QByteArray key = QCryptographicHash::hash(programFolder.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    auto lock = std::make_unique<QLockFile>(QDir::tempPath() + QStringLiteral("/traspasor-") + QString::fromLatin1(key)
                                            + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

// The log of the program folder, bounded: only the instance that holds the
// folder's lock moves a full log aside, before its first line. Qt's own
// messages go into it from here on.
void openLog(Log &log, const QString &programFolder, bool holdsFolder)
{
    const QString path = programFolder + QStringLiteral("traspasor.log");
    if (holdsFolder)
        Log::rotate(path);
    log.open(path);
    log.takeQtMessages();
}

// Unknown entries and values cut short are named on standard error and in
// the log, and the run goes on; a name within one letter of a known entry
// is a usage error, so a typo never changes what is transferred. False then.
bool reportEntryFindings(Log &log, const QString &commandLine)
{
    bool usable = true;
    for (const EntryFinding &finding : SessionParameters::check(commandLine)) {
        if (finding.kind == EntryFinding::Misspelt) {
            log.error(finding.message());
            printError(finding.message());
            usable = false;
        } else {
            log.warning(finding.message());
            printError(finding.message());
        }
    }
    if (!usable)
        printError(usageLine());
    return usable;
}

// One run per Orva database, whichever program folder it starts from: the
// target's lock is held until the program ends. Returns -1 when taken,
// otherwise the exit code of a start that must end.
int lockOrvaTarget(SharedServices &services, TargetLock &lock)
{
    QString text;
    switch (lock.take(services.session.connection(), services.session.DbName)) {
    case TargetLock::Outcome::Taken:
        services.log.info(QStringLiteral("Bloqueo tomado: %1.").arg(lock.describe()));
        return -1;
    case TargetLock::Outcome::Held:
        text = QStringLiteral("Otra ejecución trabaja sobre esta base de Orva (%1)").arg(lock.describe());
        if (!lock.holder().isEmpty())
            text += QStringLiteral(": ") + lock.holder();
        text += QStringLiteral(". Este inicio termina.");
        services.log.warning(text);
        break;
    case TargetLock::Outcome::Failed:
        text = QStringLiteral("No se pudo tomar el bloqueo de la base de Orva (%1): %2. Este inicio termina.")
                   .arg(lock.describe(), lock.error());
        services.log.error(text);
        break;
    }
    printError(text);
    return ExitLocked;
}

// A start that ends before any run: the log's summary line and, when asked
// for, the report with status not_started.
int notStarted(SharedServices &services, const SessionParameters &asked, const QDateTime &started, int exitCode,
               const QString &reason)
{
    RunAccount run;
    run.runId = services.log.runId();
    run.started = started;
    run.ended = QDateTime::currentDateTime();
    // Orva as the command line names it: never its password.
    run.orva = asked.Server.trimmed().isEmpty()
        ? asked.DbName
        : QStringLiteral("servidor %1, base de datos %2").arg(asked.Server.trimmed(), asked.DbName);
    run.status = RunStatus::NotStarted;
    run.reason = reason;
    run.exitCode = exitCode;
    writeRunReport(asked.Informe, run, services.log);
    services.log.info(run.summary());
    return exitCode;
}

int runSession(const QString &commandLine, bool unattended)
{
    const QDateTime started = QDateTime::currentDateTime();
    StopSignals::instance().install();
    SharedServices services;
    Session session(services);
    session.programFolder = Session::defaultProgramFolder();
    const auto lock = lockInstance(session.programFolder);
    openLog(services.log, session.programFolder, lock != nullptr);
    services.log.info(QStringLiteral("Inicio de Traspasor KTZ (%1).")
                          .arg(unattended ? QStringLiteral("desatendido") : QStringLiteral("interactivo")));
    const SessionParameters asked = SessionParameters::parse(commandLine);
    if (!lock) {
        const QString reason = QStringLiteral("Traspasor KTZ ya está en ejecución.");
        services.log.warning(QStringLiteral("Ya hay otra instancia en ejecución: este inicio termina."));
        printError(reason);
        return notStarted(services, asked, started, ExitLocked, reason);
    }

    if (!reportEntryFindings(services.log, commandLine))
        return notStarted(services, asked, started, ExitUsage, QStringLiteral("error en la línea de órdenes"));
    // The test hooks on the writes to Orva: a value that is no count is
    // refused, so a typo cannot quietly leave a test without its fault.
    QString hookError;
    if (!services.faults.readEnvironment(&hookError)) {
        services.log.error(hookError);
        printError(hookError);
        return notStarted(services, asked, started, ExitUsage, hookError);
    }
    if (services.faults.active())
        services.log.warning(
            QStringLiteral("Ganchos de prueba activos (TRASPASOR_CRASH_AT_WRITE / TRASPASOR_FAIL_AT_WRITE)."));

    ConsoleOperator console(services.log);
    services.setOperator(&console);
    services.session.setServerSettings(ServerSettings::read(
        qEnvironmentVariable("TRASPASOR_SERVICES_INI", session.programFolder + QStringLiteral("SharedServices.ini"))));

    QString connectionText;
    if (!session.IniciaSesion(connectionText, commandLine)) {
        const QString reason =
            QStringLiteral("No se pudo abrir la base de datos de Orva: ") + services.session.openError();
        services.log.error(reason);
        printError(reason);
        return notStarted(services, asked, started, ExitNoOrva, reason);
    }
    services.log.info(QStringLiteral("Conectado a Orva (%1).").arg(services.session.connection().target().describe()));
    TargetLock targetLock;
    if (const int refused = lockOrvaTarget(services, targetLock); refused >= 0)
        return notStarted(services, asked, started, refused, QStringLiteral("otra ejecución tiene el bloqueo de Orva"));

    RunContext context(session);
    TransferSteps steps(session);
    if (!unattended)
        return runDesktop(session, context, steps.steps());

    ConsoleFront front;
    QString usage;
    if (!front.tickFromList(session.parameters.Datos, &usage)) {
        services.log.error(usage);
        printError(usage);
        return notStarted(services, asked, started, ExitUsage, usage);
    }
    services.log.setEchoWarnings(true);
    front.showProgress = ConsoleFront::progressWanted(session.parameters.Progreso, isatty(STDERR_FILENO));
    context.progress.setView(&front);
    RunDriver driver(context, front, steps.steps());
    driver.unattended = true;
    driver.cmdActualizar_Click();
    const RunAccount &run = driver.lastRun();
    if (!statusFinished(run.status))
        services.log.error(QStringLiteral("La actualización no terminó (%1).").arg(statusText(run.status)));
    return run.exitCode;
}

} // namespace

int main(int argc, char **argv)
{
    if (const int answered = answerOptions(argc, argv); answered >= 0)
        return answered;
    if (isDemoStart(argumentsOf(argc, argv)))
        return buildDemo(argc, argv);

    const QString commandLine = commandLineOf(argc, argv);
    if (SessionParameters::parse(commandLine).reconciliation()) {
        QCoreApplication app(argc, argv);
        return runReconciliation(commandLine);
    }
    const bool unattended = SessionParameters::parse(commandLine).unattended();
    if (unattended) {
        // Unattended runs need no display: nothing but the console is made.
        QCoreApplication app(argc, argv);
        return runSession(commandLine, true);
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        printError(QStringLiteral("No hay pantalla para las ventanas: para una ejecución sin pantalla use "
                                  "\"@ParametroAdicional=DesdeTimer;\"."));
        return ExitUsage;
    }
    QApplication app(argc, argv);
    return runSession(commandLine, false);
}
