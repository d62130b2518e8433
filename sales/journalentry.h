#pragma once
// The journal entry of a sales document: a debit to the customer for the
// total, credits to the sales account and the IVA account, written into
// MV_ASIENTOS inside the document's transaction, with the document's stock
// movements right after its first line.

#include "sales/journalstatements.h"
#include "sales/salescontext.h"
#include "sales/salesdocument.h"

// The customer's account, IVA condition and IVA account of a document.
struct CustomerAccounts
{
    QString account;    // CABCUENTA and the debit line's account
    QString condition;  // the customer's IVA condition, untrimmed
    QString ivaAccount; // empty when Orva has no IVA accounts
};

// ObtieneCuentasVenta: finds the document's customer account, creating it
// (with IVA condition "   3") when Orva does not have it, and picks the IVA
// account that fits the customer's condition. Returns false, having written
// nothing, when the customer lookup failed and the operator went past it;
// other failures go to the run's error handling.
bool ObtieneCuentasVenta(SalesContext &sales, const SalesDocument &doc, CustomerAccounts *accounts);

// The IVA account column of TA_CUENTASIVA for a customer's IVA condition
// (compared trimmed): 1 DFI_IVARI, 2 DFI_IVARNI, 3 DFI_IVACF, 5 DFI_IVARM,
// anything else DFI_IVARI.
QString ivaAccountColumn(const QString &condition);

// GrabaAsientoVenta: writes the entry of doc, unless Orva has it already
// (by voucher and entry number, or by customer line of the same voucher),
// and has the stock movements written after the first line. Raises
// CantVenAct for every line. Must run inside the document's transaction:
// a failing statement goes to the run's error handling, and giving up
// (GiveUp) propagates so the caller rolls the whole document back.
void GrabaAsientoVenta(SalesContext &sales, const SalesDocument &doc);
