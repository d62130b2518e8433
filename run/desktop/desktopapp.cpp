#include "run/desktop/desktopapp.h"

#include <cstdio>

// Placeholder until the windows land.
int runDesktop(Session &, RunContext &, RunDriver::Steps)
{
    std::fputs("Las ventanas todavía no están disponibles; use @ParametroAdicional=DesdeTimer;\n", stderr);
    return 2;
}
