#include "run/runcontext.h"
#include "run/stopsignals.h"
#include "services/sharedservices.h"

#include <QCoreApplication>

RunContext::RunContext(Session &s) : session(s), svc(s.services()), source(s.services().errors, QStringLiteral("ktz"))
{
    svc.errors.onContinued = [this](const RunError &error) {
        tally.continuedPast(error.record, error.procedure, error.description);
    };
    // A procedure with a handler of its own that gave up went back to its
    // caller, which went on: the record misses what the procedure had left
    // to write, so it is named as for a continued error.
    svc.errors.onEndedEarly = [this](const RunError &error) {
        if (!tally.active())
            return;
        const QString reason = QStringLiteral("se abandona %1: %2").arg(error.procedure, error.description.trimmed());
        svc.log.warning(QStringLiteral("%1: %2").arg(error.record, reason));
        tally.continuedPast(error.record, error.procedure, reason);
    };
}

RunContext::~RunContext()
{
    svc.errors.onContinued = nullptr;
    svc.errors.onEndedEarly = nullptr;
}

Connection &RunContext::orva()
{
    return svc.session.connection();
}

void RunContext::yield()
{
    QCoreApplication::processEvents();
    if (onYield)
        onYield();
}

void RunContext::stopIfRequested()
{
    if (PARAR || StopSignals::received())
        throw RunCancelled();
}

QString transferStepName(TransferKind kind)
{
    switch (kind) {
    case TransferKind::Articulos:
        return QStringLiteral("ActualizaArticulos");
    case TransferKind::Clientes:
        return QStringLiteral("ActualizaClientes");
    case TransferKind::Ventas:
        return QStringLiteral("ActualizaVentas");
    case TransferKind::Remitos:
        return QStringLiteral("ActualizaRemitos");
    }
    return QString();
}
