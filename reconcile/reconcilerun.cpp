#include "reconcile/reconcilerun.h"
#include "reconcile/ktzside.h"
#include "reconcile/orvaside.h"
#include "run/exitcodes.h"
#include "run/sourceconnection.h"
#include "sales/voucheridentity.h"
#include "services/errors.h"
#include "services/sharedservices.h"
#include "services/svctools.h"
#include "session/session.h"

namespace {

QDate configuredDay(Session &session, const QString &key)
{
    const QString value = session.Cfg(key).trimmed();
    if (value.isEmpty())
        return {};
    const QDateTime dt = parseDateTimeText(value);
    return dt.isValid() ? dt.date() : QDate();
}

StationSide stationSide(Session &session, int pass, const ReconcileOptions &options)
{
    const QString suffix = pass == 0 ? QString() : QStringLiteral("2");
    StationSide side;
    side.station = pass;
    side.voucherType = voucherType(session, pass);
    const QDate from = options.from.isValid() ? options.from : configuredDay(session, QStringLiteral("KTZ_FECHADESDE"));
    if (!from.isValid()) {
        side.error = QStringLiteral("Estación %1: KTZ_FECHADESDE no es una fecha y no se indicó @Desde.").arg(pass);
        return side;
    }
    // The station's last stored date is the later of its two: the sales
    // date is that of the last fuel load, so invoices of later days may be
    // in Orva already.
    const QDate salesDate = configuredDay(session, QStringLiteral("KTZ_ULTIMAFECHA") + suffix);
    const QDate notesDate = configuredDay(session, QStringLiteral("KTZ_ULTIMAFECHA") + suffix + QStringLiteral("R"));
    const QDate lastStored = !salesDate.isValid() ? notesDate
        : !notesDate.isValid()                    ? salesDate
                                                  : qMax(salesDate, notesDate);
    const QDate to = options.to.isValid() ? options.to : lastStored;
    for (KtzKind &k : side.kinds)
        k.range = {from, to};
    return side;
}

void readStation(Session &session, StationSide &side)
{
    if (!side.error.isEmpty())
        return;
    SharedServices &svc = session.services();
    const QString suffix = side.station == 0 ? QString() : QStringLiteral("2");
    const QString text = ktzConnectionText(session, suffix);
    Connection ktz(svc.errors, QStringLiteral("ktz-conciliacion-%1").arg(side.station));
    if (!ktz.open(sourceConnectionSpec(text, svc.session.serverSettings().ktzCharset))) {
        // Named by its Database value: the text itself carries the password.
        side.error = QStringLiteral("No se pudo abrir la base de datos KTZ de la estación %1 (%2): %3")
                         .arg(side.station)
                         .arg(KtzConnectionText::parse(text).database, ktz.openError());
        return;
    }
    try {
        readKtzSide(ktz, side);
        side.opened = true;
    } catch (const RunTimeError &e) {
        side.error = QStringLiteral("No se pudo leer la base de datos KTZ de la estación %1: %2")
                         .arg(side.station)
                         .arg(e.error().text());
        for (KtzKind &k : side.kinds) {
            k.documents.clear();
            k.unreadable.clear();
        }
        side.notTransferable.clear();
    }
    ktz.close();
}

// The pools the stations write into: one journal per voucher type, one set of "RM" vouchers.
QList<OrvaPool> poolsOf(const QList<StationSide> &stations, QStringList *voucherTypes)
{
    QList<OrvaPool> pools;
    for (int s = 0; s < stations.size(); ++s) {
        const QString type = stations[s].voucherType.trimmed().toUpper();
        qsizetype i = voucherTypes->indexOf(type);
        if (i < 0) {
            voucherTypes->append(type);
            OrvaPool pool;
            pool.kinds = {ReconcileKind::Facturas, ReconcileKind::Cargas};
            pools << pool;
            i = pools.size() - 1;
        }
        pools[i].stations << s;
        pools[i].range = pools[i].range.united(stations[s].kinds[int(ReconcileKind::Facturas)].range);
    }
    OrvaPool notes;
    notes.kinds = {ReconcileKind::Remitos};
    for (int s = 0; s < stations.size(); ++s) {
        notes.stations << s;
        notes.range = notes.range.united(stations[s].kinds[int(ReconcileKind::Remitos)].range);
    }
    pools << notes;
    return pools;
}

void readPools(Session &session, const QList<StationSide> &stations, QList<OrvaPool> &pools,
               const QStringList &voucherTypes)
{
    Connection &orva = session.services().session.connection();
    for (int p = 0; p < pools.size(); ++p) {
        OrvaPool &pool = pools[p];
        try {
            if (p < voucherTypes.size())
                readSalesPool(orva, stations[pool.stations.first()].voucherType, pool);
            else
                readNotePool(orva, pool);
            pool.read = true;
        } catch (const RunTimeError &e) {
            pool.error =
                QStringLiteral("No se pudieron leer los %1 de Orva: %2")
                    .arg(p < voucherTypes.size() ? QStringLiteral("asientos de ventas") : QStringLiteral("remitos"),
                         e.error().text());
        }
    }
}

ReconcileStatus statusOf(const Reconciliation &r)
{
    if (!r.errors.isEmpty())
        return ReconcileStatus::NotFinished;
    for (const DayResult &day : r.days) {
        if (day.verdict != Verdict::Reconciled)
            return ReconcileStatus::Differences;
    }
    return ReconcileStatus::Reconciled;
}

QDate isoDate(const QString &text)
{
    return QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
}

} // namespace

Reconciliation reconcile(Session &session, const ReconcileOptions &options)
{
    SharedServices &svc = session.services();
    ErrorHandling::Scope named(svc.errors, QStringLiteral("Conciliacion"), ErrorHandling::Mode::NameOnly);
    Reconciliation r;
    r.stations << stationSide(session, 0, options);
    if (!session.Cfg(QStringLiteral("KTZ_BASEDEDATOS2")).trimmed().isEmpty())
        r.stations << stationSide(session, 1, options);
    for (StationSide &side : r.stations) {
        readStation(session, side);
        if (!side.error.isEmpty())
            r.errors << side.error;
        r.notTransferable << side.notTransferable;
    }
    QStringList voucherTypes;
    r.pools = poolsOf(r.stations, &voucherTypes);
    readPools(session, r.stations, r.pools, voucherTypes);
    for (const OrvaPool &pool : r.pools) {
        if (!pool.error.isEmpty())
            r.errors << pool.error;
    }
    r.days = matchDocuments(r.stations, r.pools);
    r.status = statusOf(r);
    for (const QString &error : r.errors)
        svc.log.error(error);
    svc.log.info(
        QStringLiteral("Conciliación: %1 días y clases, resultado %2.").arg(r.days.size()).arg(statusName(r.status)));
    return r;
}

int exitCodeOf(ReconcileStatus status)
{
    switch (status) {
    case ReconcileStatus::Reconciled:
        return ExitCompleted;
    case ReconcileStatus::Differences:
        return ExitCompletedWithOmissions;
    case ReconcileStatus::NotFinished:
        break;
    }
    return ExitNotFinished;
}

QString statusName(ReconcileStatus status)
{
    switch (status) {
    case ReconcileStatus::Reconciled:
        return QStringLiteral("reconciled");
    case ReconcileStatus::Differences:
        return QStringLiteral("differences");
    case ReconcileStatus::NotFinished:
        break;
    }
    return QStringLiteral("not_finished");
}

bool parseReconcileOptions(const QString &from, const QString &to, ReconcileOptions *options, QString *error)
{
    *options = ReconcileOptions();
    const std::pair<const QString &, QDate *> ends[] = {{from, &options->from}, {to, &options->to}};
    const char *names[] = {"@Desde", "@Hasta"};
    for (int i = 0; i < 2; ++i) {
        if (ends[i].first.trimmed().isEmpty())
            continue;
        *ends[i].second = isoDate(ends[i].first);
        if (!ends[i].second->isValid()) {
            *error = QStringLiteral("%1 no es una fecha AAAA-MM-DD: '%2'.").arg(QLatin1String(names[i]), ends[i].first);
            return false;
        }
    }
    if (options->from.isValid() && options->to.isValid() && options->to < options->from) {
        *error = QStringLiteral("@Hasta (%1) es anterior a @Desde (%2).")
                     .arg(options->to.toString(Qt::ISODate), options->from.toString(Qt::ISODate));
        return false;
    }
    return true;
}
