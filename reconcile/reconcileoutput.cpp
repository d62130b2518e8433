#include "reconcile/reconcileoutput.h"
#include "run/jsonfile.h"

#include <QJsonArray>

namespace {

QString day(const QDate &d)
{
    return d.toString(Qt::ISODate);
}

QString amount(Currency value)
{
    return value.toText();
}

QString statusTitle(ReconcileStatus status)
{
    switch (status) {
    case ReconcileStatus::Reconciled:
        return QStringLiteral("todo conciliado");
    case ReconcileStatus::Differences:
        return QStringLiteral("hay diferencias");
    case ReconcileStatus::NotFinished:
        break;
    }
    return QStringLiteral("no terminó");
}

QString findingLine(const Finding &f)
{
    QString line = QStringLiteral("      %1: %2").arg(f.document, problemTitle(f.problem));
    if (f.problem == Problem::NotReadable)
        return line + QStringLiteral(" (") + f.detail + QLatin1Char(')');
    return line + QStringLiteral(" (KTZ %1, Orva %2)").arg(amount(f.ktzTotal), amount(f.orvaTotal));
}

QJsonObject findingJson(const Finding &f)
{
    QJsonObject o{{QStringLiteral("document"), f.document},
                  {QStringLiteral("problem"), problemName(f.problem)},
                  {QStringLiteral("ktz_total"), f.ktzTotal.toDouble()},
                  {QStringLiteral("orva_total"), f.orvaTotal.toDouble()}};
    if (!f.detail.isEmpty())
        o.insert(QStringLiteral("detail"), f.detail);
    return o;
}

QJsonObject dayJson(const DayResult &d)
{
    QJsonArray documents;
    for (const Finding &f : d.findings)
        documents.append(findingJson(f));
    return {{QStringLiteral("station"), d.station},
            {QStringLiteral("date"), day(d.day)},
            {QStringLiteral("kind"), kindName(d.kind)},
            {QStringLiteral("ktz_count"), d.ktzCount},
            {QStringLiteral("orva_count"), d.orvaCount},
            {QStringLiteral("ktz_total"), d.ktzTotal.toDouble()},
            {QStringLiteral("orva_total"), d.orvaTotal.toDouble()},
            {QStringLiteral("verdict"), verdictName(d.verdict)},
            {QStringLiteral("documents"), documents}};
}

QString rangeText(const DayRange &range)
{
    if (range.isEmpty())
        return QStringLiteral("ningún día (nada transferido todavía)");
    return QStringLiteral("del %1 al %2").arg(day(range.from), day(range.to));
}

} // namespace

QString stationTitle(int station)
{
    return QStringLiteral("Estación %1").arg(station);
}

QString reconciledDaysText(const Reconciliation &r)
{
    QString out;
    for (const StationSide &s : r.stations)
        out += QStringLiteral("%1: %2.\n").arg(stationTitle(s.station), rangeText(s.kinds[0].range));
    return out;
}

QString reconciliationTable(const Reconciliation &r)
{
    QString out = reconciledDaysText(r) + QLatin1Char('\n');
    out += QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8\n")
               .arg(QStringLiteral("Est."), -4)
               .arg(QStringLiteral("Fecha"), -10)
               .arg(QStringLiteral("Clase"), -8)
               .arg(QStringLiteral("KTZ"), 6)
               .arg(QStringLiteral("Total KTZ"), 14)
               .arg(QStringLiteral("Orva"), 6)
               .arg(QStringLiteral("Total Orva"), 14)
               .arg(QStringLiteral("Resultado"));
    for (const DayResult &d : r.days) {
        out += QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8\n")
                   .arg(d.station, -4)
                   .arg(day(d.day), -10)
                   .arg(kindTitle(d.kind), -8)
                   .arg(d.ktzCount, 6)
                   .arg(amount(d.ktzTotal), 14)
                   .arg(d.orvaCount, 6)
                   .arg(amount(d.orvaTotal), 14)
                   .arg(verdictTitle(d.verdict));
        for (const Finding &f : d.findings)
            out += findingLine(f) + QLatin1Char('\n');
    }
    if (!r.notTransferable.isEmpty()) {
        out += QStringLiteral("\nNo transferibles (la transferencia los deja fuera):\n");
        for (const NotTransferable &n : r.notTransferable)
            out += QStringLiteral("%1  %2  %3  %4: %5\n")
                       .arg(n.station, -4)
                       .arg(day(n.day), -10)
                       .arg(kindTitle(n.kind), -8)
                       .arg(n.document, n.ruleText);
    }
    for (const QString &error : r.errors)
        out += QStringLiteral("\nError: ") + error + QLatin1Char('\n');
    int differing = 0;
    for (const DayResult &d : r.days)
        differing += d.verdict == Verdict::Reconciled ? 0 : 1;
    out += QStringLiteral("\nResultado: %1 (%2 de %3 días y clases con diferencias).\n")
               .arg(statusTitle(r.status))
               .arg(differing)
               .arg(r.days.size());
    return out;
}

QJsonObject reconciliationJson(const Reconciliation &r)
{
    QJsonArray days;
    for (const DayResult &d : r.days)
        days.append(dayJson(d));
    QJsonArray left;
    for (const NotTransferable &n : r.notTransferable)
        left.append(QJsonObject{{QStringLiteral("station"), n.station},
                                {QStringLiteral("date"), day(n.day)},
                                {QStringLiteral("kind"), kindName(n.kind)},
                                {QStringLiteral("document"), n.document},
                                {QStringLiteral("rule"), n.rule},
                                {QStringLiteral("detail"), n.ruleText}});
    return {{QStringLiteral("status"), statusName(r.status)},
            {QStringLiteral("days"), days},
            {QStringLiteral("not_transferable"), left},
            {QStringLiteral("errors"), QJsonArray::fromStringList(r.errors)}};
}

bool writeReconciliationJson(const Reconciliation &r, const QString &path, QString *error)
{
    return writeJsonFile(path, reconciliationJson(r), error);
}
