#pragma once
// The reconciliation's figure: a month of a large station (about 50,000
// documents) transferred into Orva by the real steps, then reconciled
// read-only as "@ParametroAdicional=Conciliar;" does, timed, with the
// statements it sent to Orva counted.

#include <QString>

struct ReconcileBenchOptions
{
    double scale = 3.332; // 33,320 invoices, 15,027 fuel loads, 1,666 delivery notes
    bool postgresql = false;
    QString serversDir; // with postgresql: the folder of scripts/servers/start.sh
    bool keep = false;
};

// Generates the station and its Orva in folder, transfers the month,
// reconciles it and prints the figures and their targets. Returns whether
// the targets were met; false with a message on standard error when the
// databases cannot be made or opened.
bool measureReconciliation(const ReconcileBenchOptions &options, const QString &folder);
