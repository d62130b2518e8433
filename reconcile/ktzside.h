#pragma once
// The KTZ side of a station: the invoices, fuel loads and delivery notes the
// transfer selects in the days reconciled, read with the transfer's own
// selection and readers and keyed by the identity Orva recognises them by;
// the rows it cannot read; and the rows the transfer leaves out by rule.

#include "reconcile/reconciliation.h"

class Connection;
struct VoucherIdentity;

// Reads side's documents for the ranges of its kinds from ktz, an open KTZ
// connection, with side.voucherType as the journal's voucher type. Only
// reads. A row that cannot be read is listed in its kind's unreadable rows
// and the reading goes on; a statement the database rejects raises a
// RunTimeError for the caller.
void readKtzSide(Connection &ktz, StationSide &side);

// The day a document date text belongs to; invalid when the text is no date.
QDate documentDay(const QVariant &value);

// How the reconciliation names a sales document ("FA 0005-00001234 A,
// asiento 1001") and a delivery note's voucher ("RM 0001-00000041 R").
QString salesDocumentName(const VoucherIdentity &voucher, const QString &entryNumber);
QString noteDocumentName(const QString &voucherId);

// The key a sales document is matched by: branch, number, letter and entry
// number, in upper case (the voucher type is the pool's).
QString salesDocumentKey(const VoucherIdentity &voucher, const QString &entryNumber);
