#include "run/rundriver.h"
#include "run/sourceconnection.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

RunDriver::RunDriver(RunContext &context, RunFront &front, Steps steps)
    : m_context(context), m_front(front), m_steps(steps)
{
}

QString RunDriver::sourceConnectionText()
{
    return ktzConnectionText(m_context.session, m_context.KeySuffix);
}

RunOutcome RunDriver::cmdActualizar_Click()
{
    SharedServices &svc = m_context.svc;
    ErrorHandling::Scope handler(svc.errors, QStringLiteral("cmdActualizar_Click"));
    // Settings and definitions are read once per run (see runcache.h).
    const RunCache::Hold held(svc.session.connection().runCache());
    // A stop asked for after the last test of the previous run is not this run's.
    m_context.PARAR = false;
    try {
        svc.errors.setRecord(QString());
        svc.errors.attempt([&] {
            m_context.Digitos_Cuenta = toInt16(numericValue(m_context.Cfg(QStringLiteral("Digitos_Cuenta"))));
        });
        for (int pass = 0; pass <= 1; ++pass) {
            m_context.counters.reset();
            m_context.LastSalesDate.clear();
            m_context.LastDeliveryNoteDate.clear();
            if (pass == 1 && m_context.Cfg(QStringLiteral("KTZ_BASEDEDATOS2")).trimmed().isEmpty())
                break;
            runPass(pass);
        }
        svc.log.info(QStringLiteral("Actualización finalizada."));
        return RunOutcome::Finished;
    } catch (const RunCancelled &) {
        svc.log.warning(QStringLiteral("El operador canceló la actualización (paso %1).").arg(m_context.SourcePass));
        CancelaActualizacion();
        return RunOutcome::Cancelled;
    } catch (const GiveUp &giveUp) {
        if (!handler.owns(giveUp))
            throw;
        if (giveUp.error.number == ErrorNumber::ConnectionFailure) {
            endAfterConnectionLoss();
            return RunOutcome::ConnectionLost;
        }
        CancelaActualizacion();
        return RunOutcome::GaveUp;
    } catch (const RunTimeError &stray) {
        // An error raised outside every statement cannot be retried or
        // skipped: the run ends as if it had been given up, so the open
        // document is rolled back and nothing of it is committed.
        svc.log.error(QStringLiteral("Error fuera de una sentencia: ") + stray.error().text());
        if (stray.error().number == ErrorNumber::ConnectionFailure) {
            endAfterConnectionLoss();
            return RunOutcome::ConnectionLost;
        }
        CancelaActualizacion();
        return RunOutcome::GaveUp;
    }
}

void RunDriver::runPass(int pass)
{
    SharedServices &svc = m_context.svc;
    m_context.SourcePass = pass;
    m_context.KeySuffix = pass == 0 ? QString() : QStringLiteral("2");
    svc.log.info(QStringLiteral("Paso %1: comienza.").arg(pass));
    openSource();
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
        svc.log.info(QStringLiteral("Paso %1: %2").arg(pass).arg(transferStepName(kind)));
        ErrorHandling::Scope step(svc.errors, transferStepName(kind), ErrorHandling::Mode::NameOnly);
        m_steps[k]->run(m_context);
        svc.errors.setRecord(QString());
    }
    m_front.unloadProgressWindow();
    m_front.setMainEnabled(true);
    m_context.source.close();
    storeDates(pass);
    const RunReport r = report();
    for (const ReportLine &line : r.lines)
        svc.log.info(QStringLiteral("Paso %1: %2").arg(pass).arg(line.text));
    m_front.passEnded(r);
    if (!unattended)
        m_front.showReport(r);
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
                                    {}, {}, {}});
    });
}

void RunDriver::storeDates(int pass)
{
    if (!m_context.LastSalesDate.trimmed().isEmpty())
        m_context.session.GrabaDfg(pass == 0 ? QStringLiteral("KTZ_ULTIMAFECHA") : QStringLiteral("KTZ_ULTIMAFECHA2"),
                                   m_context.LastSalesDate);
    if (!m_context.LastDeliveryNoteDate.trimmed().isEmpty())
        m_context.session.GrabaDfg(pass == 0 ? QStringLiteral("KTZ_ULTIMAFECHAR") : QStringLiteral("KTZ_ULTIMAFECHA2R"),
                                   m_context.LastDeliveryNoteDate);
}

RunReport RunDriver::report() const
{
    bool ticked[TransferKindCount];
    for (int k = 0; k < TransferKindCount; ++k)
        ticked[k] = m_front.isTicked(TransferKind(k));
    RunReport r = buildRunReport(m_context.counters, ticked);
    r.pass = m_context.SourcePass;
    return r;
}

void RunDriver::CancelaActualizacion()
{
    // The open document, if any, was rolled back by its DocumentTransaction
    // while the stop or the error unwound the step.
    m_context.PARAR = false;
    m_front.unloadProgressWindow();
    m_front.setMainEnabled(true);
    const RunReport r = report();
    for (const ReportLine &line : r.lines)
        m_context.svc.log.info(QStringLiteral("Paso %1 (interrumpido): %2").arg(m_context.SourcePass).arg(line.text));
    m_front.passEnded(r);
    // Unattended runs wait for nobody: the report goes to the log and the
    // console only.
    if (!unattended)
        m_front.showReport(r);
    m_context.source.close();
}

void RunDriver::endAfterConnectionLoss()
{
    // The connection itself failed: no report, no date; what can be rolled
    // back is, and the window goes back to the operator.
    m_context.svc.log.error(QStringLiteral("La conexión falló: la actualización termina sin guardar fechas."));
    m_context.PARAR = false;
    m_front.unloadProgressWindow();
    m_front.setMainEnabled(true);
    m_context.source.close();
}
