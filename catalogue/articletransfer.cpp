#include "catalogue/articletransfer.h"
#include "catalogue/articlekey.h"
#include "catalogue/articlerow.h"
#include "catalogue/categoryunit.h"
#include "run/recordwalk.h"
#include "services/keyedrow.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

namespace {

// Articles of the tax classes SHOP and CIGARRILLOS stay out, and so do those
// without a price row or without a tax class (the comparisons are not true
// for a Null). An article with several price rows comes once per row.
const QString catalogueQuery =
    QStringLiteral("SELECT PRODUCTO.*, PROD_PRECIO.PVENTA AS PRECIOVENTA "
                   "FROM PRODUCTO INNER JOIN PROD_PRECIO ON PRODUCTO.PROD_ID = PROD_PRECIO.ID_PROD"
                   " WHERE IVA_TIPO <> 'SHOP' AND IVA_TIPO <> 'CIGARRILLOS'");

// How error messages name the article being transferred.
QString articleRecord(const Recordset &article)
{
    return QStringLiteral("artículo %1, rubro %2")
        .arg(SvcTools::FieldText(article.value(QStringLiteral("PROD_ID"))),
             SvcTools::FieldText(article.value(QStringLiteral("PROD_RUB"))));
}

// Inserts or rewrites the Orva article of the current catalogue row.
void transferArticle(RunContext &context, const Recordset &article)
{
    ErrorHandling &errors = context.svc.errors;
    QString key;
    if (!errors.attempt([&] {
            errors.setRecord(articleRecord(article));
            key = articleKey(article.value(QStringLiteral("PROD_ID")), article.value(QStringLiteral("PROD_RUB")));
        }))
        return;
    const KeyedWrite outcome = insertOrUpdateByKey(
        context.svc.session, articleLookupStatement(key),
        [&](const Recordset *stored) {
            // A price or description that cannot be compared counts as the same.
            bool changed = !stored;
            if (stored)
                errors.attempt([&] { changed = articleChanged(*stored, article); });
            return changed ? RowChange::Changed : RowChange::Unchanged;
        },
        [&](bool insert) {
            // The article's category and unit are written first.
            ActualizaRubro(context, article);
            ActualizaUnidad(context, article);
            return errors.attempt([&] {
                const ArticleColumns columns = articleColumns(article, key);
                context.orva().executeOrThrow(insert ? articleInsertStatement(columns)
                                                     : articleUpdateStatement(columns));
            });
        });
    context.tally.filed(outcome);
    // The count follows the statement, also one the operator went past.
    if (sentStatement(outcome))
        ++context.counters.CantArtAct;
}

} // namespace

void ActualizaArticulos(RunContext &context)
{
    ErrorHandling::Scope named(context.svc.errors, QStringLiteral("ActualizaArticulos"), ErrorHandling::Mode::NameOnly);
    walkSourceRows(context, TransferKind::Articulos, QStringLiteral("Actualizando Artículos"), catalogueQuery,
                   context.counters.CantArt, [&](const Recordset &row) { transferArticle(context, row); });
}
