#include "run/runreport.h"

#include <cmath>

namespace {

ReportLine counted(const QString &label, qint64 updated, qint64 total, qint64 unchanged)
{
    return {label + QStringLiteral(": %1 de %2 (%3*)").arg(updated).arg(total).arg(unchanged), true};
}

} // namespace

RunReport buildRunReport(const RunCounters &c, const bool ticked[TransferKindCount])
{
    RunReport r;
    r.lines[0] = ticked[0] ? counted(QStringLiteral("Artículos Actualizados"), c.CantArtAct, c.CantArt, qint64(c.CantArt) - c.CantArtAct)
                           : ReportLine{QStringLiteral("Artículos: No se realizó la Actualización"), false};
    // Customers count two statements each: only the quotient is truncated.
    const qint64 customers = c.CantCliAct / 2;
    r.lines[1] = ticked[1] ? counted(QStringLiteral("Clientes Actualizados"), customers, c.CantCli, c.CantCli - customers)
                           : ReportLine{QStringLiteral("Clientes: No se realizó la Actualización"), false};
    // Sales count four journal lines each: the whole difference is truncated.
    const qint64 sales = c.CantVenAct / 4;
    const qint64 salesUnchanged = static_cast<qint64>(std::trunc(double(c.CantVen) - double(c.CantVenAct) / 4.0));
    r.lines[2] = ticked[2] ? counted(QStringLiteral("Ventas Actualizadas"), sales, c.CantVen, salesUnchanged)
                           : ReportLine{QStringLiteral("Ventas: No se realizó la Actualización"), false};
    r.lines[3] = ticked[3] ? counted(QStringLiteral("Remitos Actualizados"), c.CantRMAct, c.CantRM, qint64(c.CantRM) - c.CantRMAct)
                           : ReportLine{QStringLiteral("Remitos: No se realizó la Actualización"), false};
    return r;
}
