#include "deliverynotes/stockdischarge.h"
#include "run/runcontext.h"
#include "services/sharedservices.h"
#include "services/svctools.h"
#include "stock/clscmncptes.h"

// The stock engine, made at the first discharge and kept for the rest of the
// program.
struct StockDischarge::Engine
{
    Engine(Session &session, Numbering &numbering) : cmnCptes(session, numbering) {}

    ClsCmnCptes cmnCptes;
};

StockDischarge::StockDischarge(Numbering &numbering) : m_numbering(numbering) {}
StockDischarge::~StockDischarge() = default;

namespace {

// A note line as the stock engine takes it: every field it does not name is
// empty (no own deposit, lot, serial, price or origin).
StockLine stockLine(const DeliveryNoteLine &line)
{
    return StockLine(line.articleKey, line.description, line.unit, line.quantity);
}

// The "RM" voucher of the note, out of the configured default deposit.
StockRequest noteRequest(RunContext &context, const DeliveryNote &note)
{
    StockRequest request;
    request.tc = QStringLiteral("RM");
    request.SucNroLetra = note.SucNroLetra;
    request.IdComplemento = QStringLiteral("0");
    request.Fecha = note.date;
    request.IdDeposito = SvcTools::PadLeft(context.Cfg(QStringLiteral("DEPOSITODEFAULT")), 4);
    return request;
}

} // namespace

void StockDischarge::DescargaStockRemito(RunContext &context, Recordset &lines, const DeliveryNote &note)
{
    if (!m_engine)
        m_engine = std::make_unique<Engine>(context.session, m_numbering);
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("DescargaStockRemito"), ErrorHandling::Mode::NameOnly);

    QList<StockLine> stockLines;
    errors.attempt([&] { lines.moveFirst(); });
    for (; lines.isOpen() && !lines.eof(); lines.moveNext()) {
        context.yield();
        // A line whose reading the operator goes past is left out, never
        // taken from the line before.
        errors.attempt([&] {
            DeliveryNoteLine line;
            LeeRenglonRemito(lines, line);
            stockLines << stockLine(line);
        });
    }
    StockRequest request = noteRequest(context, note);
    request.lines = std::move(stockLines);
    m_engine->cmnCptes.ActualizaStock(request);
}
