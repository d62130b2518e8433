#include "customers/customertransfer.h"
#include "customers/accountcode.h"
#include "customers/customeraccount.h"
#include "customers/customerdetails.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

namespace {

// The rows of a recordset, counted by walking it (nothing is kept in memory).
qint32 countRows(Recordset &rs)
{
    qint32 n = 0;
    for (; !rs.eof(); rs.moveNext())
        ++n;
    return n;
}

// Writes the account and the detail row of the current customer row.
void transferCustomer(RunContext &context, const Recordset &customer)
{
    ErrorHandling &errors = context.svc.errors;
    QString number;
    if (!errors.attempt([&] {
            const QString fullNumber =
                SvcTools::NumberText(SvcTools::FieldValue(customer.value(QStringLiteral("T_CLI_CTA"))));
            errors.setRecord(QStringLiteral("cliente ") + fullNumber);
            // Without a number the code would be the title account itself.
            if (fullNumber.trimmed().isEmpty())
                throwNullError(QStringLiteral("T_CLI_CTA"));
            number = lastFourCharacters(fullNumber);
        }))
        return;
    ActualizaCuentaCliente(context, customer, number);
    ActualizaDatosCliente(context, customer, number);
}

} // namespace

void ActualizaClientes(RunContext &context)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("ActualizaClientes"), ErrorHandling::Mode::NameOnly);
    context.progress.begin(QStringLiteral("Actualizando Clientes"));
    Recordset customers = context.source.OpenRecordset(QStringLiteral("SELECT * FROM T_CLIENTES"));
    if (!customers.hasRows())
        return;
    const qint32 n = countRows(customers);
    context.progress.counted(n);
    context.counters.CantCli = n;
    errors.attempt([&] { customers.moveFirst(); });
    while (!customers.eof()) {
        context.yield();
        context.stopIfRequested();
        transferCustomer(context, customers);
        customers.moveNext();
        context.progress.tick();
    }
    errors.setRecord(QString());
}
