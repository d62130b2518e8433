#pragma once
// What a reconciliation shows: the table printed on standard output, the
// JSON document of "@Informe" (the CSV of the window is in reconcilecsv.h).

#include "reconcile/reconcilerun.h"

#include <QJsonObject>
#include <QString>

// Which days each station was reconciled for, a line each
// ("Estación 0: del 2026-03-01 al 2026-03-04.").
QString reconciledDaysText(const Reconciliation &r);

// The table: one line per station, day and kind with both counts and
// totals and the verdict, the named documents under each day with a
// problem, then the rows left out by rule, the errors and the result.
QString reconciliationTable(const Reconciliation &r);

// The JSON document: status, days (station, date, kind, counts, totals,
// verdict, documents), not_transferable and errors.
QJsonObject reconciliationJson(const Reconciliation &r);

// Writes the JSON document to path atomically (run/jsonfile). False with
// *error set when it cannot be written (path is then untouched).
bool writeReconciliationJson(const Reconciliation &r, const QString &path, QString *error);

// "Estación 0" / "Estación 1".
QString stationTitle(int station);
