#include "catalogue/articlerow.h"
#include "services/changetest.h"
#include "services/statement.h"
#include "services/svcsession.h"
#include "services/svctools.h"

QString alignedCode(const QVariant &value, const QString &what, int width)
{
    return SvcTools::PadLeft(SvcTools::ValueText(value, what), width);
}

std::optional<Currency> netPrice(const Recordset &article)
{
    const QVariant price = article.value(QStringLiteral("PRECIOVENTA"));
    const QVariant taxes = article.value(QStringLiteral("PROD_IMPINT"));
    if (price.isNull() || taxes.isNull())
        return std::nullopt;
    return currencyOf(price, QStringLiteral("PRECIOVENTA")) - currencyOf(taxes, QStringLiteral("PROD_IMPINT"));
}

bool articleChanged(const Recordset &stored, const Recordset &article)
{
    const QVariant storedPrice = stored.value(QStringLiteral("PRECIO2"));
    const std::optional<Currency> price = netPrice(article);
    if (!storedPrice.isNull() && price && currencyOf(storedPrice, QStringLiteral("PRECIO2")) != *price)
        return true;
    return textDiffers(stored.value(QStringLiteral("DESCRIPCION")), article.value(QStringLiteral("PROD_DESCRIP")));
}

ArticleColumns articleColumns(const Recordset &article, const QString &key)
{
    const auto number = [&](const char *field) { return SqlLiteral::number(article.value(QLatin1String(field))); };
    const std::optional<Currency> price = netPrice(article);
    ArticleColumns c;
    c.key = key;
    c.barcode = alignedCode(article.value(QStringLiteral("PROD_EAN")), QStringLiteral("PROD_EAN"), BarcodeWidth);
    c.price = price ? SqlLiteral::amount(*price) : SqlLiteral::number(QVariant());
    c.vatRate = number("PROD_IVA");
    c.taxes = number("PROD_IMPINT");
    c.cost = number("PROD_COSTO");
    c.category = alignedCode(article.value(QStringLiteral("PROD_RUB")), QStringLiteral("PROD_RUB"), CatalogueCodeWidth);
    c.description = SvcTools::FieldText(article.value(QStringLiteral("PROD_DESCRIP")));
    c.unit =
        alignedCode(article.value(QStringLiteral("PROD_MEDIDA")), QStringLiteral("PROD_MEDIDA"), CatalogueCodeWidth);
    return c;
}

namespace {

// The columns after the key, in the order both statements take them.
Statement &withColumns(Statement &statement, const ArticleColumns &c)
{
    return statement.text(c.barcode)
        .literals({c.price, c.vatRate, c.taxes, c.cost})
        .texts({c.category, c.description, c.unit});
}

} // namespace

QString articleLookupStatement(const QString &key)
{
    return Statement(QStringLiteral("SELECT * FROM V_MA_ARTICULOS WHERE IDARTICULO = {}")).text(key);
}

QString articleInsertStatement(const ArticleColumns &c)
{
    return withColumns(
        Statement(QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO,CODIGOBARRA,PRECIO2,TASAIVA,IMPUESTOS,COSTO,"
                                 "IDRUBRO,DESCRIPCION,IDUNIDAD) VALUES({},{},{},{},{},{},{},{},{})"))
            .text(c.key),
        c);
}

QString articleUpdateStatement(const ArticleColumns &c)
{
    Statement update(
        QStringLiteral("UPDATE V_MA_ARTICULOS SET CODIGOBARRA = {}, PRECIO2={}, TASAIVA= {}, IMPUESTOS= {}, "
                       "COSTO= {}, IDRUBRO= {},DESCRIPCION={}, IDUNIDAD= {} WHERE IDARTICULO = {}"));
    return withColumns(update, c).text(c.key);
}
