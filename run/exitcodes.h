#pragma once
// The process's exit codes: one table for every way a run can end, shared by
// the transfer, the reconciliation, the help text and the README.

#include <QString>

enum ExitCode : int {
    ExitCompleted = 0,              // finished and nothing left out (a reconciliation: everything reconciles)
    ExitNotFinished = 1,            // abandoned after an error, cancelled, stopped by a signal, connection lost
    ExitNoOrva = 2,                 // the Orva database could not be opened (missing, not a database, refused)
    ExitCompletedWithOmissions = 3, // finished, records left out and named (a reconciliation: differences found)
    ExitUsage = 64,                 // a command-line error
    ExitLocked = 75,                // another run holds the lock
};

// The table as the help text prints it: one line a code, "  0  ...".
QString exitCodeTable();
