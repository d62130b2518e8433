#include "deliverynotes/stockdischarge.h"
#include "run/runcontext.h"
#include "services/sharedservices.h"
#include "services/svctools.h"
#include "stock/clscmncptes.h"

// The stock engine, made at the first discharge and kept for the rest of the
// program, with the article grid it is handed (rebuilt for every note).
struct StockDischarge::Engine
{
    Engine(Session &session, Numbering &numbering) : cmnCptes(session, numbering) {}

    ClsCmnCptes cmnCptes;
    VoucherGrid grid;
    CellEditor editor;
    FixedTextMetrics metrics;
};

StockDischarge::StockDischarge(Numbering &numbering) : m_numbering(numbering) {}
StockDischarge::~StockDischarge() = default;

namespace {

// Grid columns the discharge fills.
enum Column { ColArticle = 0, ColDescription = 1, ColUnit = 3, ColQuantity = 5 };

// Copies the current line into the grid's last row and adds a row after it.
void copyLine(VoucherGrid &grid, const DeliveryNoteLine &line)
{
    const int row = grid.Rows() - 1;
    grid.setTextMatrix(row, ColArticle, line.articleKey);
    grid.setTextMatrix(row, ColDescription, line.description);
    grid.setTextMatrix(row, ColUnit, line.unit);
    grid.setTextMatrix(row, ColQuantity, line.quantity.toText());
    grid.setRows(grid.Rows() + 1);
}

} // namespace

void StockDischarge::DescargaStockRemito(RunContext &context, Recordset &lines, const DeliveryNote &note)
{
    if (!m_engine)
        m_engine = std::make_unique<Engine>(context.session, m_numbering);
    Engine &e = *m_engine;
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("DescargaStockRemito"), ErrorHandling::Mode::NameOnly);

    e.cmnCptes.InicializaGrids(nullptr, &e.grid, nullptr, nullptr, &e.editor, nullptr, &e.metrics,
                               QStringLiteral("AJP"), nullptr);
    errors.attempt([&] { lines.moveFirst(); });
    for (; lines.isOpen() && !lines.eof(); lines.moveNext()) {
        context.yield();
        // Reading and copying a line is one statement: a line the operator
        // goes past is left out of the grid, never copied from the line before.
        errors.attempt([&] {
            DeliveryNoteLine line;
            LeeRenglonRemito(lines, line);
            copyLine(e.grid, line);
        });
    }
    const QString deposit = SvcTools::PadLeft(context.Cfg(QStringLiteral("DEPOSITODEFAULT")), 4);
    e.cmnCptes.ActualizaStock(e.grid, QStringLiteral("RM"), note.SucNroLetra, QStringLiteral("0"), note.date,
                              deposit);
}
