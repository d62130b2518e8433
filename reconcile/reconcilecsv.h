#pragma once
// The reconciliation as a CSV file for a spreadsheet: one line per station,
// day and kind, one more per named document, and the rows the transfer leaves
// out by rule. Fields are separated by ";" — the list separator of Spanish
// spreadsheets, whose decimal sign is the comma — and amounts carry the
// shortest decimal form with the decimal sign of the locale given (the
// desktop passes the system's), so the columns and the amounts open as such.

#include "reconcile/reconcilerun.h"

#include <QLocale>
#include <QString>
#include <QStringList>

// One CSV field: as it stands, or between double quotes (inner quotes
// doubled) when it holds the separator, a quote, a line break or blanks at
// either end.
QString csvField(const QString &text);

// An amount in its shortest decimal form ("13600", "7.8512", "-12.5") with
// locale's decimal sign and no thousands separator.
QString csvAmount(Currency value, const QLocale &locale);

// The whole file's text, lines ended by CR LF, with a header line.
QString reconciliationCsv(const Reconciliation &r, const QLocale &locale);

// Writes reconciliationCsv(r, locale) to path in UTF-8 with a byte-order mark
// (which the spreadsheets need to read "Estación" right), through a
// temporary file renamed into place. False with *error naming the path and
// the reason when it cannot be written; path is then untouched.
bool writeReconciliationCsv(const Reconciliation &r, const QLocale &locale, const QString &path, QString *error);
