#pragma once
// The run report: for each kind of data, how many records were written out
// of how many were read, and how many needed no change.

#include "run/runcontext.h"

#include <QList>
#include <QString>

struct ReportLine
{
    QString text;
    bool bold = false;
};

struct RunReport
{
    QString title = QStringLiteral("Actualización Finalizada");
    ReportLine lines[TransferKindCount];  // articles, customers, sales, delivery notes
    QString footnote = QStringLiteral("(*) No se detectaron modificaciones.");
    int pass = 0;
};

// The four lines from the counters and the boxes ticked when the report loads.
RunReport buildRunReport(const RunCounters &counters, const bool ticked[TransferKindCount]);
