#include "sales/salestransfer.h"
#include "sales/fuelload.h"
#include "sales/journalentry.h"
#include "sales/salesselection.h"
#include "services/documenttransaction.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

#include <QScopeGuard>

#include <cmath>
#include <functional>

namespace {

// How the walk treats one kind of document.
struct DocumentKind
{
    std::function<SalesDocument(const Recordset &)> read;
    std::function<QString(const Recordset &)> record;
    QString dateColumn;
};

const DocumentKind invoices{LeeFactura, invoiceRecord, QStringLiteral("FOUT_FECHA")};
const DocumentKind loads{LeeCarga, loadRecord, QStringLiteral("F_COMP")};

// The RecordCount of a COUNT statement; 0 when it has no row.
qint64 countOf(RunContext &context, const QString &statement)
{
    Recordset rs = context.source.OpenRecordset(statement);
    qint64 n = 0;
    if (rs.hasRows())
        context.svc.errors.attempt([&] {
            n = qint64(std::llround(doubleOf(rs.value(QStringLiteral("RecordCount")), QStringLiteral("RecordCount"))));
        });
    return n;
}

// One document in a transaction of its own. A document that does not reach
// Orva (its transaction could not be opened or its commit failed) keeps the
// step's date where it was: the next run selects it again.
void transferDocument(SalesContext &sales, const Recordset &row, const DocumentKind &kind)
{
    RunContext &context = sales.context;
    ErrorHandling &errors = context.svc.errors;
    errors.setRecord(kind.record(row));
    context.tally.begin(TransferKind::Ventas, errors.record());
    SalesDocument doc;
    if (!errors.attempt([&] { doc = kind.read(row); })) {
        context.svc.log.warning(QStringLiteral("Se omite el documento: ") + errors.record());
        context.tally.end();
        return;
    }
    // Lines of a document that is rolled back were not written.
    const qint32 linesBefore = context.counters.CantVenAct;
    DocumentTransaction document(context.orva(), errors.record());
    const auto uncount = qScopeGuard([&] {
        if (!document.committed())
            context.counters.CantVenAct = linesBefore;
    });
    if (document.begun()) {
        context.yield();
        context.stopIfRequested();
        GrabaAsientoVenta(sales, doc);
        document.commit();
    }
    if (!document.committed()) {
        sales.datesHeld = true;
        context.svc.log.error(QStringLiteral("El documento no quedó en Orva: ") + document.document());
        // A refused COMMIT is the document's failure; a refused BEGIN the
        // operator continued past left it out, with that error as the reason.
        if (document.failedAtCommit())
            context.tally.failAtCommit(QStringLiteral("ActualizaVentas"));
        context.tally.end();
        return;
    }
    if (!sales.datesHeld)
        errors.attempt([&] { context.LastSalesDate = dateText(row.value(kind.dateColumn)); });
    context.tally.end();
}

void walk(SalesContext &sales, const QString &statement, const DocumentKind &kind)
{
    RunContext &context = sales.context;
    Recordset rows = context.source.OpenRecordset(statement);
    while (rows.isOpen() && !rows.eof()) {
        context.yield();
        transferDocument(sales, rows, kind);
        rows.moveNext();
        context.progress.tick();
    }
}

} // namespace

void ActualizaVentas(RunContext &context)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("ActualizaVentas"), ErrorHandling::Mode::NameOnly);
    context.progress.begin(QStringLiteral("Actualizando Ventas"));
    SalesContext sales{context, QString(), LeeArticuloGnc(context)};

    const SalesSelection selection = salesSelection(context);
    const qint64 n =
        countOf(context, selection.invoiceCountStatement()) + countOf(context, selection.loadCountStatement());
    if (n > 0) {
        context.progress.counted(n);
        context.counters.CantVen = qint32(n);
        context.countedRecords(TransferKind::Ventas, n);
    }
    sales.salesAccount =
        context.svc.session.LookupValue(QStringLiteral("V_TA_INPUT_VENTAS"), QStringLiteral("   1"),
                                        QStringLiteral("REPUESTOS"), QStringLiteral("IdMotivoVTA"), 8, QString());
    walk(sales, selection.invoiceStatement(), invoices);
    walk(sales, selection.loadStatement(), loads);
    errors.setRecord(QString());
}
