#pragma once
// One row of the KTZ catalogue query as the Orva article table receives it:
// the texts of the nine written columns, the change test against the stored
// Orva row, and the lookup, insert and update statements.

#include "services/currency.h"
#include "services/recordset.h"

#include <QString>
#include <QVariant>
#include <optional>

constexpr int BarcodeWidth = 25;
constexpr int CatalogueCodeWidth = 4; // category and unit codes

// A code column right-aligned to width. A Null value has no text to align:
// raises the "invalid use of Null" RunTimeError naming `what`.
QString alignedCode(const QVariant &value, const QString &what, int width);

// The selling price without internal taxes, PRECIOVENTA minus PROD_IMPINT;
// none when either is Null. A value that is no number raises a RunTimeError.
std::optional<Currency> netPrice(const Recordset &article);

// Whether the stored Orva article must be rewritten: its PRECIO2 differs from
// the net price (as numbers) or its DESCRIPCION from PROD_DESCRIP (letter case
// ignored, blanks kept). A Null side is no difference; barcode, rates, cost
// and unit are not compared. A stored or KTZ price that is no number raises.
bool articleChanged(const Recordset &stored, const Recordset &article);

// The values of the article row as they go into a statement (not yet quoted).
struct ArticleColumns
{
    QString key, barcode, price, vatRate, taxes, cost, category, description, unit;
};

// The columns of the current catalogue row under `key`. A Null PROD_EAN,
// PROD_RUB or PROD_MEDIDA, or a number column that is no number, raises a
// RunTimeError; a Null price, rate, tax or cost is written as 0 and a Null
// description as an empty text.
ArticleColumns articleColumns(const Recordset &article, const QString &key);

// SELECT of the Orva article stored under key.
QString articleLookupStatement(const QString &key);
// INSERT of all nine columns.
QString articleInsertStatement(const ArticleColumns &columns);
// UPDATE writing every column again, keyed by the article key.
QString articleUpdateStatement(const ArticleColumns &columns);
