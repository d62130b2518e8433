#pragma once
// The stock movements of a sales document in V_MV_STOCK: an invoice's lines
// from FACT_OUT as outgoing quantities, or a fuel load's single movement of
// the gas article, under the same voucher as the journal entry.

#include "sales/salescontext.h"
#include "sales/salesdocument.h"
#include "sales/voucheridentity.h"

#include <QList>
#include <QString>

// A stock line of a sales document that was left out: its line number
// (SECUENCIA; 1 for a fuel load) and why (the database's message, or the
// value that could not be converted).
struct LeftOutStockLine
{
    int line = 0;
    QString reason;
};

// GrabaStockVenta: writes the movements of doc inside its transaction. A row
// that cannot be read, converted or written is left out, logged and
// returned, and the others are still written (an invoice's line numbers
// count the lost row too). Reading an invoice's lines from KTZ goes to the
// run's error handling.
QList<LeftOutStockLine> GrabaStockVenta(SalesContext &sales, const SalesDocument &doc, const VoucherIdentity &voucher);

// The KTZ selection of an invoice's lines, found by branch, number and
// letter (not by id): the branch with its sign position (" 5"), the number
// as plain digits.
QString invoiceLinesQuery(const SalesDocument &doc);

// A number with a sign position in front: " 5" for 5, "-5" for -5.
QString signedNumberText(double value);
