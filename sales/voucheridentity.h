#pragma once
// How a sales document is named in Orva: voucher type, branch, number and
// letter. Every journal line and stock row of the document carries it.

#include "sales/salesdocument.h"

#include <QString>

class RunContext;
class Session;

struct VoucherIdentity
{
    QString tc;       // voucher type of the pass
    QString sucursal; // branch, at least 4 digits
    QString numero;   // number, at least 8 digits
    QString letra;

    // SUCURSAL, NUMERO and LETRA joined: the journal's CPTE_ORIGEN and the
    // stock rows' IDCOMPROBANTE ("000500001234A").
    QString origin() const { return sucursal + numero + letra; }
};

// The voucher type of the pass: "KTZ_TC" in the first, "KTZ_TC2" in the second.
QString voucherType(RunContext &context);
// The same for pass (0 or 1) of session.
QString voucherType(Session &session, int pass);

// The voucher of doc under voucher type tc. Never fails: a branch or number
// that is no number is used as it stands.
VoucherIdentity voucherOf(const SalesDocument &doc, const QString &tc);
