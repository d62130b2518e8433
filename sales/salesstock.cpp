#include "sales/salesstock.h"
#include "catalogue/articlekey.h"
#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"
#include "stock/stockmovements.h"

namespace {

// The outgoing quantity of a sold quantity: a positive one is negated, zero
// or less is kept. Null is written as 0; a text that is no number fails.
QString outgoing(const QVariant &quantity, const QString &column)
{
    if (quantity.isNull() || !quantity.isValid())
        return SqlLiteral::number(quantity);
    const double q = doubleOf(quantity, column);
    return plainNumber(q > 0 ? -q : q);
}

QString number(const Recordset &line, const QString &column)
{
    return SqlLiteral::number(line.value(column));
}

// The V_MV_STOCK row of the current invoice line.
FieldList invoiceLineMovement(const Recordset &line, const VoucherIdentity &voucher, int lineNumber)
{
    const QString store = QStringLiteral("'   1'");
    return {
        {QStringLiteral("IDARTICULO"),
         SqlLiteral::text(
             articleKey(line.value(QStringLiteral("fcout_prod_id")), line.value(QStringLiteral("fcout_rub"))))},
        {QStringLiteral("IDUNIDAD"), SqlLiteral::code(columnText(line, QStringLiteral("fcout_unid")), 4)},
        {QStringLiteral("DESCRIPCION"), SqlLiteral::text(columnText(line, QStringLiteral("fcout_descr")))},
        {QStringLiteral("CANTIDAD"), outgoing(line.value(QStringLiteral("fcout_cant")), QStringLiteral("fcout_cant"))},
        {QStringLiteral("PRECIOVENTA"), number(line, QStringLiteral("fcout_pventa"))},
        {QStringLiteral("IMPUESTOS"), number(line, QStringLiteral("FCOUT_IMP_NGRAV"))},
        {QStringLiteral("IVARI"), number(line, QStringLiteral("FCOUT_IVA"))},
        {QStringLiteral("SECUENCIA"), QString::number(lineNumber)},
        {QStringLiteral("ARTMONEDA"), store},
        {QStringLiteral("TC"), SqlLiteral::text(voucher.tc)},
        {QStringLiteral("IDCOMPROBANTE"), SqlLiteral::text(voucher.origin())},
        {QStringLiteral("IDCOMPLEMENTO"),
         SvcTools::ValueText(line.value(QStringLiteral("FCOUT_ID")), QStringLiteral("FCOUT_ID"))},
        {QStringLiteral("FECHA"), SqlLiteral::text(dateText(line.value(QStringLiteral("FOUT_FECHA"))))},
        {QStringLiteral("IDDEPOSITO"), store},
    };
}

// The single V_MV_STOCK row of a fuel load: the gas article going out.
FieldList loadMovement(const GncArticle &gnc, const SalesDocument &doc, const VoucherIdentity &voucher)
{
    return {
        {QStringLiteral("IDARTICULO"), SqlLiteral::text(gnc.code)},
        {QStringLiteral("DESCRIPCION"), SqlLiteral::text(gnc.description)},
        {QStringLiteral("IDUNIDAD"), SqlLiteral::text(gnc.unit)},
        {QStringLiteral("CANTIDAD"), outgoing(doc.volume, QStringLiteral("VOL_CARGA"))},
        {QStringLiteral("PRECIOVENTA"), SqlLiteral::number(doc.unitPrice)},
        {QStringLiteral("SECUENCIA"), QStringLiteral("1")},
        {QStringLiteral("TC"), SqlLiteral::text(voucher.tc)},
        {QStringLiteral("IDCOMPROBANTE"), SqlLiteral::text(voucher.origin())},
        {QStringLiteral("IDCOMPLEMENTO"), doc.entryNumber()},
    };
}

// Writes one stock line in a region whose errors are logged and skipped: a
// line that cannot be converted or that the database refuses is left out
// and comes back.
void writeIgnoringErrors(RunContext &context, int lineNumber, const std::function<FieldList()> &movement,
                         QList<LeftOutStockLine> &leftOut)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope ignore(errors, QStringLiteral("GrabaStockVenta"), ErrorHandling::Mode::IgnoreAll);
    errors.attempt([&] {
        try {
            writeStockMovement(context.orva(), movement());
        } catch (const RunTimeError &failure) {
            leftOut << LeftOutStockLine{lineNumber, failure.error().description};
            throw;
        }
    });
}

QList<LeftOutStockLine> writeInvoiceLines(SalesContext &sales, const SalesDocument &doc, const VoucherIdentity &voucher)
{
    RunContext &context = sales.context;
    QList<LeftOutStockLine> leftOut;
    Recordset lines = context.source.OpenRecordset(invoiceLinesQuery(doc));
    int lineNumber = 0;
    for (; lines.isOpen() && !lines.eof(); lines.moveNext()) {
        ++lineNumber; // a lost line keeps its number
        writeIgnoringErrors(
            context, lineNumber, [&] { return invoiceLineMovement(lines, voucher, lineNumber); }, leftOut);
    }
    return leftOut;
}

} // namespace

QString signedNumberText(double value)
{
    return value < 0 ? plainNumber(value) : QLatin1Char(' ') + plainNumber(value);
}

QString invoiceLinesQuery(const SalesDocument &doc)
{
    return Statement(QStringLiteral(
                         "SELECT  FAC_OUT.CLI_NAME ,FAC_OUT.FOUT_PVENTA , FAC_OUT.FOUT_NUM , FAC_OUT.FOUT_TIPO,"
                         "FAC_OUT.FOUT_FECHA,FACT_OUT.* FROM FACT_OUT INNER JOIN FAC_OUT ON FACT_OUT.FCOUT_ID = "
                         "FAC_OUT.ID WHERE FAC_OUT.FOUT_PVENTA={} AND FAC_OUT.FOUT_NUM={} AND FAC_OUT.FOUT_TIPO={}"))
        .text(signedNumberText(numericValue(doc.branch)))
        .number(numericValue(doc.number))
        .text(doc.letter);
}

QList<LeftOutStockLine> GrabaStockVenta(SalesContext &sales, const SalesDocument &doc, const VoucherIdentity &voucher)
{
    ErrorHandling::Scope named(sales.context.svc.errors, QStringLiteral("GrabaStockVenta"),
                               ErrorHandling::Mode::NameOnly);
    if (doc.isInvoice)
        return writeInvoiceLines(sales, doc, voucher);
    QList<LeftOutStockLine> leftOut;
    writeIgnoringErrors(
        sales.context, 1, [&] { return loadMovement(sales.gnc, doc, voucher); }, leftOut);
    return leftOut;
}
