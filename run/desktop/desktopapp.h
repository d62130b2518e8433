#pragma once
// The desktop windows around a run: the main window, the progress window and
// the report. Returns the program's exit status.

#include "run/rundriver.h"

class Session;

int runDesktop(Session &session, RunContext &context, RunDriver::Steps steps);
