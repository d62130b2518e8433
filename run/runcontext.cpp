#include "run/runcontext.h"
#include "run/stopsignals.h"
#include "services/sharedservices.h"

#include <QCoreApplication>

RunContext::RunContext(Session &s)
    : session(s), svc(s.services()), source(s.services().errors, QStringLiteral("ktz"))
{
    svc.errors.onContinued = [this](const RunError &error) {
        tally.continuedPast(error.record, error.procedure, error.description);
    };
}

RunContext::~RunContext()
{
    svc.errors.onContinued = nullptr;
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
