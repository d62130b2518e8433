#include "customers/customeraccount.h"
#include "customers/accountcode.h"
#include "services/changetest.h"
#include "services/keyedrow.h"
#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"

QString customerAccountCode(RunContext &context, const QString &customerNumber)
{
    return CodigoCuentaCliente(context.Cfg(QStringLiteral("TITULOCLIENTES")), customerNumber, context.Digitos_Cuenta);
}

QVariant customerAccountName(const Recordset &customer)
{
    const QVariant company = customer.value(QStringLiteral("T_CLI_EMP"));
    if (sameText(SvcTools::FieldText(company), QStringLiteral("NINGUNA")))
        return customer.value(QStringLiteral("T_CLI_NOM"));
    return company;
}

QString accountInsertStatement(const QString &code, const QString &name)
{
    return Statement(QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO,DESCRIPCION,TITULO,AJUSTE,LIBRO_IVA_VENTAS,"
                                    "LIBRO_IVA_COMPRAS,TIPOVISTA,DADA_DE_BAJA,MEDIODEPAGO) "
                                    "VALUES({},{},'0','0','1','0','CL','0',NULL)"))
        .text(code)
        .text(name);
}

void ActualizaCuentaCliente(RunContext &context, const Recordset &customer, const QString &customerNumber)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("ActualizaCuentaCliente"), ErrorHandling::Mode::NameOnly);
    QVariant name;
    storeCustomerRow(
        context, QStringLiteral("MA_CUENTAS"), customerNumber,
        [&](const Recordset *stored) {
            name = customerAccountName(customer);
            return stored && textDiffers(stored->value(QStringLiteral("DESCRIPCION")), name);
        },
        [&](bool insert, const QString &code) {
            const QString nameText = SvcTools::FieldText(name);
            if (insert)
                return accountInsertStatement(code, nameText);
            return Statement(
                       QStringLiteral("UPDATE MA_CUENTAS SET DESCRIPCION = {}, MEDIODEPAGO =NULL WHERE CODIGO = {}"))
                .text(nameText)
                .text(code)
                .sql();
        });
}

void storeCustomerRow(RunContext &context, const QString &table, const QString &customerNumber,
                      const std::function<bool(const Recordset *stored)> &differs,
                      const std::function<QString(bool insert, const QString &code)> &statement)
{
    const KeyedWrite outcome = insertOrUpdateByKey(
        context.svc.session,
        Statement(QStringLiteral("SELECT * FROM {} WHERE CODIGO = {}"))
            .part(table)
            .text(customerAccountCode(context, customerNumber)),
        [&](const Recordset *stored) {
            bool changed = false;
            if (!context.svc.errors.attempt([&] { changed = differs(stored); }))
                return RowChange::Undecided;
            return changed || !stored ? RowChange::Changed : RowChange::Unchanged;
        },
        [&](bool insert) {
            return context.orva().Execute(statement(insert, customerAccountCode(context, customerNumber)));
        });
    context.tally.filed(outcome);
    if (sentStatement(outcome))
        ++context.counters.CantCliAct;
}
