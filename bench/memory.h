#pragma once
// The process's resident memory, as the benchmark reads it (Linux).

// The resident memory now, in KiB (VmRSS); 0 when it cannot be read.
long residentKb();

// The highest resident memory so far, in KiB (getrusage ru_maxrss).
long peakResidentKb();

// Lowers the recorded peak to the resident memory now, so that the next
// peakResidentKb() covers only what follows. False when the system does not
// allow it: the peak then counts from the start of the process.
bool resetPeakResident();

// User and system time the process has used, in seconds.
double cpuSeconds();

// User and system time another process of this machine has used (a
// database server's process serving the benchmark), in seconds; -1 when it
// cannot be read.
double cpuSecondsOf(long pid);
