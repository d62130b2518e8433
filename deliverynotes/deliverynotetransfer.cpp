#include "deliverynotes/deliverynotetransfer.h"
#include "deliverynotes/notewriter.h"
#include "services/documenttransaction.h"
#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"

#include <QScopeGuard>

namespace {

const QString orderByDate = QStringLiteral(" ORDER BY FOUT_FECHA ASC");

// The notes counted before the walk (0 when the count could not be read).
qint32 countNotes(RunContext &context, const QString &filter)
{
    qint32 n = 0;
    Recordset count = context.source.OpenRecordset(
        Statement(QStringLiteral("SELECT COUNT(*) AS RECORDCOUNT FROM FAC_OUT {}{}")).part(filter).part(orderByDate));
    if (count.hasRows())
        context.svc.errors.attempt(
            [&] { n = qint32(numericValue(SvcTools::FieldText(count.value(QStringLiteral("RecordCount"))))); });
    count.close();
    return n;
}

// One note, inside its own transaction. A note that does not reach Orva
// (its transaction could not be opened or its commit failed) sets datesHeld:
// no later date is remembered, so the next run selects it again.
void transferNote(RunContext &context, Numbering &numbering, StockDischarge &discharge, const Recordset &notes,
                  DeliveryNote &note, bool &datesHeld)
{
    ErrorHandling &errors = context.svc.errors;
    context.yield();
    errors.setRecord(noteRecord(notes));
    context.tally.begin(TransferKind::Remitos, errors.record());
    LeeRemito(context, notes, note);
    // A voucher that is rolled back was not written.
    const qint32 vouchersBefore = context.counters.CantRMAct;
    DocumentTransaction document(context.orva(), errors.record());
    const auto uncount = qScopeGuard([&] {
        if (!document.committed())
            context.counters.CantRMAct = vouchersBefore;
    });
    if (document.begun()) {
        context.yield();
        context.stopIfRequested();
        GrabaRemito(context, note, notes, discharge);
        moveNoteCounter(context, numbering, note.SucNroLetra);
        document.commit();
    }
    if (!document.committed()) {
        datesHeld = true;
        context.svc.log.error(QStringLiteral("El remito no quedó en Orva: ") + document.document());
        // A refused COMMIT is the document's failure; a refused BEGIN the
        // operator continued past left it out, with that error as the reason.
        if (document.failedAtCommit())
            context.tally.failAtCommit(QStringLiteral("ActualizaRemitos"));
        context.tally.end();
        return;
    }
    if (!datesHeld)
        errors.attempt([&] { context.LastDeliveryNoteDate = dateText(notes.value(QStringLiteral("FOUT_FECHA"))); });
    context.tally.end();
}

} // namespace

DeliveryNoteTransfer::DeliveryNoteTransfer(Session &session)
    : m_numbering(session.services(), session.config), m_stockDischarge(m_numbering)
{}

QString deliveryNoteFilter(RunContext &context)
{
    const QString lastDate =
        context.Cfg(context.SourcePass == 0 ? QStringLiteral("KTZ_ULTIMAFECHAR") : QStringLiteral("KTZ_ULTIMAFECHA2R"));
    const bool firstRun = lastDate.trimmed().isEmpty();
    return deliveryNoteFilterFrom(firstRun ? context.Cfg(QStringLiteral("KTZ_FECHADESDE")) : lastDate, firstRun);
}

QString deliveryNoteFilterFrom(const QString &startDate, bool firstRun)
{
    return Statement(firstRun ? QStringLiteral(" WHERE (FOUT_TIPO = 'R') AND FOUT_FECHA>= {} AND FOUT_NUM > 0")
                              : QStringLiteral(" WHERE (FOUT_TIPO = 'R') AND  FOUT_FECHA>={} AND FOUT_NUM > 0"))
        .text(startDateText(startDate));
}

void moveNoteCounter(RunContext &context, Numbering &numbering, const QString &SucNroLetra)
{
    if (SucNroLetra.size() != 13) {
        context.svc.log.warning(QStringLiteral("%1: el comprobante %2 no tiene 13 caracteres (punto de venta de 4 "
                                               "cifras, número de 8 y letra); no se mueve el contador RM.")
                                    .arg(context.svc.errors.record(), SucNroLetra));
        return;
    }
    QString statement;
    numbering.ConsultaComprobante(QStringLiteral("RM"), QStringLiteral("VENTAS"), SucNroLetra.left(4),
                                  formatDigits(plainNumber(numericValue(SucNroLetra.mid(4, 8)) + 1), 8),
                                  SucNroLetra.mid(12, 1), false, statement);
}

void ActualizaRemitos(RunContext &context, Numbering &numbering, StockDischarge &discharge)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("ActualizaRemitos"), ErrorHandling::Mode::NameOnly);
    context.progress.resetBar();
    const QString filter = deliveryNoteFilter(context);
    const qint32 n = countNotes(context, filter);
    context.progress.setStatus(QStringLiteral("Actualizando Remitos"));
    if (n > 0) {
        context.progress.counted(n);
        context.counters.CantRM = n;
        context.countedRecords(TransferKind::Remitos, n);
    }
    Recordset notes = context.source.OpenRecordset(
        Statement(QStringLiteral("SELECT * FROM FAC_OUT {}{}")).part(filter).part(orderByDate));
    DeliveryNote note;
    bool datesHeld = false;
    for (; !notes.eof(); notes.moveNext(), context.progress.tick())
        transferNote(context, numbering, discharge, notes, note, datesHeld);
    notes.close();
    errors.setRecord(QString());
}
