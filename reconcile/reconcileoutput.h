#pragma once
// What a reconciliation shows: the table printed on standard output, the
// JSON document of "@Informe" and the CSV export of the window.

#include "reconcile/reconcilerun.h"

#include <QJsonObject>
#include <QString>

// The table: one line per station, day and kind with both counts and
// totals and the verdict, the named documents under each day with a
// problem, then the rows left out by rule, the errors and the result.
QString reconciliationTable(const Reconciliation &r);

// The JSON document: status, days (station, date, kind, counts, totals,
// verdict, documents), not_transferable and errors.
QJsonObject reconciliationJson(const Reconciliation &r);

// Writes the JSON document to path through a temporary file in the same
// folder renamed into place, so a reader never sees half a document. False
// with *error set when it cannot be written (path is then untouched).
bool writeReconciliationJson(const Reconciliation &r, const QString &path, QString *error);

// The CSV text: a header line, then one line per day and, for a day with
// problems, one per named document (comma-separated, texts quoted).
QString reconciliationCsv(const Reconciliation &r);

// "Estación 0" / "Estación 1".
QString stationTitle(int station);
