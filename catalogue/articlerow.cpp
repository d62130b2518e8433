#include "catalogue/articlerow.h"
#include "services/changetest.h"
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
    const auto number = [&](const char *field) {
        return SvcSession::NumberToSql(article.value(QLatin1String(field)), QStringLiteral("@"));
    };
    const std::optional<Currency> price = netPrice(article);
    ArticleColumns c;
    c.key = key;
    c.barcode = alignedCode(article.value(QStringLiteral("PROD_EAN")), QStringLiteral("PROD_EAN"), BarcodeWidth);
    c.price = price ? SvcSession::NumberToSql(*price) : SvcSession::NumberToSql(QVariant(), QStringLiteral("@"));
    c.vatRate = number("PROD_IVA");
    c.taxes = number("PROD_IMPINT");
    c.cost = number("PROD_COSTO");
    c.category =
        alignedCode(article.value(QStringLiteral("PROD_RUB")), QStringLiteral("PROD_RUB"), CatalogueCodeWidth);
    c.description = SvcTools::FieldText(article.value(QStringLiteral("PROD_DESCRIP")));
    c.unit = alignedCode(article.value(QStringLiteral("PROD_MEDIDA")), QStringLiteral("PROD_MEDIDA"), CatalogueCodeWidth);
    return c;
}

QString articleLookupStatement(const QString &key)
{
    return QStringLiteral("SELECT * FROM V_MA_ARTICULOS WHERE IDARTICULO = '") + sqlText(key) + QLatin1Char('\'');
}

QString articleInsertStatement(const ArticleColumns &c)
{
    return QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO,CODIGOBARRA,PRECIO2,TASAIVA,IMPUESTOS,COSTO,"
                          "IDRUBRO,DESCRIPCION,IDUNIDAD) VALUES('")
        + sqlText(c.key) + QStringLiteral("','") + sqlText(c.barcode) + QStringLiteral("',") + c.price
        + QLatin1Char(',') + c.vatRate + QLatin1Char(',') + c.taxes + QLatin1Char(',') + c.cost
        + QStringLiteral(",'") + sqlText(c.category) + QStringLiteral("','") + sqlText(c.description)
        + QStringLiteral("','") + sqlText(c.unit) + QStringLiteral("')");
}

QString articleUpdateStatement(const ArticleColumns &c)
{
    return QStringLiteral("UPDATE V_MA_ARTICULOS SET CODIGOBARRA = '") + sqlText(c.barcode)
        + QStringLiteral("', PRECIO2=") + c.price + QStringLiteral(", TASAIVA= ") + c.vatRate
        + QStringLiteral(", IMPUESTOS= ") + c.taxes + QStringLiteral(", COSTO= ") + c.cost
        + QStringLiteral(", IDRUBRO= '") + sqlText(c.category) + QStringLiteral("',DESCRIPCION='")
        + sqlText(c.description) + QStringLiteral("', IDUNIDAD= '") + sqlText(c.unit)
        + QStringLiteral("' WHERE IDARTICULO = '") + sqlText(c.key) + QLatin1Char('\'');
}
