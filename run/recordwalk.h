#pragma once
// The record loop of the steps that write statement by statement (articles,
// customers): status text, count, then per source row a yield, the stop
// test, the row's work, the move to the next row and one progress tick.

#include "run/runcontext.h"
#include "services/recordset.h"

#include <functional>

// Walks the rows of sql on the pass's KTZ database as above. counted receives
// the number of rows, and only when there are rows; the rows are walked
// forward twice (count, then work), never held in memory. perRow must not
// move the recordset. A stop request ends the walk with RunCancelled. Every
// row is one record of kind for the run's accounting: perRow tells the tally
// what became of it (written, unchanged) and names it through the record of
// the error handling.
void walkSourceRows(RunContext &context, TransferKind kind, const QString &status, const QString &sql, qint32 &counted,
                    const std::function<void(const Recordset &)> &perRow);
