#pragma once
// The customer's detail row (MA_CUENTASADIC): address, telephone, tax and
// document data, and the constant sales condition, country, sales reason and
// class. Created when missing, rewritten whole when a compared value changed.

#include "customers/customercodes.h"
#include "run/runcontext.h"
#include "services/recordset.h"

#include <QString>
#include <QVariant>

// The values of a detail row. KTZ values keep their Null (which is no
// difference in the change test) and are written as empty texts.
struct CustomerDetail
{
    QVariant street, town, postcode;
    QString province;
    QVariant phone, taxNumber;
    QString iva, documentType;
    QVariant notes;
};

// The detail values of the current KTZ customer row with its codes. Raises a
// RunTimeError for a missing column.
CustomerDetail customerDetail(const Recordset &customer, const CustomerCodes &codes);

// Whether the stored detail row differs from d in one of the nine compared
// columns (letter case ignored, blanks kept, a Null side is no difference).
// The sales condition, country, sales reason and class are not compared.
bool detailChanged(const Recordset &stored, const CustomerDetail &d);

// The insert of a detail row, sales condition, country and sales reason
// "   1", class 2.
QString detailInsertStatement(const QString &code, const CustomerDetail &d);
// The update writing every column again, the constant ones included.
QString detailUpdateStatement(const QString &code, const CustomerDetail &d);

// ActualizaDatosCliente: inserts or rewrites the detail row of the current
// customer row, after looking up its codes. Raises CantCliAct after either
// statement, also one the operator went past. Failures go to the run's
// error handling; a GiveUp propagates.
void ActualizaDatosCliente(RunContext &context, const Recordset &customer, const QString &customerNumber);
