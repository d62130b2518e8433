#include "deliverynotes/notewriter.h"
#include "deliverynotes/stockdischarge.h"
#include "run/runcontext.h"
#include "services/keyedrow.h"
#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"

namespace {

// The note's key columns as they open both inserts: 'RM','000100000041','0'.
QString voucherKey(const DeliveryNote &note)
{
    return Statement(QStringLiteral("{},{},{}")).text(note.voucherType).text(note.SucNroLetra).text(note.complement);
}

QString exemptFlag(const DeliveryNote &note)
{
    return note.exempt ? QStringLiteral("1") : QStringLiteral("0");
}

// The line query joins PRODUCTO, so a line whose article KTZ no longer has
// there is not written. The log names every such line, so that a voucher with
// fewer lines than its KTZ note never goes unnoticed. Only a read: a failure
// here is logged and changes nothing.
void logLinesWithoutArticle(RunContext &context, const QString &noteId)
{
    ErrorHandling::Scope quiet(context.svc.errors, QStringLiteral("GrabaRenglonesRemito"),
                               ErrorHandling::Mode::IgnoreAll);
    Recordset missing = context.source.OpenRecordset(
        Statement(QStringLiteral(
                      "SELECT FACT_OUT.FCOUT_PROD_ID, FACT_OUT.FCOUT_DESCR FROM FACT_OUT LEFT JOIN PRODUCTO ON "
                      "FACT_OUT.FCOUT_PROD_ID = PRODUCTO.PROD_ID WHERE FCOUT_ID = {} AND PRODUCTO.PROD_ID IS NULL"))
            .text(noteId));
    for (; missing.isOpen() && !missing.eof(); missing.moveNext()) {
        const QString line =
            QStringLiteral("%1, renglón del artículo %2 (%3)")
                .arg(context.svc.errors.record(), SvcTools::FieldText(missing.value(QStringLiteral("FCOUT_PROD_ID"))),
                     SvcTools::FieldText(missing.value(QStringLiteral("FCOUT_DESCR"))));
        const QString reason = QStringLiteral("el artículo no está en PRODUCTO");
        context.svc.log.warning(QStringLiteral("%1 no se graba: %2.").arg(line, reason));
        context.tally.leaveOut(line, QStringLiteral("GrabaRenglonesRemito"), reason);
    }
    missing.close();
}

} // namespace

QString voucherInsert(const DeliveryNote &note)
{
    return Statement(
               QStringLiteral("INSERT INTO V_MV_CPTE (TC,IDCOMPROBANTE,IDCOMPLEMENTO,FECHA,CUENTA,NOMBRE,IMPORTE,"
                              "IMPORTE_S_IVA,NETOGRAVADO,NETONOGRAVADO,IMPORTEIVA,EXENTOIVAARTICULOS,CLASEPRECIO) "
                              "VALUES ({},{},{},{},{},{},{},{},{},{},2)"))
        .part(voucherKey(note))
        .texts({note.date, note.account, note.customerName})
        .amounts({note.total, note.netTaxed, note.netTaxed, note.nonTaxed, note.vat})
        .literal(exemptFlag(note));
}

QString lineInsert(const DeliveryNote &note, const DeliveryNoteLine &line)
{
    return Statement(
               QStringLiteral("INSERT INTO V_MV_CPTEINSUMOS (TC, IDCOMPROBANTE, IDCOMPLEMENTO, IDARTICULO,DESCRIPCION,"
                              "IDUNIDAD,CANTIDAD,IMPORTE,IMPORTE_S_IVA,TOTAL,ALICIVA,TOTALFINAL, IMPUESTOS,EXENTO,"
                              "CLASEPRECIO) VALUES({},{},{},{},{},{},{},{},{},{},{},{},2)"))
        .part(voucherKey(note))
        .texts({line.articleKey, line.description, line.unit})
        .amounts({line.quantity, line.unitPrice, line.unitPrice, line.lineTotal, line.vatRate, line.finalTotal,
                  line.internalTaxes})
        .literal(exemptFlag(note));
}

void GrabaRemito(RunContext &context, const DeliveryNote &note, const Recordset &noteRow, StockDischarge &discharge)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("GrabaRemito"), ErrorHandling::Mode::NameOnly);
    const RowRead stored = context.svc.session.ReadRecord(
        QStringLiteral("V_MV_CPTE"), note.SucNroLetra, QStringLiteral("IDCOMPROBANTE"),
        Statement(QStringLiteral(" TC = 'RM' AND IDCOMPROBANTE = {}")).text(note.SucNroLetra));
    if (stored.found()) {
        context.tally.unchanged();
        return;
    }
    if (stored.failed()) {
        // Whether Orva has the voucher is unknown: no second voucher is risked.
        context.svc.log.warning(QStringLiteral("%1: no se pudo comprobar si Orva ya tiene el comprobante RM %2; "
                                               "no se graba.")
                                    .arg(errors.record(), note.SucNroLetra));
        return;
    }
    if (context.orva().Execute(voucherInsert(note)))
        context.tally.written();
    QString noteId;
    errors.attempt([&] { noteId = SvcTools::ValueText(noteRow.value(QStringLiteral("id")), QStringLiteral("id")); });
    GrabaRenglonesRemito(context, note, noteId, discharge);
    ++context.counters.CantRMAct;
}

void GrabaRenglonesRemito(RunContext &context, const DeliveryNote &note, const QString &noteId,
                          StockDischarge &discharge)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("GrabaRenglonesRemito"), ErrorHandling::Mode::NameOnly);
    const QString record = errors.record();
    Recordset lines = context.source.OpenRecordset(
        Statement(QStringLiteral("SELECT FACT_OUT.*, PRODUCTO.PROD_IMPINT FROM FACT_OUT INNER JOIN PRODUCTO ON "
                                 "FACT_OUT.FCOUT_PROD_ID = PRODUCTO.PROD_ID WHERE FCOUT_ID = {}"))
            .text(noteId));
    if (lines.hasRows()) {
        int lineNumber = 0;
        for (; !lines.eof(); lines.moveNext()) {
            errors.setRecord(lineRecord(record, ++lineNumber, lines));
            errors.attempt([&] {
                DeliveryNoteLine line;
                LeeRenglonRemito(lines, line);
                context.orva().executeOrThrow(lineInsert(note, line));
            });
        }
        errors.setRecord(record);
        if (sameText(context.Cfg(QStringLiteral("DescargaStockRemitos")), QStringLiteral("SI")))
            discharge.DescargaStockRemito(context, lines, note);
    }
    lines.close();
    logLinesWithoutArticle(context, noteId);
}
