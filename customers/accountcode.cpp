#include "customers/accountcode.h"
#include "services/svctools.h"

QString CodigoCuentaCliente(const QString &prefix, const QString &customerNumber, int digits)
{
    return prefix + formatDigits(customerNumber, digits);
}

QString lastFourCharacters(const QString &customerNumber)
{
    return customerNumber.size() > 4 ? customerNumber.right(4) : customerNumber;
}
