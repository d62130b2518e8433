#include "catalogue/categoryunit.h"
#include "catalogue/articlerow.h"
#include "services/changetest.h"
#include "services/keyedrow.h"
#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"

namespace {

// An Orva code table of the catalogue: categories or units.
struct CodeTable
{
    QString table;      // V_TA_RUBROS, V_TA_UNIDAD
    QString codeColumn; // IDRUBRO, IDUNIDAD
};

// Inserts the code with its name when Orva lacks it, or renames it when the
// stored name differs (case ignored, blanks kept, a Null side is no change).
// A Null name is written as an empty text.
void storeCode(RunContext &context, const CodeTable &t, const QString &code, const QVariant &name)
{
    insertOrUpdateByKey(
        context.svc.session,
        Statement(QStringLiteral("SELECT * FROM {} WHERE {}={}")).part(t.table).part(t.codeColumn).text(code),
        [&](const Recordset *stored) {
            // A name that cannot be compared counts as the same.
            bool renamed = !stored;
            if (stored)
                context.svc.errors.attempt(
                    [&] { renamed = textDiffers(stored->value(QStringLiteral("DESCRIPCION")), name); });
            return renamed ? RowChange::Changed : RowChange::Unchanged;
        },
        [&](bool insert) {
            if (insert)
                return context.orva().Execute(
                    Statement(QStringLiteral("INSERT INTO {} ({},DESCRIPCION) VALUES ({},{})"))
                        .part(t.table)
                        .part(t.codeColumn)
                        .text(code)
                        .textOf(name));
            return context.orva().Execute(Statement(QStringLiteral("UPDATE {} SET DESCRIPCION={} WHERE {}={}"))
                                              .part(t.table)
                                              .textOf(name)
                                              .part(t.codeColumn)
                                              .text(code));
        });
}

} // namespace

void ActualizaRubro(RunContext &context, const Recordset &article)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("ActualizaRubro"), ErrorHandling::Mode::NameOnly);
    QString category;
    if (!errors.attempt([&] { category = SvcTools::FieldText(article.value(QStringLiteral("PROD_RUB"))); }))
        return;
    Recordset rubro =
        context.source.OpenRecordset(Statement(QStringLiteral("SELECT * FROM RUBRO WHERE RUB_COD={}")).text(category));
    if (!rubro.hasRows())
        return;
    QString code;
    QVariant name;
    if (!errors.attempt([&] {
            code = alignedCode(rubro.value(QStringLiteral("RUB_COD")), QStringLiteral("RUB_COD"), CatalogueCodeWidth);
            name = rubro.value(QStringLiteral("RUB_DESCR"));
        }))
        return;
    storeCode(context, {QStringLiteral("V_TA_RUBROS"), QStringLiteral("IDRUBRO")}, code, name);
}

void ActualizaUnidad(RunContext &context, const Recordset &article)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("ActualizaUnidad"), ErrorHandling::Mode::NameOnly);
    QString code;
    QVariant name;
    if (!errors.attempt([&] {
            name = article.value(QStringLiteral("PROD_MEDIDA"));
            code = alignedCode(name, QStringLiteral("PROD_MEDIDA"), CatalogueCodeWidth);
        }))
        return;
    storeCode(context, {QStringLiteral("V_TA_UNIDAD"), QStringLiteral("IDUNIDAD")}, code, name);
}
