#pragma once
// The Orva codes a KTZ customer's details refer to: the province, found by
// name in the province table, and the IVA condition and document type, chosen
// by the customer's tax condition.

#include "run/runcontext.h"
#include "services/recordset.h"

#include <QString>

// The IVA and document-type codes of one tax condition.
struct TaxConditionCodes
{
    QString iva;
    QString documentType;
};

struct CustomerCodes
{
    QString province;
    TaxConditionCodes tax;
};

// The codes of a tax condition as KTZ holds it (upper-cased, outer blanks
// removed): CONSUMIDOR FINAL and OTROS give "   3"/"   3", RESP. INSCRIP.
// "   1"/"   1", MONOTRIBUTO "   5"/"   1"; anything else, empty included,
// "   3"/"   1".
TaxConditionCodes taxConditionCodes(const QString &condition);

// ObtieneCodigosCliente: the codes of the current customer row. The province
// is the TA_ESTADOS code whose name equals T_CLI_PRO upper-cased without outer
// blanks; "   1" when the lookup gives an empty text or "0". A Null T_CLI_PRO
// has no text to look up: the error goes to the run's error handling and,
// when the operator continues, the province is "   1". A GiveUp propagates.
CustomerCodes ObtieneCodigosCliente(RunContext &context, const Recordset &customer);
