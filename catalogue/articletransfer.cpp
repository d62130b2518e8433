#include "catalogue/articletransfer.h"
#include "catalogue/articlekey.h"
#include "catalogue/articlerow.h"
#include "catalogue/categoryunit.h"
#include "run/recordwalk.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

namespace {

// Articles of the tax classes SHOP and CIGARRILLOS stay out, and so do those
// without a price row or without a tax class (the comparisons are not true
// for a Null). An article with several price rows comes once per row.
const QString catalogueQuery = QStringLiteral("SELECT PRODUCTO.*, PROD_PRECIO.PVENTA AS PRECIOVENTA ")
    + QStringLiteral("FROM PRODUCTO INNER JOIN PROD_PRECIO ON PRODUCTO.PROD_ID = PROD_PRECIO.ID_PROD")
    + QStringLiteral(" WHERE IVA_TIPO <> 'SHOP' AND IVA_TIPO <> 'CIGARRILLOS'");

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
    Recordset found = context.svc.session.OpenRecordset(articleLookupStatement(key));
    // A lookup the operator went past leaves it unknown whether the article
    // exists: nothing is written rather than a second row.
    if (!found.isOpen())
        return;
    const bool missing = found.isEmpty();
    bool changed = false;
    if (!missing)
        errors.attempt([&] { changed = articleChanged(found, article); });
    found.close();
    if (!missing && !changed) {
        context.tally.unchanged();
        return;
    }
    ActualizaRubro(context, article);
    ActualizaUnidad(context, article);
    if (errors.attempt([&] {
            const ArticleColumns columns = articleColumns(article, key);
            context.orva().executeOrThrow(missing ? articleInsertStatement(columns) : articleUpdateStatement(columns));
        }))
        context.tally.written();
    // The count follows the statement, also one the operator went past.
    ++context.counters.CantArtAct;
}

} // namespace

void ActualizaArticulos(RunContext &context)
{
    ErrorHandling::Scope named(context.svc.errors, QStringLiteral("ActualizaArticulos"), ErrorHandling::Mode::NameOnly);
    walkSourceRows(context, TransferKind::Articulos, QStringLiteral("Actualizando Artículos"), catalogueQuery, context.counters.CantArt,
                   [&](const Recordset &row) { transferArticle(context, row); });
}
