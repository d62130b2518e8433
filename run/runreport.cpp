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
    r.account.status = RunStatus::Completed;
    r.lines[0] = ticked[0]
        ? counted(QStringLiteral("Artículos Actualizados"), c.CantArtAct, c.CantArt, qint64(c.CantArt) - c.CantArtAct)
        : ReportLine{QStringLiteral("Artículos: No se realizó la Actualización"), false};
    // Customers count two statements each: only the quotient is truncated.
    const qint64 customers = c.CantCliAct / 2;
    r.lines[1] = ticked[1]
        ? counted(QStringLiteral("Clientes Actualizados"), customers, c.CantCli, c.CantCli - customers)
        : ReportLine{QStringLiteral("Clientes: No se realizó la Actualización"), false};
    // Sales count four journal lines each: the whole difference is truncated.
    const qint64 sales = c.CantVenAct / 4;
    const qint64 salesUnchanged = static_cast<qint64>(std::trunc(double(c.CantVen) - double(c.CantVenAct) / 4.0));
    r.lines[2] = ticked[2] ? counted(QStringLiteral("Ventas Actualizadas"), sales, c.CantVen, salesUnchanged)
                           : ReportLine{QStringLiteral("Ventas: No se realizó la Actualización"), false};
    r.lines[3] = ticked[3]
        ? counted(QStringLiteral("Remitos Actualizados"), c.CantRMAct, c.CantRM, qint64(c.CantRM) - c.CantRMAct)
        : ReportLine{QStringLiteral("Remitos: No se realizó la Actualización"), false};
    return r;
}

QString reportTitle(RunStatus status)
{
    switch (status) {
    case RunStatus::Completed:
    case RunStatus::CompletedWithOmissions:
        return QStringLiteral("Actualización Finalizada");
    case RunStatus::Cancelled:
        return QStringLiteral("Actualización Cancelada");
    case RunStatus::Abandoned:
        return QStringLiteral("Actualización Abandonada");
    case RunStatus::ConnectionLost:
        return QStringLiteral("Actualización Interrumpida");
    case RunStatus::NotStarted:
        return QStringLiteral("Actualización No Iniciada");
    }
    return QString();
}

QString kindLabel(TransferKind kind)
{
    static const char *const labels[TransferKindCount] = {"Artículos", "Clientes", "Ventas", "Remitos"};
    return QString::fromUtf8(labels[int(kind)]);
}

QString RunReport::statusLine() const
{
    QString line = QStringLiteral("Estado: ") + statusText(account.status);
    if (!account.reason.isEmpty())
        line += QStringLiteral(" (") + account.reason + QLatin1Char(')');
    return line;
}

QStringList RunReport::accountLines() const
{
    QStringList out;
    for (int k = 0; k < TransferKindCount; ++k) {
        const KindAccount &a = account.kinds[k];
        if (!a.selected)
            continue;
        out << QStringLiteral(
                   "%1: %2 leídos = %3 grabados + %4 sin cambios + %5 omitidos + %6 fallidos + %7 no alcanzados")
                   .arg(kindLabel(TransferKind(k)))
                   .arg(a.read())
                   .arg(a.written)
                   .arg(a.unchanged)
                   .arg(a.leftOut)
                   .arg(a.failed)
                   .arg(a.notReached());
    }
    return out;
}

QStringList RunReport::recordLines() const
{
    QStringList out;
    for (const KindAccount &a : account.kinds) {
        for (const RecordProblem &p : a.records)
            out << QStringLiteral("%1: %2 [%3] %4")
                       .arg(p.problem == ProblemKind::LeftOut ? QStringLiteral("Omitido") : QStringLiteral("Fallido"),
                            p.record, p.step, p.reason);
    }
    return out;
}
