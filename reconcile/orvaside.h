#pragma once
// The Orva side of the reconciliation: the documents Orva holds in a range of
// days, read with one grouped statement per pool, by the identity the
// transfer recognises them by — the voucher and entry number of the journal's
// sales entries, the IDCOMPROBANTE of the "RM" vouchers.

#include "reconcile/reconciliation.h"

class Connection;

// The grouped statement over the journal's sales entries of voucherType.
QString salesJournalStatement(const QString &voucherType, const DayRange &range);
// The grouped statement over the "RM" vouchers.
QString noteVoucherStatement(const DayRange &range);

// Fills pool.documents from orva: the entries of voucherType, counted by
// their customer lines (SECUENCIA 1) with the total of their debit lines.
// Only reads; a statement the database rejects raises a RunTimeError.
void readSalesPool(Connection &orva, const QString &voucherType, OrvaPool &pool);

// Fills pool.documents with the "RM" vouchers, counted with their IMPORTE summed.
void readNotePool(Connection &orva, OrvaPool &pool);
