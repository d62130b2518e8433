// Shows one window of the tool with sample content, for the screenshots of
// the documentation: window_gallery frmactktz|frmstatus|frminfoktz|frmconciliacion. Prints
// the window's frame on the screen ("x y width height") once it is up and
// closes by itself after a few seconds.

#include "run/desktop/frmactktz.h"
#include "run/desktop/frmconciliacion.h"
#include "run/desktop/frminfoktz.h"
#include "run/desktop/frmstatus.h"
#include "services/sharedservices.h"
#include "session/desktop/preparaventana.h"
#include "session/session.h"

#include <QApplication>
#include <QCheckBox>
#include <QTableWidget>
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

// The reconciliation of the demo stations after four changes in Orva (what
// the program finds there: tests/run/tst_reconcilewindow).
Reconciliation sampleReconciliation()
{
    auto money = [](double v) { return Currency::fromDouble(v); };
    auto day = [](int d) { return QDate(2026, 3, d); };
    using K = ReconcileKind;
    Reconciliation r;
    for (int station = 0; station < 2; ++station) {
        StationSide side;
        side.station = station;
        side.opened = true;
        for (KtzKind &k : side.kinds)
            k.range = {day(1), day(4)};
        r.stations << side;
    }
    r.status = ReconcileStatus::Differences;
    const auto same = [&](int station, int d, K kind, int count, double total) {
        return DayResult{station, day(d), kind, count, count, money(total), money(total), Verdict::Reconciled, {}};
    };
    r.days = {
        {0,
         day(2),
         K::Facturas,
         2,
         1,
         money(95600),
         money(31800),
         Verdict::Missing,
         {{QStringLiteral("FA 0005-00001235 B, asiento 1002"), Problem::Missing, money(63800), money(0), {}}}},
        {0,
         day(2),
         K::Cargas,
         3,
         4,
         money(24739.82),
         money(35115.92),
         Verdict::Doubled,
         {{QStringLiteral("FA 0003-00080213 B, asiento 1003"), Problem::Doubled, money(10376.1), money(20752.2), {}}}},
        same(0, 2, K::Remitos, 1, 62700),
        same(0, 3, K::Facturas, 2, 273100),
        same(0, 3, K::Cargas, 3, 23808.45),
        {0,
         day(3),
         K::Remitos,
         1,
         1,
         money(13600),
         money(13000),
         Verdict::AmountsDiffer,
         {{QStringLiteral("RM 0001-00000042 R"), Problem::AmountDiffers, money(13600), money(13000), {}}}},
        same(0, 4, K::Facturas, 2, 51000),
        same(0, 4, K::Cargas, 1, 7830.36),
        same(0, 4, K::Remitos, 1, 65200),
        {1,
         day(3),
         K::Facturas,
         1,
         2,
         money(37500),
         money(75000),
         Verdict::NotInKtz,
         {{QStringLiteral("FA 0007-00000999 A, asiento 1999"), Problem::NotInKtz, money(0), money(37500), {}}}},
        same(1, 3, K::Cargas, 2, 14591.39),
        same(1, 4, K::Facturas, 1, 10800),
        same(1, 4, K::Remitos, 1, 55400),
    };
    const QString number = QStringLiteral("número 0: sólo se transfieren números mayores que 0");
    r.notTransferable = {
        {0, day(4), K::Facturas, QStringLiteral("factura 1007 (punto de venta 5, número 15, letra C)"),
         QStringLiteral("letter"), QStringLiteral("letra 'C': sólo se transfieren facturas A y B")},
        {0, day(4), K::Facturas, QStringLiteral("factura 1008 (punto de venta 5, número 0, letra B)"),
         QStringLiteral("number"), number},
        {0, day(4), K::Cargas, QStringLiteral("carga 1008 (tipo 3, número 0)"), QStringLiteral("number"), number},
    };
    return r;
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
    if (which == QLatin1String("frmconciliacion")) {
        FrmConciliacion window(session, &main);
        window.setWindowIcon(main.windowIcon());
        window.mostrar(sampleReconciliation());
        window.chkTodos->setChecked(true);
        window.grdDias->clearSelection();
        announce(window);
        return QApplication::exec();
    }
    main.chkArticulos->setChecked(true);
    main.chkVentas->setChecked(true);
    announce(main);
    return QApplication::exec();
}
