#pragma once
// The run report: for each kind of data, how many records were written out
// of how many were read, and how many needed no change (the four lines, with
// their own formulas); below them the pass's status, an accounting per kind
// that adds up, and every record left out or failed.

#include "run/runaccount.h"
#include "run/runcontext.h"

#include <QList>
#include <QString>
#include <QStringList>

struct ReportLine
{
    QString text;
    bool bold = false;
};

struct RunReport
{
    QString title = QStringLiteral("Actualización Finalizada");
    ReportLine lines[TransferKindCount]; // articles, customers, sales, delivery notes
    QString footnote = QStringLiteral("(*) No se detectaron modificaciones.");
    int pass = 0;
    PassAccount account; // status, accounting, named records

    // The pass finished and named no record: the four lines say it all.
    bool clean() const { return account.status == RunStatus::Completed; }
    // "Estado: ..." with the reason of an interrupted pass.
    QString statusLine() const;
    // One line per ticked kind: read = written + unchanged + left out + failed + not reached.
    QStringList accountLines() const;
    // One line per record left out or failed.
    QStringList recordLines() const;
};

// The four lines from the counters and the boxes ticked when the report loads.
RunReport buildRunReport(const RunCounters &counters, const bool ticked[TransferKindCount]);

// The report's title for a pass's status: "Actualización Finalizada" only
// for a pass that finished.
QString reportTitle(RunStatus status);

// The name of a kind for people: "Artículos", "Clientes", "Ventas", "Remitos".
QString kindLabel(TransferKind kind);
