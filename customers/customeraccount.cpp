#include "customers/customeraccount.h"
#include "customers/accountcode.h"
#include "services/changetest.h"
#include "services/sharedservices.h"
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
    return QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO,DESCRIPCION,TITULO,AJUSTE,LIBRO_IVA_VENTAS,"
                          "LIBRO_IVA_COMPRAS,TIPOVISTA,DADA_DE_BAJA,MEDIODEPAGO) VALUES('")
        + sqlText(code) + QStringLiteral("','") + sqlText(name) + QStringLiteral("','0','0','1','0','CL','0',NULL)");
}

void ActualizaCuentaCliente(RunContext &context, const Recordset &customer, const QString &customerNumber)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("ActualizaCuentaCliente"), ErrorHandling::Mode::NameOnly);
    Recordset found = context.svc.session.OpenRecordset(QStringLiteral("SELECT * FROM MA_CUENTAS WHERE CODIGO = '")
                                                        + sqlText(customerAccountCode(context, customerNumber))
                                                        + QLatin1Char('\''));
    // A lookup the operator went past leaves it unknown whether the account
    // exists: nothing is written rather than a second row.
    if (!found.isOpen())
        return;
    const bool missing = found.isEmpty();
    QVariant name;
    bool renamed = false;
    if (!errors.attempt([&] {
            name = customerAccountName(customer);
            renamed = !missing && textDiffers(found.value(QStringLiteral("DESCRIPCION")), name);
        }))
        return;
    found.close();
    const QString nameText = SvcTools::FieldText(name);
    if (missing) {
        if (context.orva().Execute(accountInsertStatement(customerAccountCode(context, customerNumber), nameText)))
            context.tally.written();
        ++context.counters.CantCliAct;
    } else if (renamed) {
        if (context.orva().Execute(QStringLiteral("UPDATE MA_CUENTAS SET DESCRIPCION = '") + sqlText(nameText)
                                   + QStringLiteral("', MEDIODEPAGO =NULL WHERE CODIGO = '")
                                   + sqlText(customerAccountCode(context, customerNumber)) + QLatin1Char('\'')))
            context.tally.written();
        ++context.counters.CantCliAct;
    } else {
        context.tally.unchanged();
    }
}
