#pragma once
// The sales document being transferred, whichever KTZ table it comes from
// (an invoice of FAC_OUT or a natural-gas fuel load of T_CARGAS), and the
// reading of an invoice row into it.

#include "services/currency.h"
#include "services/recordset.h"

#include <QString>
#include <QVariant>

struct SalesDocument
{
    qint64 id = 0;  // the KTZ id: the journal entry number
    QString date;   // the document date as the platform writes dates
    QString branch; // point of sale (invoices) or load type (loads)
    QString number;
    QString letter; // "A" or "B"
    Currency total;
    Currency netTaxed;
    Currency nonTaxed;
    Currency vat;
    Currency vatRate;
    QString customerNumber; // at most its last four characters
    QString customerName;
    QString customerTaxId;
    QString shift; // "   5", "   6", "   7", or four blanks when unknown
    bool isInvoice = true;

    // Fuel loads only: the gas movement's volume and price per unit as read.
    double volume = 0;
    QVariant unitPrice;

    // The journal entry number as written in statements: the id's exact digits.
    QString entryNumber() const { return QString::number(id); }
};

// LeeFactura: the invoice of the current FAC_OUT row. Texts and amounts read
// as the platform reads a field (a Null amount is 0, a Null text is empty).
// Raises a RunTimeError for a Null or non-numeric id, or an amount that is
// no number; the caller's error handling decides.
SalesDocument LeeFactura(const Recordset &invoice);

// How error messages name the invoice of the current FAC_OUT row.
QString invoiceRecord(const Recordset &invoice);

// The shift code of an invoice's shift name: MAÑANA "   5", TARDE "   6",
// NOCHE "   7" in any letter case; any other name gives four blanks.
QString shiftFromName(const QString &name);

// The KTZ id of a document as an exact whole number. Raises a RunTimeError
// naming column for a Null or a value that is no number.
qint64 documentId(const QVariant &value, const QString &column);

// The text of a column of the current row (Null gives ""); an unknown column
// raises a RunTimeError.
QString columnText(const Recordset &rs, const QString &column);

// A column's text for naming a record in messages: never fails ("?" when the
// row or the column is missing).
QString recordColumnText(const Recordset &rs, const QString &column);

// An amount column read as the platform reads a field: Null (or an empty
// text) gives 0, a number its currency value. A text that is no number
// raises a type-mismatch RunTimeError naming column.
Currency amountField(const QVariant &value, const QString &column);
// The same for a column of the current row.
Currency amountColumn(const Recordset &rs, const QString &column);
