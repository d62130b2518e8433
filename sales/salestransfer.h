#pragma once
// The sales step: KTZ invoices of letters A and B and natural-gas fuel loads
// into Orva journal entries and stock movements, one transaction per
// document.

#include "run/runcontext.h"

// ActualizaVentas: one pass's sales. Counts the selected documents (CantVen,
// only when there are any), then walks all invoices and then all loads in
// date order; per document it reads the row, begins an Orva transaction,
// yields and honours a stop request (RunCancelled, with that document's
// transaction still open for the run's clean-up to roll back), writes the
// journal entry with its stock movements and commits. LastSalesDate follows
// every committed document. Failures go to the run's error handling with
// the document named; a GiveUp propagates with the document's transaction
// open, so the run's clean-up rolls it back.
void ActualizaVentas(RunContext &context);

class SalesTransfer : public TransferStep
{
public:
    void run(RunContext &context) override { ActualizaVentas(context); }
};
