#include "customers/customertransfer.h"
#include "customers/accountcode.h"
#include "customers/customeraccount.h"
#include "customers/customerdetails.h"
#include "run/recordwalk.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

namespace {

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
    ErrorHandling::Scope named(context.svc.errors, QStringLiteral("ActualizaClientes"), ErrorHandling::Mode::NameOnly);
    walkSourceRows(context, TransferKind::Clientes, QStringLiteral("Actualizando Clientes"),
                   QStringLiteral("SELECT * FROM T_CLIENTES"), context.counters.CantCli,
                   [&](const Recordset &row) { transferCustomer(context, row); });
}
