#include "customers/customerdetails.h"
#include "customers/customeraccount.h"
#include "services/changetest.h"
#include "services/keyedrow.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

#include <utility>

namespace {

// A KTZ value ready to go between quotes: Null is an empty text.
QString text(const QVariant &value)
{
    return sqlText(SvcTools::FieldText(value));
}

} // namespace

CustomerDetail customerDetail(const Recordset &customer, const CustomerCodes &codes)
{
    const auto field = [&](const char *name) { return customer.value(QLatin1String(name)); };
    return {field("T_CLI_DIR"), field("T_CLI_LOC"), field("T_CLI_CP"),
            codes.province,     field("T_CLI_TEL"), field("T_CLI_CUIT"),
            codes.tax.iva,      codes.tax.documentType, field("T_CLI_DNI")};
}

bool detailChanged(const Recordset &stored, const CustomerDetail &d)
{
    const std::pair<const char *, QVariant> compared[] = {
        {"CALLE", d.street},        {"LOCALIDAD", d.town},          {"CPOSTAL", d.postcode},
        {"PROVINCIA", d.province},  {"TELEFONO", d.phone},          {"NUMERO_DOCUMENTO", d.taxNumber},
        {"IVA", d.iva},             {"DOCUMENTO_TIPO", d.documentType}, {"OBSERVACIONES", d.notes},
    };
    for (const auto &[column, fresh] : compared) {
        if (textDiffers(stored.value(QLatin1String(column)), fresh))
            return true;
    }
    return false;
}

QString detailInsertStatement(const QString &code, const CustomerDetail &d)
{
    return QStringLiteral("INSERT INTO MA_CUENTASADIC (CODIGO,CALLE,LOCALIDAD,CPOSTAL,PROVINCIA,TELEFONO,"
                          "NUMERO_DOCUMENTO,IVA,DOCUMENTO_TIPO,IDCOND_CPRA_VTA,OBSERVACIONES,PAIS,IDMOTIVOVTA,CLASE) "
                          "VALUES('")
        + sqlText(code) + QStringLiteral("','") + text(d.street) + QStringLiteral("','") + text(d.town)
        + QStringLiteral("','") + text(d.postcode) + QStringLiteral("','") + sqlText(d.province)
        + QStringLiteral("','") + text(d.phone) + QStringLiteral("','") + text(d.taxNumber) + QStringLiteral("','")
        + sqlText(d.iva) + QStringLiteral("','") + sqlText(d.documentType) + QStringLiteral("','   1','")
        + text(d.notes) + QStringLiteral("','   1','   1',2)");
}

QString detailUpdateStatement(const QString &code, const CustomerDetail &d)
{
    return QStringLiteral("UPDATE MA_CUENTASADIC SET CALLE= '") + text(d.street) + QStringLiteral("', LOCALIDAD='")
        + text(d.town) + QStringLiteral("', CPOSTAL= '") + text(d.postcode) + QStringLiteral("', PROVINCIA= '")
        + sqlText(d.province) + QStringLiteral("', TELEFONO= '") + text(d.phone)
        + QStringLiteral("', NUMERO_DOCUMENTO= '") + text(d.taxNumber) + QStringLiteral("',IVA='") + sqlText(d.iva)
        + QStringLiteral("', DOCUMENTO_TIPO= '") + sqlText(d.documentType)
        + QStringLiteral("', IDCOND_CPRA_VTA='   1',OBSERVACIONES='") + text(d.notes)
        + QStringLiteral("', PAIS='   1',IDMOTIVOVTA='   1',CLASE=2 WHERE CODIGO = '") + sqlText(code)
        + QLatin1Char('\'');
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
