#include "sales/journalentry.h"
#include "customers/accountcode.h"
#include "customers/customeraccount.h"
#include "sales/salesstock.h"
#include "services/errors.h"
#include "services/keyedrow.h"
#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"

namespace {

// Writes the lines of one entry, numbering only the lines written.
class JournalWriter
{
public:
    JournalWriter(SalesContext &sales, const SalesDocument &doc, const JournalHeader &header)
        : m_sales(sales), m_doc(doc), m_header(header)
    {}

    // GrabaRenglonAsiento: writes one line, or nothing when the account is
    // blank or the amount is not above 0. The first line written brings the
    // document's stock movements.
    void GrabaRenglonAsiento(const QString &account, const QString &side, Currency amount, const BookValues &book)
    {
        if (account.trimmed().isEmpty() || amount <= Currency())
            return;
        ++m_secuencia;
        const JournalLine line{account, side, amount, m_secuencia, book};
        if (m_sales.context.orva().Execute(journalLineStatement(m_header, line)))
            m_sales.context.tally.written();
        if (m_secuencia == 1)
            nameLeftOutStockLines(GrabaStockVenta(m_sales, m_doc, m_header.voucher));
        ++m_sales.context.counters.CantVenAct;
    }

    bool wroteLines() const { return m_secuencia > 0; }

private:
    // A stock line the database refused does not stop the document, but it
    // is not silent either: the log and the run's accounting name it.
    void nameLeftOutStockLines(const QList<LeftOutStockLine> &leftOut)
    {
        RunContext &context = m_sales.context;
        for (const LeftOutStockLine &l : leftOut) {
            const QString line = m_doc.isInvoice
                ? QStringLiteral("%1, renglón %2").arg(context.svc.errors.record()).arg(l.line)
                : context.svc.errors.record() + QStringLiteral(", movimiento de stock");
            context.svc.log.warning(
                QStringLiteral("%1: el movimiento de stock no se graba: %2").arg(line, l.reason.trimmed()));
            context.tally.leaveOut(line, QStringLiteral("GrabaStockVenta"), l.reason.trimmed());
        }
    }

private:
    SalesContext &m_sales;
    const SalesDocument &m_doc;
    const JournalHeader &m_header;
    int m_secuencia = 0;
};

// The month of a document date, 1 to 12; a date that cannot be read raises
// a type-mismatch error.
QString operatingMonth(const QString &date)
{
    const QDateTime dt = parseDateTimeText(date);
    if (!dt.isValid())
        throw RunTimeError(
            RunError{ErrorNumber::TypeMismatch,
                     QStringLiteral("No coinciden los tipos: la fecha del documento no es una fecha ('%1')").arg(date),
                     {},
                     {},
                     {}});
    return QString::number(dt.date().month());
}

JournalHeader fixedValues(SalesContext &sales, const SalesDocument &doc)
{
    JournalHeader h;
    h.date = doc.date;
    h.month = operatingMonth(doc.date);
    h.entryNumber = doc.entryNumber();
    h.period = sales.context.Cfg(QStringLiteral("PERIODO"));
    h.voucher = voucherOf(doc, voucherType(sales.context));
    h.total = doc.total;
    h.shift = doc.shift;
    h.customerName = doc.customerName;
    h.customerTaxId = doc.customerTaxId;
    return h;
}

// Whether the check finds the entry in Orva. A check the operator went past
// leaves it unknown: that counts as found, so nothing is written twice.
bool foundInOrva(SalesContext &sales, const QString &check)
{
    const RowRead read = RowRead::of(sales.context.svc.session, check);
    return read.failed() || read.found();
}

// The IVA account of a condition's column of TA_CUENTASIVA; "" when the
// table has no row. A run reads each column once (the tool never writes the table).
QString ivaAccount(RunContext &context, const QString &column)
{
    const QString table = QStringLiteral("TA_CUENTASIVA");
    RunCache &held = context.orva().runCache();
    if (const QVariant *account = held.find(table, column))
        return account->toString();
    const RowRead iva = RowRead::of(context.svc.session, QStringLiteral("SELECT TOP 1 * FROM TA_CUENTASIVA"));
    if (iva.failed())
        return QString();
    QString account;
    if (iva.found()
        && !context.svc.errors.attempt([&] { account = SvcTools::ValueText(iva.row().value(column), column); }))
        return QString();
    held.store(table, column, account);
    return account;
}

} // namespace

QString ivaAccountColumn(const QString &condition)
{
    const QString c = condition.trimmed();
    if (sameText(c, QStringLiteral("2")))
        return QStringLiteral("DFI_IVARNI");
    if (sameText(c, QStringLiteral("3")))
        return QStringLiteral("DFI_IVACF");
    if (sameText(c, QStringLiteral("5")))
        return QStringLiteral("DFI_IVARM");
    return QStringLiteral("DFI_IVARI");
}

bool ObtieneCuentasVenta(SalesContext &sales, const SalesDocument &doc, CustomerAccounts *accounts)
{
    RunContext &context = sales.context;
    ErrorHandling &errors = context.svc.errors;
    SvcSession &orva = context.svc.session;
    accounts->account = CodigoCuentaCliente(context.session.tituloClientes, doc.customerNumber, context.Digitos_Cuenta);
    RowRead customer = orva.ReadRecord(QStringLiteral("MA_CUENTASADIC"), accounts->account, QStringLiteral("CODIGO"));
    if (customer.failed())
        return false;
    if (customer.found()) {
        errors.attempt([&] {
            accounts->condition =
                SvcTools::ValueText(customer.row().value(QStringLiteral("Iva")), QStringLiteral("Iva"));
        });
    } else {
        context.orva().Execute(accountInsertStatement(accounts->account, doc.customerName));
        context.orva().Execute(customerDetailsInsert(accounts->account));
        accounts->condition = QStringLiteral("   3");
    }
    customer.close();

    accounts->ivaAccount = ivaAccount(context, ivaAccountColumn(accounts->condition));
    return true;
}

void GrabaAsientoVenta(SalesContext &sales, const SalesDocument &doc)
{
    ErrorHandling &errors = sales.context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("GrabaAsientoVenta"), ErrorHandling::Mode::NameOnly);
    JournalHeader header;
    if (!errors.attempt([&] { header = fixedValues(sales, doc); }))
        return;
    RecordTally &tally = sales.context.tally;
    if (foundInOrva(sales, voucherCheckStatement(header))) {
        tally.unchanged();
        return;
    }
    CustomerAccounts accounts;
    if (!ObtieneCuentasVenta(sales, doc, &accounts))
        return;
    header.customerAccount = accounts.account;
    if (foundInOrva(sales, customerLineCheckStatement(header))) {
        tally.unchanged();
        return;
    }

    BookValues book;
    book.nonTaxed = doc.nonTaxed;
    book.netTaxed = doc.netTaxed;
    book.vat = doc.vat;
    book.rate = doc.vatRate;
    book.condition = accounts.condition;
    book.type = QStringLiteral("Ventas");
    const BookValues none;
    JournalWriter writer(sales, doc, header);
    writer.GrabaRenglonAsiento(accounts.account, QStringLiteral("D"), doc.total, book);
    writer.GrabaRenglonAsiento(sales.salesAccount, QStringLiteral("H"), doc.netTaxed, none);
    writer.GrabaRenglonAsiento(sales.salesAccount, QStringLiteral("H"), doc.nonTaxed, none);
    writer.GrabaRenglonAsiento(accounts.ivaAccount, QStringLiteral("H"), doc.vat, none);
    if (!writer.wroteLines())
        tally.leaveOut(sales.context.svc.errors.record(), QStringLiteral("GrabaAsientoVenta"),
                       QStringLiteral("ningún importe es mayor que 0: el asiento no tiene renglones"));
}
