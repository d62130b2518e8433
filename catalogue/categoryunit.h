#pragma once
// Categories and units of measure reach Orva through the articles that use
// them: just before an article row is inserted or rewritten, its category
// (KTZ RUBRO) and its unit (the article's PROD_MEDIDA, both code and name)
// are inserted into Orva when missing, or renamed when their name changed.

#include "run/runcontext.h"
#include "services/recordset.h"

// Brings the category of the current catalogue row up to date in
// V_TA_RUBROS. A PROD_RUB without a KTZ RUBRO row writes nothing. Failures go
// to the run's error handling; when the operator continues, the statements
// that need the failed value are left out. A GiveUp propagates.
void ActualizaRubro(RunContext &context, const Recordset &article);

// Brings the unit of the current catalogue row up to date in V_TA_UNIDAD. A
// Null PROD_MEDIDA has no code: the error goes to the run's error handling
// and, when the operator continues, the unit is left as it is.
void ActualizaUnidad(RunContext &context, const Recordset &article);
