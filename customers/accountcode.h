#pragma once
// The Orva account code of a KTZ customer: the customer title prefix followed
// by the customer number with as many digits as "Digitos_Cuenta".

#include <QString>

// prefix + customerNumber formatted with `digits` zeros ("12" with 6 gives
// "000012"; a text that is no number is used unchanged).
QString CodigoCuentaCliente(const QString &prefix, const QString &customerNumber, int digits);

// A customer number as the transfers key it: its last four characters when longer.
QString lastFourCharacters(const QString &customerNumber);
