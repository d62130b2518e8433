#pragma once
// Which KTZ sales documents a pass transfers: invoices of letters A and B and
// natural-gas fuel loads dated on or after the start date, the last date
// stored for the pass or, before the first transfer, "KTZ_FECHADESDE".

#include "run/runcontext.h"

#include <QString>

struct SalesSelection
{
    QString startDate;     // YYYY-MM-DD
    QString invoiceFilter; // WHERE clause of FAC_OUT
    QString loadFilter;    // WHERE clause of T_CARGAS

    QString invoiceCountStatement() const;
    QString loadCountStatement() const;
    QString invoiceStatement() const; // the walk, in date order
    QString loadStatement() const;
};

// The selection of the context's pass. The stored date is included (">="):
// documents of the last transferred day are selected again and recognised
// by the journal's duplicate checks.
SalesSelection salesSelection(RunContext &context);

// The selection from startDate (any date text): the first-run filters when
// firstRun, otherwise those of later runs. The documents selected are the same.
SalesSelection salesSelectionFrom(const QString &startDate, bool firstRun);
