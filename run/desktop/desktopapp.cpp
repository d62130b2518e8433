#include "run/desktop/desktopapp.h"
#include "run/desktop/desktopoperator.h"
#include "run/desktop/frmactktz.h"
#include "run/desktop/spanishqttexts.h"
#include "run/stopsignals.h"
#include "services/sharedservices.h"
#include "session/session.h"

#include <QApplication>

int runDesktop(Session &session, RunContext &context, RunDriver::Steps steps)
{
    SharedServices &services = session.services();
    if (!installSpanishQtTexts())
        services.log.warning(QStringLiteral("No están las traducciones de Qt al castellano (paquete "
                                            "qt6-translations-l10n): los botones de Qt quedan en inglés."));
    Operator *previous = services.operatorUi();
    // Unattended runs keep the operator they were given: nobody answers a box.
    const bool unattended = session.parameters.unattended();
    DesktopOperator desktopOperator;
    if (!unattended)
        services.setOperator(&desktopOperator);

    int status = 0;
    {
        FrmActKTZ window(session, context, steps);
        window.Form_Load();
        // The program ends with the exit code of its last run.
        if (!unattended && !StopSignals::received())
            QApplication::exec();
        status = window.lastExitCode();
    }
    services.setOperator(previous);
    return status;
}
