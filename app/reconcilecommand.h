#pragma once
// The reconciliation started from the command line
// ("@ParametroAdicional=Conciliar;"): opens Orva read-only, reconciles the
// stations of its configuration, prints the table on standard output and,
// with "@Informe=path;", writes the JSON document.

#include <QString>

// Runs it; returns the exit code: 0 everything reconciles, 3 differences
// found, 1 not finished (a station or Orva could not be read, the JSON
// document could not be written), 2 Orva not opened, 64 a bad @Desde/@Hasta.
int runReconciliation(const QString &commandLine);
