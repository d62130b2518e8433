#pragma once
// The machine-readable report of a run ("@Informe=path;"): one JSON object
// whose field names and values are a contract for schedulers and monitoring.

#include "run/runaccount.h"

#include <QJsonObject>

QJsonObject runAccountJson(const RunAccount &run);

// The keys of the kinds in the report, in the order of the kinds.
QString kindKey(int kind);

// Writes the report to path when path is not empty. A report that cannot be
// written is said on standard error and in the log; the run's own exit code
// stays. Returns false then.
class Log;
bool writeRunReport(const QString &path, const RunAccount &run, Log &log);
