#pragma once
// A reconciliation of the configured stations (pass 0 and, when
// "KTZ_BASEDEDATOS2" is set, pass 1) against the open Orva session: each
// station's KTZ side, the Orva pools they write into, the matched days and
// the rows left out by rule. Reads both sides and writes nothing.

#include "reconcile/reconciliation.h"

#include <QStringList>

class Session;

enum class ReconcileStatus { Reconciled, Differences, NotFinished };

// The days asked for; an invalid end takes its default: from
// "KTZ_FECHADESDE", to the station's last stored date (the later of
// "KTZ_ULTIMAFECHA" and "KTZ_ULTIMAFECHAR", or of their pass-1 keys).
struct ReconcileOptions
{
    QDate from, to;
};

struct Reconciliation
{
    QList<StationSide> stations;
    QList<OrvaPool> pools;
    QList<DayResult> days;
    QList<NotTransferable> notTransferable;
    QStringList errors; // what kept the reconciliation from finishing
    ReconcileStatus status = ReconcileStatus::Reconciled;
};

// Reconciles the stations of session's configuration. A station that cannot
// be opened or read is named in errors and left out, the other is still
// reconciled; the status is then NotFinished.
Reconciliation reconcile(Session &session, const ReconcileOptions &options);

// The process exit code of a reconciliation: 0 reconciled, 3 differences, 1 not finished.
int exitCodeOf(ReconcileStatus status);
// "reconciled", "differences", "not_finished".
QString statusName(ReconcileStatus status);

// Reads "@Desde" / "@Hasta" values (YYYY-MM-DD, or empty for the default).
// False with *error set for a text that is no such date or an end before the start.
bool parseReconcileOptions(const QString &from, const QString &to, ReconcileOptions *options, QString *error);
