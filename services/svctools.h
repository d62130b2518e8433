#pragma once
// SvcTools: the value and text conversions every step uses, so that what the
// tool writes into Orva is the same whichever step writes it.

#include "services/currency.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

namespace SvcTools {

// Right-aligned and blank-filled to width ("1" in 4 gives "   1"); a longer
// text comes back unchanged.
QString PadLeft(const QString &text, int width = 4);

// The value of a field, never Null: Null (or no value) gives an empty text.
QVariant FieldValue(const QVariant &field);

// The text form of a field's value; Null gives "".
QString FieldText(const QVariant &field);

// The text form of a value that must not be Null; Null raises the
// "invalid use of Null" run-time error naming what.
QString ValueText(const QVariant &value, const QString &what);

// The number a text stands for (leading and trailing blanks ignored, "."
// decimal separator); a text that is no number gives 0.
Currency ToCurrency(const QString &text);
double ToDouble(const QString &text);

// The text with every occurrence of each non-empty piece removed.
QString RemoveText(const QString &text, const QString &piece, const QString &piece2 = {}, const QString &piece3 = {});

// The folder with a trailing separator.
QString FolderPath(const QString &folder);

// A number or text as text (numbers in their shortest plain form).
QString NumberText(const QVariant &value);

} // namespace SvcTools

// --- Conversions the steps share -------------------------------------------

// The shortest plain decimal text of a number: no exponent, "." separator.
QString plainNumber(double value);

// The leading number of a text, 0 when there is none (" 5x" gives 5).
double numericValue(const QString &text);

// A value read as a currency amount: numbers directly, texts through their
// number; Null raises the "invalid use of Null" error naming what, a text that
// is no number raises a type-mismatch error naming what.
Currency currencyOf(const QVariant &value, const QString &what);
// The same for a double.
double doubleOf(const QVariant &value, const QString &what);

// Number format "0000", "00000000" ...: a text that reads as a number becomes
// its whole value (halves to even) with at least `digits` digits; a text that
// is no number is returned unchanged.
QString formatDigits(const QString &text, int digits);

// Nearest whole number, halves to even, as a 16-bit value would hold it.
qint16 toInt16(double value);

// Dates: "YYYY-MM-DD", or "YYYY-MM-DD HH:MM:SS" when the time is not midnight.
// A text that reads as a date or date-time is normalised; other texts come back as they are.
QString dateText(const QVariant &value);
// Reads a date ("YYYY-MM-DD", "YYYY/MM/DD", "DD/MM/YYYY", "DD-MM-YYYY",
// "DD/MM/YY"; day and month with or without their leading zero), optionally
// followed by a blank or "T" and a time ("HH:MM:SS", "HH:MM", seconds with a
// fraction). The result is in UTC, so midnight stays midnight in every time
// zone; invalid when the text is no date.
QDateTime parseDateTimeText(const QString &text);
// The date of a text as "YYYY-MM-DD" (the start-date format); the text itself
// when it is no date.
QString startDateText(const QString &text);

// Case-insensitive (Unicode-aware), untrimmed text equality.
bool sameText(const QString &a, const QString &b);
