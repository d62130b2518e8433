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

StockDischarge::StockDischarge(Numbering &numbering) : m_numbering(numbering)
{}
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

// The part of the note the engine's stop left out: the refused line (and
// component), or the components' voucher book when it refused its update.
QString stoppedPart(const QString &note, const StockResult &result, const QStringList &lineRecords)
{
    if (result.refusedLine < 0 || result.refusedLine >= lineRecords.size())
        return note + QStringLiteral(", contador del talonario PE");
    const QString line = lineRecords.at(result.refusedLine);
    if (result.refusedComponent.isEmpty())
        return line;
    return line + QStringLiteral(", insumo ") + result.refusedComponent;
}

// The engine stops at a refused statement and the note goes on to its
// commit: the movement refused and those after it are missing from Orva, so
// the log and the run's accounting name them.
void nameStoppedDischarge(RunContext &context, const QString &note, const StockResult &result,
                          const QStringList &lineRecords)
{
    const QString part = stoppedPart(note, result, lineRecords);
    const QString reason = result.refusal.trimmed()
        + QStringLiteral(" (la descarga de stock del remito se detiene ahí: no se graban los movimientos siguientes)");
    context.svc.log.warning(QStringLiteral("%1: la descarga de stock no se completa: %2").arg(part, reason));
    context.tally.leaveOut(part, QStringLiteral("ActualizaStock"), reason);
}

} // namespace

void StockDischarge::DescargaStockRemito(RunContext &context, Recordset &lines, const DeliveryNote &note)
{
    if (!m_engine)
        m_engine = std::make_unique<Engine>(context.session, m_numbering);
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("DescargaStockRemito"), ErrorHandling::Mode::NameOnly);

    const QString noteName = errors.record();
    QList<StockLine> stockLines;
    QStringList lineRecords; // each stock line's name, numbered as the note's lines
    int lineNumber = 0;
    errors.attempt([&] { lines.moveFirst(); });
    for (; lines.isOpen() && !lines.eof(); lines.moveNext()) {
        context.yield();
        ++lineNumber;
        // A line whose reading the operator goes past is left out, never
        // taken from the line before.
        errors.attempt([&] {
            DeliveryNoteLine line;
            LeeRenglonRemito(lines, line);
            stockLines << stockLine(line);
            lineRecords << lineRecord(noteName, lineNumber, lines);
        });
    }
    StockRequest request = noteRequest(context, note);
    request.lines = std::move(stockLines);
    const StockResult result = m_engine->cmnCptes.ActualizaStock(request);
    if (result.HayError)
        nameStoppedDischarge(context, noteName, result, lineRecords);
}
