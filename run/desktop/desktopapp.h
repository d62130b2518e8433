#pragma once
// The desktop windows around a run: the main window, the progress window and
// the report.

#include "run/rundriver.h"

class Session;

// Shows the main window (the session is started) with the desktop operator's
// message boxes and returns when it is closed, with the exit code of its last
// run (0 when none ran). A QApplication must exist.
int runDesktop(Session &session, RunContext &context, RunDriver::Steps steps);
