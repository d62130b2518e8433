#include "sales/salesstock.h"
#include "catalogue/articlekey.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

namespace {

// The outgoing quantity of a sold quantity: a positive one is negated, zero
// or less is kept. Null is written as 0; a text that is no number fails.
QString outgoing(const QVariant &quantity, const QString &column)
{
    if (quantity.isNull() || !quantity.isValid())
        return SvcSession::NumberToSql(quantity, QStringLiteral("@"));
    const double q = doubleOf(quantity, column);
    return plainNumber(q > 0 ? -q : q);
}

QString number(const Recordset &line, const QString &column)
{
    return SvcSession::NumberToSql(line.value(column), QStringLiteral("@"));
}

// The V_MV_STOCK row of the current invoice line.
QString invoiceLineStatement(const Recordset &line, const VoucherIdentity &voucher, int lineNumber)
{
    return QStringLiteral("INSERT INTO V_MV_STOCK (IDARTICULO,IDUNIDAD,DESCRIPCION,CANTIDAD,PRECIOVENTA,IMPUESTOS,"
                          "IVARI,SECUENCIA,ARTMONEDA,TC,IDCOMPROBANTE,IDCOMPLEMENTO, FECHA,IDDEPOSITO) ")
        + QStringLiteral("VALUES('")
        + sqlText(articleKey(line.value(QStringLiteral("fcout_prod_id")), line.value(QStringLiteral("fcout_rub"))))
        + QStringLiteral("','") + sqlText(SvcTools::PadLeft(columnText(line, QStringLiteral("fcout_unid"))))
        + QStringLiteral("','") + sqlText(columnText(line, QStringLiteral("fcout_descr"))) + QStringLiteral("',")
        + outgoing(line.value(QStringLiteral("fcout_cant")), QStringLiteral("fcout_cant")) + QLatin1Char(',')
        + number(line, QStringLiteral("fcout_pventa")) + QLatin1Char(',')
        + number(line, QStringLiteral("FCOUT_IMP_NGRAV")) + QLatin1Char(',') + number(line, QStringLiteral("FCOUT_IVA"))
        + QLatin1Char(',') + QString::number(lineNumber) + QStringLiteral(",'   1'") + QStringLiteral(",'")
        + sqlText(voucher.tc) + QStringLiteral("','") + sqlText(voucher.origin()) + QStringLiteral("',")
        + SvcTools::ValueText(line.value(QStringLiteral("FCOUT_ID")), QStringLiteral("FCOUT_ID"))
        + QStringLiteral(",'") + sqlText(dateText(line.value(QStringLiteral("FOUT_FECHA"))))
        + QStringLiteral("','   1')");
}

// The single V_MV_STOCK row of a fuel load: the gas article going out.
QString loadMovementStatement(const GncArticle &gnc, const SalesDocument &doc, const VoucherIdentity &voucher)
{
    return QStringLiteral("INSERT INTO V_MV_STOCK (IDARTICULO,DESCRIPCION,IDUNIDAD,CANTIDAD,PRECIOVENTA,SECUENCIA,"
                          "TC,IDCOMPROBANTE,IDCOMPLEMENTO) ")
        + QStringLiteral("VALUES('") + sqlText(gnc.code) + QStringLiteral("','") + sqlText(gnc.description)
        + QStringLiteral("',") + QStringLiteral("'") + sqlText(gnc.unit) + QStringLiteral("',")
        + outgoing(doc.volume, QStringLiteral("VOL_CARGA")) + QLatin1Char(',')
        + SvcSession::NumberToSql(doc.unitPrice, QStringLiteral("@")) + QLatin1Char(',') + QStringLiteral("1")
        + QStringLiteral(",'") + sqlText(voucher.tc) + QStringLiteral("','") + sqlText(voucher.origin())
        + QStringLiteral("',") + doc.entryNumber() + QLatin1Char(')');
}

// Runs one stock statement in a region whose errors are logged and skipped.
void writeIgnoringErrors(RunContext &context, const std::function<QString()> &statement)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope ignore(errors, QStringLiteral("GrabaStockVenta"), ErrorHandling::Mode::IgnoreAll);
    errors.attempt([&] { context.orva().executeOrThrow(statement()); });
}

void writeInvoiceLines(SalesContext &sales, const SalesDocument &doc, const VoucherIdentity &voucher)
{
    RunContext &context = sales.context;
    Recordset lines = context.source.OpenRecordset(invoiceLinesQuery(doc));
    int lineNumber = 0;
    for (; lines.isOpen() && !lines.eof(); lines.moveNext()) {
        ++lineNumber;  // a lost line keeps its number
        writeIgnoringErrors(context, [&] { return invoiceLineStatement(lines, voucher, lineNumber); });
    }
}

} // namespace

QString signedNumberText(double value)
{
    return value < 0 ? plainNumber(value) : QLatin1Char(' ') + plainNumber(value);
}

QString invoiceLinesQuery(const SalesDocument &doc)
{
    return QStringLiteral("SELECT  FAC_OUT.CLI_NAME ,FAC_OUT.FOUT_PVENTA , FAC_OUT.FOUT_NUM , FAC_OUT.FOUT_TIPO,"
                          "FAC_OUT.FOUT_FECHA,FACT_OUT.* FROM FACT_OUT INNER JOIN FAC_OUT ON FACT_OUT.FCOUT_ID = "
                          "FAC_OUT.ID ")
        + QStringLiteral("WHERE FAC_OUT.FOUT_PVENTA='") + signedNumberText(numericValue(doc.branch))
        + QStringLiteral("' AND FAC_OUT.FOUT_NUM=") + plainNumber(numericValue(doc.number))
        + QStringLiteral(" AND FAC_OUT.FOUT_TIPO='") + sqlText(doc.letter) + QLatin1Char('\'');
}

void GrabaStockVenta(SalesContext &sales, const SalesDocument &doc, const VoucherIdentity &voucher)
{
    ErrorHandling::Scope named(sales.context.svc.errors, QStringLiteral("GrabaStockVenta"),
                               ErrorHandling::Mode::NameOnly);
    if (doc.isInvoice) {
        writeInvoiceLines(sales, doc, voucher);
        return;
    }
    writeIgnoringErrors(sales.context, [&] { return loadMovementStatement(sales.gnc, doc, voucher); });
}
