#pragma once
// Small shared rules for flags and moments stored as text.

#include <QDateTime>
#include <QString>

// A yes/no flag stored as text: FALSE, FALSO, 0, NO and N (any case, not
// trimmed) are false; every other text, the empty one included, is true.
bool EsVerdadero(const QString &text);

// The moment of a change as "dd/mm/yy hh:mm", written with the date
// separator "-" ("05-03-26 07:04").
QString FormatoFechaHora(const QDateTime &moment = QDateTime::currentDateTime());
