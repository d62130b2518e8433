#pragma once
// The delivery note being transferred and one of its lines, as read from KTZ.

#include "services/currency.h"
#include "services/recordset.h"

#include <QString>

class RunContext;

struct DeliveryNote
{
    QString voucherType; // "RM"
    QString SucNroLetra; // point of sale "0000", number "00000000", letter
    QString complement;  // "0"
    QString date;
    QString account;
    QString customerName;
    Currency total, netTaxed, nonTaxed, vat;
    bool exempt = false;
};

struct DeliveryNoteLine
{
    QString articleKey;
    QString description;
    QString unit;
    Currency quantity, unitPrice, lineTotal, vatRate, finalTotal, internalTaxes;
};

// The note's voucher in Orva (IDCOMPROBANTE of its "RM" voucher): point of
// sale "0000", number "00000000" and letter of the current FAC_OUT row,
// joined ("000300000125R"). Raises a RunTimeError for a column it cannot read.
QString noteVoucherId(const Recordset &row);

// The note's total (IMPORTE of its voucher). A Null or a text that is no
// number raises a type-mismatch RunTimeError naming the column.
Currency noteTotal(const Recordset &row);

// Fills note from the current FAC_OUT row. The note is cleared first, so a
// value whose reading failed (and the operator went past) is never the
// previous note's. Each field is one statement for the run's error handling:
// an amount that is no number raises a RunTimeError there, naming the column.
void LeeRemito(RunContext &context, const Recordset &row, DeliveryNote &note);

// Fills line from the current row of the note's line query (FACT_OUT joined
// with PRODUCTO). Raises a RunTimeError naming the column for a Null that has
// no text form or an amount that is no number.
void LeeRenglonRemito(Recordset &lines, DeliveryNoteLine &line);

// How error messages name the KTZ note of the current FAC_OUT row (and, with
// a line number, its line); never raises.
QString noteRecord(const Recordset &row);
QString lineRecord(const QString &note, int lineNumber, const Recordset &line);
