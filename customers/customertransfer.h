#pragma once
// The customer step: copies every KTZ customer into the Orva chart of
// accounts (MA_CUENTAS) and its detail table (MA_CUENTASADIC), creating what
// is missing and rewriting what changed.

#include "run/runcontext.h"

// ActualizaClientes: one pass over T_CLIENTES. Sets CantCli to the rows
// counted (only when there are rows) and raises CantCliAct by one for every
// account statement and one for every detail statement. Drives the progress
// protocol. Failures go to the run's error handling with the customer named;
// a GiveUp propagates to the run, and RunCancelled when the operator asked to
// stop. Statements stand alone: what was written stays.
void ActualizaClientes(RunContext &context);

class CustomerTransfer : public TransferStep
{
public:
    void run(RunContext &context) override { ActualizaClientes(context); }
};
