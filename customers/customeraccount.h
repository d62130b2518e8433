#pragma once
// The customer's account row in the Orva chart of accounts (MA_CUENTAS):
// created under the customer title with its constant columns, renamed when
// the KTZ name changed.

#include "run/runcontext.h"
#include "services/recordset.h"

#include <QString>
#include <functional>

// The account code of a customer number as the customer step builds it: the
// configuration value "TITULOCLIENTES", read now, followed by the number with
// the run's Digitos_Cuenta digits.
QString customerAccountCode(RunContext &context, const QString &customerNumber);

// The account name of a KTZ customer row: T_CLI_NOM when T_CLI_EMP is
// "NINGUNA" (letter case ignored, blanks kept), otherwise T_CLI_EMP; Null
// when that column is Null. Raises a RunTimeError for a missing column.
QVariant customerAccountName(const Recordset &customer);

// The insert of a customer account with the constant columns: not a title,
// in the sales VAT book, view "CL", active, no payment method.
QString accountInsertStatement(const QString &code, const QString &name);

// Insert or update by key of a customer's row in table, keyed by CODIGO, the
// customer's account code. differs(stored) reads the KTZ values and says
// whether they differ from the stored row (nullptr: there is none, so it is
// inserted); it runs under the error handling, and an error the operator
// went past writes nothing. statement(insert, code) gives the insert or the
// update. The record is filed in the tally, and CantCliAct counts every
// statement sent, also one the operator went past.
void storeCustomerRow(RunContext &context, const QString &table, const QString &customerNumber,
                      const std::function<bool(const Recordset *stored)> &differs,
                      const std::function<QString(bool insert, const QString &code)> &statement);

// ActualizaCuentaCliente: inserts the account of the current customer row,
// or renames it (and clears its payment method) when the name differs. Raises
// CantCliAct after either statement, also one the operator went past. A
// Null name is written as an empty text and never renames. Failures go to the
// run's error handling; a GiveUp propagates.
void ActualizaCuentaCliente(RunContext &context, const Recordset &customer, const QString &customerNumber);
