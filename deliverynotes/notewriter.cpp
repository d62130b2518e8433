#include "deliverynotes/notewriter.h"
#include "deliverynotes/stockdischarge.h"
#include "run/runcontext.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

namespace {

// The note's key columns as they open both inserts: 'RM','000100000041','0'.
QString voucherKey(const DeliveryNote &note)
{
    return sqlText(note.voucherType) + QStringLiteral("','") + sqlText(note.SucNroLetra) + QStringLiteral("','")
        + sqlText(note.complement);
}

QString amount(Currency value)
{
    return SvcSession::NumberToSql(value);
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
        QStringLiteral("SELECT FACT_OUT.FCOUT_PROD_ID, FACT_OUT.FCOUT_DESCR FROM FACT_OUT LEFT JOIN PRODUCTO ON "
                       "FACT_OUT.FCOUT_PROD_ID = PRODUCTO.PROD_ID WHERE FCOUT_ID = '")
        + sqlText(noteId) + QStringLiteral("' AND PRODUCTO.PROD_ID IS NULL"));
    for (; missing.isOpen() && !missing.eof(); missing.moveNext()) {
        const QString line = QStringLiteral("%1, renglón del artículo %2 (%3)")
                                 .arg(context.svc.errors.record(),
                                      SvcTools::FieldText(missing.value(QStringLiteral("FCOUT_PROD_ID"))),
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
    return QStringLiteral("INSERT INTO V_MV_CPTE (TC,IDCOMPROBANTE,IDCOMPLEMENTO,FECHA,CUENTA,NOMBRE,IMPORTE,"
                          "IMPORTE_S_IVA,NETOGRAVADO,NETONOGRAVADO,IMPORTEIVA,EXENTOIVAARTICULOS,CLASEPRECIO) ")
        + QStringLiteral("VALUES ('") + voucherKey(note) + QStringLiteral("','") + sqlText(note.date)
        + QStringLiteral("','") + sqlText(note.account) + QStringLiteral("','") + sqlText(note.customerName)
        + QStringLiteral("',") + amount(note.total) + QLatin1Char(',') + amount(note.netTaxed) + QLatin1Char(',')
        + amount(note.netTaxed) + QLatin1Char(',') + amount(note.nonTaxed) + QLatin1Char(',') + amount(note.vat)
        + QLatin1Char(',') + exemptFlag(note) + QStringLiteral(",2)");
}

QString lineInsert(const DeliveryNote &note, const DeliveryNoteLine &line)
{
    return QStringLiteral("INSERT INTO V_MV_CPTEINSUMOS (TC, IDCOMPROBANTE, IDCOMPLEMENTO, IDARTICULO,DESCRIPCION,"
                          "IDUNIDAD,CANTIDAD,IMPORTE,IMPORTE_S_IVA,TOTAL,ALICIVA,TOTALFINAL, IMPUESTOS,EXENTO,"
                          "CLASEPRECIO) ")
        + QStringLiteral("VALUES('") + voucherKey(note) + QStringLiteral("','") + sqlText(line.articleKey)
        + QStringLiteral("','") + sqlText(line.description) + QStringLiteral("','") + sqlText(line.unit)
        + QStringLiteral("',") + amount(line.quantity) + QLatin1Char(',') + amount(line.unitPrice) + QLatin1Char(',')
        + amount(line.unitPrice) + QLatin1Char(',') + amount(line.lineTotal) + QLatin1Char(',')
        + amount(line.vatRate) + QLatin1Char(',') + amount(line.finalTotal) + QLatin1Char(',')
        + amount(line.internalTaxes) + QLatin1Char(',') + exemptFlag(note) + QStringLiteral(",2)");
}

void GrabaRemito(RunContext &context, const DeliveryNote &note, const Recordset &noteRow, StockDischarge &discharge)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("GrabaRemito"), ErrorHandling::Mode::NameOnly);
    Recordset found;
    const bool exists = context.svc.session.RecordExists(
        QStringLiteral("V_MV_CPTE"), note.SucNroLetra, QStringLiteral("IDCOMPROBANTE"), &found, 8,
        QStringLiteral(" TC = 'RM' AND IDCOMPROBANTE = '") + sqlText(note.SucNroLetra) + QLatin1Char('\''));
    if (exists) {
        context.tally.unchanged();
        return;
    }
    if (!found.isOpen()) {
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
        QStringLiteral("SELECT FACT_OUT.*, PRODUCTO.PROD_IMPINT FROM FACT_OUT INNER JOIN PRODUCTO ON "
                       "FACT_OUT.FCOUT_PROD_ID = PRODUCTO.PROD_ID WHERE FCOUT_ID = '")
        + sqlText(noteId) + QLatin1Char('\''));
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
