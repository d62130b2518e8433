#include "app/reconcilecommand.h"
#include "reconcile/reconcileoutput.h"
#include "run/exitcodes.h"
#include "services/consoleoperator.h"
#include "services/sharedservices.h"
#include "session/session.h"

#include <cstdio>

namespace {

void printTo(FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

// The command line's entries: a misspelt name is a usage error (a "@Hsta"
// would silently widen the days reconciled); other findings are named.
bool entriesUsable(const QString &commandLine)
{
    bool usable = true;
    for (const EntryFinding &finding : SessionParameters::check(commandLine)) {
        printTo(stderr, finding.message() + QLatin1Char('\n'));
        usable = usable && finding.kind != EntryFinding::Misspelt;
    }
    return usable;
}

} // namespace

int runReconciliation(const QString &commandLine)
{
    const SessionParameters parameters = SessionParameters::parse(commandLine);
    ReconcileOptions options;
    QString usage;
    if (!entriesUsable(commandLine))
        return ExitUsage;
    if (!parseReconcileOptions(parameters.Desde, parameters.Hasta, &options, &usage)) {
        printTo(stderr, QStringLiteral("Uso: ") + usage + QLatin1Char('\n'));
        return ExitUsage;
    }

    SharedServices services;
    Session session(services);
    session.programFolder = Session::defaultProgramFolder();
    services.log.open(session.programFolder + QStringLiteral("traspasor.log"));
    services.log.setEcho(false);
    services.log.info(QStringLiteral("Inicio de la conciliación KTZ - Orva."));
    ConsoleOperator console(services.log);
    services.setOperator(&console);
    services.session.setServerSettings(ServerSettings::read(
        qEnvironmentVariable("TRASPASOR_SERVICES_INI", session.programFolder + QStringLiteral("SharedServices.ini"))));
    // The reconciliation only reads: Orva is opened so that it cannot write.
    services.session.setReadOnly(true);

    QString connectionText;
    if (!session.IniciaSesion(connectionText, commandLine)) {
        const QString reason =
            QStringLiteral("No se pudo abrir la base de datos de Orva: ") + services.session.openError();
        services.log.error(reason);
        printTo(stderr, reason + QLatin1Char('\n'));
        return ExitNoOrva;
    }

    const Reconciliation r = reconcile(session, options);
    printTo(stdout, reconciliationTable(r));
    for (const QString &error : r.errors)
        printTo(stderr, error + QLatin1Char('\n'));
    const QString reportPath = SessionParameters::entry(commandLine, QStringLiteral("@Informe"), QString());
    if (!reportPath.isEmpty()) {
        QString error;
        if (!writeReconciliationJson(r, reportPath, &error)) {
            services.log.error(error);
            printTo(stderr, error + QLatin1Char('\n'));
            return ExitNotFinished;
        }
    }
    return exitCodeOf(r.status);
}
