#include "run/rundriver.h"
#include "run/runjson.h"
#include "run/sourceconnection.h"
#include "run/stopsignals.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

RunDriver::RunDriver(RunContext &context, RunFront &front, Steps steps)
    : m_context(context), m_front(front), m_steps(steps)
{}

QString RunDriver::sourceConnectionText()
{
    return ktzConnectionText(m_context.session, m_context.KeySuffix);
}

RunOutcome RunDriver::cmdActualizar_Click()
{
    SharedServices &svc = m_context.svc;
    m_run = RunAccount();
    m_run.runId = svc.log.startRun();
    m_run.started = QDateTime::currentDateTime();
    m_run.orva = svc.session.connection().target().describe();
    m_inPass = false;
    svc.log.info(QStringLiteral("Comienza la actualización %1 (Orva: %2).").arg(m_run.runId, m_run.orva));
    const RunOutcome outcome = runPasses();
    endRun();
    return outcome;
}

RunOutcome RunDriver::runPasses()
{
    SharedServices &svc = m_context.svc;
    ErrorHandling::Scope handler(svc.errors, QStringLiteral("cmdActualizar_Click"));
    // Settings and definitions are read once per run (see runcache.h).
    const RunCache::Hold held(svc.session.connection().runCache());
    // A stop asked for after the last test of the previous run is not this run's.
    m_context.PARAR = false;
    try {
        return handler.run([&] { return transferPasses(); },
                           [&](const GiveUp &giveUp) { return endGivenUp(giveUp.error); });
    } catch (const RunCancelled &) {
        const QString signal = StopSignals::receivedName();
        const QString reason = signal.isEmpty() ? QStringLiteral("cancelada por el operador")
                                                : QStringLiteral("detenida por la señal ") + signal;
        svc.log.warning(
            QStringLiteral("La actualización se detiene (paso %1): %2.").arg(m_context.SourcePass).arg(reason));
        // The record in progress is rolled back (or was not begun): not reached.
        m_context.tally.drop();
        CancelaActualizacion(RunStatus::Cancelled, reason);
        return RunOutcome::Cancelled;
    } catch (const RunTimeError &stray) {
        // An error raised outside every statement cannot be retried or
        // skipped: the run ends as if it had been given up, so the open
        // document is rolled back and nothing of it is committed.
        svc.log.error(QStringLiteral("Error fuera de una sentencia: ") + stray.error().text());
        return endGivenUp(stray.error());
    }
}

RunOutcome RunDriver::transferPasses()
{
    SharedServices &svc = m_context.svc;
    svc.errors.setRecord(QString());
    svc.errors.attempt(
        [&] { m_context.Digitos_Cuenta = toInt16(numericValue(m_context.Cfg(QStringLiteral("Digitos_Cuenta")))); });
    for (int pass = 0; pass <= 1; ++pass) {
        m_context.counters.reset();
        m_context.LastSalesDate.clear();
        m_context.LastDeliveryNoteDate.clear();
        if (pass == 1 && m_context.Cfg(QStringLiteral("KTZ_BASEDEDATOS2")).trimmed().isEmpty())
            break;
        if (!runPass(pass))
            return RunOutcome::GaveUp;
    }
    svc.log.info(QStringLiteral("Actualización finalizada."));
    return RunOutcome::Finished;
}

RunOutcome RunDriver::endGivenUp(const RunError &error)
{
    failCurrentRecord(error);
    if (error.number == ErrorNumber::ConnectionFailure) {
        endAfterConnectionLoss(error);
        return RunOutcome::ConnectionLost;
    }
    CancelaActualizacion(RunStatus::Abandoned, error.text());
    return RunOutcome::GaveUp;
}

void RunDriver::beginPass(int pass)
{
    m_context.SourcePass = pass;
    m_context.KeySuffix = pass == 0 ? QString() : QStringLiteral("2");
    m_context.account = PassAccount();
    m_context.account.pass = pass;
    const KtzConnectionText ktz = KtzConnectionText::parse(sourceConnectionText());
    m_context.account.ktz = ktz.server.trimmed().isEmpty()
        ? ktz.database
        : QStringLiteral("servidor %1, base de datos %2").arg(ktz.server.trimmed(), ktz.database);
    m_context.account.datesBefore = storedDates(pass);
    m_inPass = true;
    m_passOpen = false;
    m_datesTried = false;
}

void RunDriver::stopIfSignalled()
{
    if (StopSignals::received())
        throw RunCancelled();
}

void RunDriver::failCurrentRecord(const RunError &error)
{
    RecordTally &tally = m_context.tally;
    if (!tally.active())
        return;
    tally.fail(error.procedure, error.description.trimmed());
    tally.end(m_context.svc.errors.record());
}

QMap<QString, QVariant> RunDriver::storedDates(int pass)
{
    QMap<QString, QVariant> dates;
    for (const QString &key : passDateKeys(pass)) {
        const QString value = m_context.Cfg(key).trimmed();
        dates.insert(key, value.isEmpty() ? QVariant() : QVariant(value));
    }
    return dates;
}

void RunDriver::endPass(RunStatus status, const QString &reason)
{
    PassAccount &account = m_context.account;
    if (statusFinished(status))
        status = account.hasProblems() ? RunStatus::CompletedWithOmissions : RunStatus::Completed;
    else if (!m_passOpen && status != RunStatus::Cancelled)
        status = RunStatus::NotStarted;
    account.status = status;
    account.reason = reason;
    // An interrupted pass stores no date; a lost connection could not read
    // them. A pass whose dates were sent says what Orva holds.
    account.datesAfter = statusFinished(status) || m_datesTried ? storedDates(account.pass) : account.datesBefore;
    for (int k = 0; k < TransferKindCount; ++k)
        account.kinds[k].selected = account.kinds[k].started || m_front.isTicked(TransferKind(k));
    m_run.passes << account;
    m_inPass = false;
}

void RunDriver::endRun()
{
    SharedServices &svc = m_context.svc;
    m_run.conclude();
    m_run.ended = QDateTime::currentDateTime();
    writeRunReport(m_context.session.parameters.Informe, m_run, svc.log);
    svc.log.info(m_run.summary());
    svc.log.endRun();
}

bool RunDriver::runPass(int pass)
{
    SharedServices &svc = m_context.svc;
    beginPass(pass);
    svc.log.info(QStringLiteral("Paso %1: comienza.").arg(pass));
    stopIfSignalled();
    openSource();
    m_passOpen = true;
    m_front.setMainEnabled(false);
    m_context.progress.reset();
    m_front.showProgressWindow();
    if (unattended) {
        m_front.hideProgressWindow();
        m_context.Minimizado = true;
    }
    for (int k = 0; k < TransferKindCount; ++k) {
        const auto kind = TransferKind(k);
        if (!m_front.isTicked(kind) || !m_steps[k])
            continue;
        stopIfSignalled();
        svc.log.info(QStringLiteral("Paso %1: %2").arg(pass).arg(transferStepName(kind)));
        m_context.account.kind(kind).started = true;
        ErrorHandling::Scope step(svc.errors, transferStepName(kind), ErrorHandling::Mode::NameOnly);
        m_steps[k]->run(m_context);
        if (m_context.tally.active())
            m_context.tally.end(svc.errors.record());
        svc.errors.setRecord(QString());
    }
    m_front.unloadProgressWindow();
    m_front.setMainEnabled(true);
    m_context.source.close();
    const QStringList unstored = storeDates(pass);
    if (!unstored.isEmpty()) {
        // Every document of the pass is in Orva, but not where the pass got
        // to: the pass did not finish (the next run reads those documents
        // again and finds them there).
        const QString reason = QStringLiteral("no se guardó %1").arg(unstored.join(QStringLiteral(", ")));
        svc.log.error(QStringLiteral("Paso %1: %2; la actualización termina.").arg(pass).arg(reason));
        CancelaActualizacion(RunStatus::Abandoned, reason);
        return false;
    }
    endPass(RunStatus::Completed, QString());
    const RunReport r = report();
    logReport(r, QString());
    m_front.passEnded(r);
    if (!unattended)
        m_front.showReport(r);
    return true;
}

void RunDriver::openSource()
{
    SharedServices &svc = m_context.svc;
    const QString text = sourceConnectionText();
    svc.errors.attempt([&] {
        const ConnectionSpec target = sourceConnectionSpec(text, svc.session.serverSettings().ktzCharset);
        if (m_context.source.open(target))
            return;
        // Named by its Database value: the text itself carries the password.
        const QString database = KtzConnectionText::parse(text).database;
        throw RunTimeError(RunError{ErrorNumber::ConnectionFailure,
                                    QStringLiteral("No se pudo abrir la base de datos KTZ del paso %1 (%2): %3")
                                        .arg(m_context.SourcePass)
                                        .arg(database, m_context.source.openError()),
                                    {},
                                    {},
                                    {}});
    });
}

QStringList RunDriver::storeDates(int pass)
{
    m_datesTried = true;
    const QStringList keys = passDateKeys(pass);
    const QString values[] = {m_context.LastSalesDate, m_context.LastDeliveryNoteDate};
    QStringList unstored;
    for (int i = 0; i < 2; ++i) {
        if (!values[i].trimmed().isEmpty() && !m_context.session.GrabaDfg(keys.at(i), values[i]))
            unstored << keys.at(i);
    }
    return unstored;
}

RunReport RunDriver::report() const
{
    bool ticked[TransferKindCount];
    for (int k = 0; k < TransferKindCount; ++k)
        ticked[k] = m_front.isTicked(TransferKind(k));
    RunReport r = buildRunReport(m_context.counters, ticked);
    r.pass = m_context.SourcePass;
    r.account = m_context.account;
    r.title = reportTitle(r.account.status);
    return r;
}

void RunDriver::logReport(const RunReport &r, const QString &how)
{
    Log &log = m_context.svc.log;
    const QString prefix = QStringLiteral("Paso %1%2: ").arg(r.pass).arg(how);
    for (const ReportLine &line : r.lines)
        log.info(prefix + line.text);
    log.info(prefix + r.statusLine());
    for (const QString &line : r.accountLines())
        log.info(prefix + line);
    for (const QString &line : r.recordLines())
        log.warning(prefix + line);
}

void RunDriver::CancelaActualizacion(RunStatus status, const QString &reason)
{
    // The open document, if any, was rolled back by its DocumentTransaction
    // while the stop or the error unwound the step.
    m_context.PARAR = false;
    m_front.unloadProgressWindow();
    m_front.setMainEnabled(true);
    if (m_inPass)
        endPass(status, reason);
    else
        m_run.reason = reason;
    const RunReport r = report();
    logReport(r, QStringLiteral(" (interrumpido)"));
    m_front.passEnded(r);
    // Unattended runs wait for nobody: the report goes to the log and the
    // console only.
    if (!unattended)
        m_front.showReport(r);
    m_context.source.close();
}

void RunDriver::endAfterConnectionLoss(const RunError &error)
{
    // The connection itself failed: no report window, no date; what can be
    // rolled back is, and the window goes back to the operator. The console
    // and the log still say how the pass ended.
    m_context.svc.log.error(QStringLiteral("La conexión falló: la actualización termina sin guardar fechas."));
    m_context.PARAR = false;
    m_front.unloadProgressWindow();
    m_front.setMainEnabled(true);
    m_context.source.close();
    if (m_inPass) {
        endPass(RunStatus::ConnectionLost, error.text());
        const RunReport r = report();
        logReport(r, QStringLiteral(" (interrumpido)"));
        m_front.passEnded(r);
    } else {
        m_run.reason = error.text();
    }
}
