// Reading a KTZ delivery note and its lines into the records the step writes.

#include "catalogue/articlekey.h"
#include "customers/accountcode.h"
#include "deliverynotes/deliverynote.h"
#include "run/runcontext.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

namespace {

// A column's value through FieldValue: Null becomes an empty text.
QVariant fieldValue(const Recordset &row, const QString &column)
{
    return SvcTools::FieldValue(row.value(column));
}

QString fieldText(const Recordset &row, const QString &column)
{
    return SvcTools::NumberText(fieldValue(row, column));
}

// The platform's conversion of a column to currency: an empty text (a Null)
// or a text that is no number is a type mismatch naming the column.
Currency currencyField(const Recordset &row, const QString &column)
{
    return currencyOf(fieldValue(row, column), column);
}

// A column turned into text and read by ToCurrency: no number gives 0.
Currency toCurrencyField(const Recordset &row, const QString &column)
{
    return SvcTools::ToCurrency(fieldText(row, column));
}

// A column's text without raising (for naming records in messages).
QString safeText(const Recordset &row, const QString &column)
{
    return row.hasField(column) && !row.eof() ? SvcTools::FieldText(row.value(column)) : QString();
}

} // namespace

QString noteVoucherId(const Recordset &row)
{
    return formatDigits(fieldText(row, QStringLiteral("fout_pventa")), 4)
        + formatDigits(fieldText(row, QStringLiteral("fout_num")), 8) + fieldText(row, QStringLiteral("fout_tipo"));
}

Currency noteTotal(const Recordset &row)
{
    return currencyField(row, QStringLiteral("Total"));
}

void LeeRemito(RunContext &context, const Recordset &row, DeliveryNote &note)
{
    ErrorHandling &errors = context.svc.errors;
    note = DeliveryNote();
    errors.attempt([&] {
        note.exempt = sameText(SvcTools::FieldText(row.value(QStringLiteral("cli_cond"))), QStringLiteral("EX"));
    });
    note.voucherType = QStringLiteral("RM");
    errors.attempt([&] { note.SucNroLetra = noteVoucherId(row); });
    note.complement = QStringLiteral("0");
    errors.attempt([&] { note.date = dateText(fieldValue(row, QStringLiteral("FOUT_FECHA"))); });
    errors.attempt([&] {
        note.account = CodigoCuentaCliente(context.session.tituloClientes, fieldText(row, QStringLiteral("cli_cod")),
                                           context.Digitos_Cuenta);
    });
    errors.attempt([&] { note.customerName = fieldText(row, QStringLiteral("cli_name")); });
    errors.attempt([&] { note.total = noteTotal(row); });
    errors.attempt([&] { note.netTaxed = currencyField(row, QStringLiteral("neto_grav")); });
    errors.attempt([&] { note.nonTaxed = currencyField(row, QStringLiteral("imp_ngrav")); });
    errors.attempt([&] { note.vat = currencyField(row, QStringLiteral("fout_totiva")); });
}

void LeeRenglonRemito(Recordset &lines, DeliveryNoteLine &line)
{
    line.articleKey =
        articleKey(lines.value(QStringLiteral("fcout_prod_id")), lines.value(QStringLiteral("fcout_rub")));
    line.description = fieldText(lines, QStringLiteral("fcout_descr"));
    line.unit = SvcTools::PadLeft(
        SvcTools::ValueText(lines.value(QStringLiteral("fcout_unid")), QStringLiteral("fcout_unid")), 4);
    line.quantity = currencyField(lines, QStringLiteral("fcout_cant"));
    const Currency price = toCurrencyField(lines, QStringLiteral("fcout_pventa"));
    const Currency internalTaxes = toCurrencyField(lines, QStringLiteral("PROD_IMPINT"));
    const Currency rate = toCurrencyField(lines, QStringLiteral("fcout_iva_porc"));
    line.unitPrice = Currency::fromDouble((price - internalTaxes).toDouble() / (1 + rate.toDouble() * 0.01));
    line.lineTotal = toCurrencyField(lines, QStringLiteral("fcout_neto")) + internalTaxes;
    line.vatRate = currencyField(lines, QStringLiteral("fcout_iva_porc"));
    line.finalTotal = currencyField(lines, QStringLiteral("fcout_total"));
    line.internalTaxes = internalTaxes;
}

QString noteRecord(const Recordset &row)
{
    return QStringLiteral("remito %1 punto de venta %2, número %3")
        .arg(safeText(row, QStringLiteral("fout_tipo")), safeText(row, QStringLiteral("fout_pventa")),
             safeText(row, QStringLiteral("fout_num")));
}

QString lineRecord(const QString &note, int lineNumber, const Recordset &line)
{
    return QStringLiteral("%1, renglón %2 (artículo %3)")
        .arg(note)
        .arg(lineNumber)
        .arg(safeText(line, QStringLiteral("fcout_prod_id")));
}
