#include "customers/customerdetails.h"
#include "customers/customeraccount.h"
#include "services/changetest.h"
#include "services/keyedrow.h"
#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"

#include <utility>

CustomerDetail customerDetail(const Recordset &customer, const CustomerCodes &codes)
{
    const auto field = [&](const char *name) { return customer.value(QLatin1String(name)); };
    return {field("T_CLI_DIR"),  field("T_CLI_LOC"), field("T_CLI_CP"),      codes.province,    field("T_CLI_TEL"),
            field("T_CLI_CUIT"), codes.tax.iva,      codes.tax.documentType, field("T_CLI_DNI")};
}

bool detailChanged(const Recordset &stored, const CustomerDetail &d)
{
    const std::pair<const char *, QVariant> compared[] = {
        {"CALLE", d.street},
        {"LOCALIDAD", d.town},
        {"CPOSTAL", d.postcode},
        {"PROVINCIA", d.province},
        {"TELEFONO", d.phone},
        {"NUMERO_DOCUMENTO", d.taxNumber},
        {"IVA", d.iva},
        {"DOCUMENTO_TIPO", d.documentType},
        {"OBSERVACIONES", d.notes},
    };
    for (const auto &[column, fresh] : compared) {
        if (textDiffers(stored.value(QLatin1String(column)), fresh))
            return true;
    }
    return false;
}

namespace {

// The detail's values in column order, as both statements take them.
Statement &withDetail(Statement &statement, const CustomerDetail &d)
{
    const auto text = [](const QVariant &value) { return SvcTools::FieldText(value); };
    return statement.texts({text(d.street), text(d.town), text(d.postcode), d.province, text(d.phone),
                            text(d.taxNumber), d.iva, d.documentType, text(d.notes)});
}

} // namespace

QString detailInsertStatement(const QString &code, const CustomerDetail &d)
{
    return withDetail(
        Statement(QStringLiteral("INSERT INTO MA_CUENTASADIC (CODIGO,CALLE,LOCALIDAD,CPOSTAL,PROVINCIA,TELEFONO,"
                                 "NUMERO_DOCUMENTO,IVA,DOCUMENTO_TIPO,IDCOND_CPRA_VTA,OBSERVACIONES,PAIS,IDMOTIVOVTA,"
                                 "CLASE) VALUES({},{},{},{},{},{},{},{},{},'   1',{},'   1','   1',2)"))
            .text(code),
        d);
}

QString detailUpdateStatement(const QString &code, const CustomerDetail &d)
{
    Statement update(QStringLiteral("UPDATE MA_CUENTASADIC SET CALLE= {}, LOCALIDAD={}, CPOSTAL= {}, PROVINCIA= {}, "
                                    "TELEFONO= {}, NUMERO_DOCUMENTO= {},IVA={}, DOCUMENTO_TIPO= {}, "
                                    "IDCOND_CPRA_VTA='   1',OBSERVACIONES={}, PAIS='   1',IDMOTIVOVTA='   1',CLASE=2 "
                                    "WHERE CODIGO = {}"));
    return withDetail(update, d).text(code);
}

void ActualizaDatosCliente(RunContext &context, const Recordset &customer, const QString &customerNumber)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("ActualizaDatosCliente"), ErrorHandling::Mode::NameOnly);
    // The codes are looked up before the detail row is opened, so that no
    // lookup runs while another result is pending on the Orva connection.
    const CustomerCodes codes = ObtieneCodigosCliente(context, customer);
    CustomerDetail detail;
    storeCustomerRow(
        context, QStringLiteral("MA_CUENTASADIC"), customerNumber,
        [&](const Recordset *stored) {
            detail = customerDetail(customer, codes);
            return stored && detailChanged(*stored, detail);
        },
        [&](bool insert, const QString &code) {
            return insert ? detailInsertStatement(code, detail) : detailUpdateStatement(code, detail);
        });
}
