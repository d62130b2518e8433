#pragma once
// Natural-gas fuel loads (T_CARGAS) as sales documents: a sale of letter "B"
// to a final consumer whose net, non-taxed and IVA amounts are derived from
// the load's total, volume and tax figures, and whose shift follows its hour.

#include "sales/salescontext.h"
#include "sales/salesdocument.h"
#include "services/recordset.h"

#include <QVariant>

// The gas article of "KTZ_CODIGOGNC" with its Orva description and unit; an
// article missing from Orva gives empty texts. Lookup failures go to the
// caller's error handling.
GncArticle LeeArticuloGnc(RunContext &context);

// The three parts of a load's total.
struct LoadAmounts
{
    Currency nonTaxed;
    Currency netTaxed;
    Currency vat;
};

// Splits total: non-taxed = volume × fixed tax, then the net taxed and the IVA
// at ivaRate percent, each rounded to currency as it is computed; the net is
// finally total − (non-taxed + IVA), so the parts add up exactly. Raises a
// RunTimeError (division by zero) for an IVA rate of −100.
LoadAmounts loadAmounts(Currency total, double volume, double fixedTax, double ivaRate);

// ObtieneTurnoCarga: the shift of a load's "Hora": from 06:00:00 to before
// 14:00:00 "   5", to before 22:00:00 "   6", otherwise "   7". A value
// without a time part (midnight, empty) counts as 00:00:00. A time text that
// cannot be read raises a type-mismatch RunTimeError.
QString ObtieneTurnoCarga(const QVariant &hora);

// LeeCarga: the load of the current T_CARGAS row. A Null or non-numeric
// VOL_CARGA, N_ITC or N_IVA, a non-numeric amount, or a Null id raises a
// RunTimeError naming the column; the caller's error handling decides.
SalesDocument LeeCarga(const Recordset &load);

// How error messages name the load of the current T_CARGAS row.
QString loadRecord(const Recordset &load);
