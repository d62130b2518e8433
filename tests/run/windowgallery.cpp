// Shows one window of the tool with sample content, for the screenshots of
// the documentation: window_gallery frmactktz|frmstatus|frminfoktz. Prints
// the window's frame on the screen ("x y width height") once it is up and
// closes by itself after a few seconds.

#include "run/desktop/frmactktz.h"
#include "run/desktop/frminfoktz.h"
#include "run/desktop/frmstatus.h"
#include "services/sharedservices.h"
#include "session/desktop/preparaventana.h"
#include "session/session.h"

#include <QApplication>
#include <QCheckBox>
#include <QTimer>
#include <cstdio>

namespace {

void announce(QWidget &window)
{
    window.move(40, 40);
    window.show();
    QTimer::singleShot(800, &window, [&window] {
        const QRect frame = window.frameGeometry();
        std::printf("%d %d %d %d\n", frame.x(), frame.y(), frame.width(), frame.height());
        std::fflush(stdout);
    });
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("frmactktz");
    SharedServices services;
    Session session(services);
    RunContext context(session);
    FrmActKTZ main(session, context, {});
    PreparaVentana(main, session);
    QTimer::singleShot(6000, &app, &QApplication::quit);

    if (which == QLatin1String("frmstatus")) {
        FrmStatus status(context, &main);
        status.setWindowIcon(main.windowIcon());
        context.progress.setView(&status);
        context.progress.begin(QStringLiteral("Actualizando Ventas"));
        context.progress.counted(120);
        for (int i = 0; i < 37; ++i)
            context.progress.tick();
        announce(status);
        return QApplication::exec();
    }
    if (which == QLatin1String("frminfoktz")) {
        RunCounters c;
        c.CantArt = 42;
        c.CantArtAct = 5;
        c.CantCli = 18;
        c.CantCliAct = 6;
        c.CantVen = 120;
        c.CantVenAct = 440;
        const bool ticked[TransferKindCount] = {true, true, true, false};
        FrmInfoKTZ report(buildRunReport(c, ticked));
        report.setWindowIcon(main.windowIcon());
        announce(report);
        return QApplication::exec();
    }
    main.chkArticulos->setChecked(true);
    main.chkVentas->setChecked(true);
    announce(main);
    return QApplication::exec();
}
