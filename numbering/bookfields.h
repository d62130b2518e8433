#pragma once
// Reading a number book: a row of V_TA_CPTE or TA_Comprobantes with its
// per-letter columns (R_SUC_DEFAULT, R_ULTIMO_NRO, R_NRO_DESDE, R_NRO_HASTA,
// VenceR ...), read as numbers, texts and flags.

#include "services/recordset.h"

#include <QString>

// The voucher type as the books key it: trimmed, right-aligned to 4 ("  RM").
QString bookType(const QString &tc);

// The per-letter column: the trimmed letter followed by suffix ("R" and
// "_ULTIMO_NRO" give "R_ULTIMO_NRO").
QString letterColumn(const QString &letter, const QString &suffix);

// The text of a column (Null gives ""). An unknown column raises a RunTimeError.
QString bookText(const Recordset &book, const QString &column);

// The number a column holds (Null or no number gives 0).
double bookNumber(const Recordset &book, const QString &column);

// A yes/no column: Null is false, any other value goes through EsVerdadero.
bool bookFlag(const Recordset &book, const QString &column);

// The book's TALONARIO as a 16-bit number; overflow raises a RunTimeError.
qint16 bookTalonario(const Recordset &book);
