#pragma once
// Small value rules the stock engine's statements share: configuration
// flags, article lookups and the SQL literals of codes and texts.

#include "services/currency.h"

#include <QString>

class SvcSession;

// A configuration flag: the text equals "SI" without regard to case.
bool isSi(const QString &text);

// Proper case: the first letter of every word capital, the others small.
QString properCase(const QString &text);

// A column of an article of V_MA_ARTICULOS, "" when there is none or it is
// Null. Orva keeps article codes right-aligned in 25 characters: the code is
// looked up in that form, and as given when that finds nothing.
QString articleColumn(SvcSession &session, const QString &article, const QString &column);

// A text between quotes with every single quote removed: 'text'.
QString textWithoutQuotes(const QString &text);

// A unit code right-aligned to 4 between quotes; NULL when it is empty.
QString unitLiteral(const QString &unit);

// A voucher type as V_TA_CPTE keys it: trimmed, right-aligned to 4.
QString voucherCode(const QString &tc);

// What is held for a run (services/runcache.h) from the definitions of the
// voucher types in V_TA_CPTE (system, direction, sign). The tool writes only
// the number counters of that table, so its writes leave these held.
inline const QString VoucherDefinitions = QStringLiteral("V_TA_CPTE definitions");
