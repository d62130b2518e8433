#include "reconcile/reconciliation.h"

#include <QHash>
#include <iterator>
#include <map>
#include <tuple>

namespace {

using DayKey = std::tuple<int, QDate, int>; // station, day, kind

// The name (JSON, CSV) and the title (table, window) of each verdict and
// problem, in the order of their enums.
struct Texts
{
    const char *name;
    const char *title;
};

constexpr Texts verdictTexts[] = {
    {"reconciled", "conciliado"},     {"not_readable", "no legible"},           {"missing", "faltan en Orva"},
    {"doubled", "duplicado en Orva"}, {"amounts_differ", "importes distintos"}, {"not_in_ktz", "en Orva, no en KTZ"},
};
static_assert(std::size(verdictTexts) == int(Verdict::NotInKtz) + 1);

constexpr Texts problemTexts[] = {
    {"missing", "falta en Orva"},         {"doubled", "duplicado en Orva"}, {"amount_differs", "importe distinto"},
    {"not_in_ktz", "en Orva, no en KTZ"}, {"not_readable", "no legible"},
};
static_assert(std::size(problemTexts) == int(Problem::NotReadable) + 1);

class DayTable
{
public:
    DayResult &at(int station, const QDate &day, ReconcileKind kind)
    {
        DayResult &row = m_rows[DayKey(station, day, int(kind))];
        row.station = station;
        row.day = day;
        row.kind = kind;
        return row;
    }

    QList<DayResult> rows() const
    {
        QList<DayResult> list;
        for (const auto &entry : m_rows) {
            DayResult row = entry.second;
            row.verdict = verdictOf(row.findings);
            list << row;
        }
        return list;
    }

private:
    std::map<DayKey, DayResult> m_rows;
};

// The finding of a KTZ document found in Orva, if there is one to report.
bool findingFor(const KtzDocument &doc, const OrvaDocument &orva, Finding *finding)
{
    finding->document = doc.name;
    finding->ktzTotal = doc.total;
    finding->orvaTotal = orva.total;
    if (orva.count > 1) {
        finding->problem = Problem::Doubled;
        return true;
    }
    if (orva.total != doc.total) {
        finding->problem = Problem::AmountDiffers;
        return true;
    }
    return false;
}

struct Owner
{
    int station = -1;
    ReconcileKind kind = ReconcileKind::Facturas;
};

// Who an Orva document without a KTZ document belongs to: the station and
// kind whose documents share its point of sale, when its day is one that
// station reconciles; otherwise the first station reconciling that day.
// Nobody (station -1) when a station of the pool could not be read: the
// document may be that station's.
Owner ownerOf(const OrvaDocument &orva, const QList<StationSide> &stations, const OrvaPool &pool,
              const QHash<QString, Owner> &byBranch)
{
    for (int s : pool.stations) {
        if (!stations[s].opened)
            return {};
    }
    const auto found = byBranch.constFind(orva.branch);
    if (found != byBranch.constEnd())
        return stations[found->station].kinds[int(found->kind)].range.contains(orva.day) ? *found : Owner{};
    for (int s : pool.stations) {
        if (stations[s].kinds[int(pool.kinds.first())].range.contains(orva.day))
            return {s, pool.kinds.first()};
    }
    return {};
}

// The first station and kind (in pass and kind order) using each point of sale.
QHash<QString, Owner> ownersByBranch(const QList<StationSide> &stations, const OrvaPool &pool)
{
    QHash<QString, Owner> owners;
    for (int s : pool.stations) {
        for (ReconcileKind kind : pool.kinds) {
            for (const KtzDocument &doc : stations[s].kinds[int(kind)].documents) {
                if (!owners.contains(doc.branch))
                    owners.insert(doc.branch, Owner{s, kind});
            }
        }
    }
    return owners;
}

void matchPool(const QList<StationSide> &stations, const OrvaPool &pool, DayTable &table)
{
    QHash<QString, int> byKey;
    for (int i = 0; i < pool.documents.size(); ++i)
        byKey.insert(pool.documents[i].key, i);
    QList<bool> claimed(pool.documents.size(), false);

    for (int s : pool.stations) {
        const StationSide &side = stations[s];
        if (!side.opened)
            continue;
        for (ReconcileKind kind : pool.kinds) {
            const KtzKind &k = side.kinds[int(kind)];
            for (const KtzDocument &doc : k.documents) {
                DayResult &row = table.at(side.station, doc.day, kind);
                ++row.ktzCount;
                row.ktzTotal = row.ktzTotal + doc.total;
                const int i = byKey.value(doc.key, -1);
                // A second KTZ document under an identity already claimed
                // found its place taken: the transfer took it for journalised.
                if (i < 0 || claimed[i]) {
                    row.findings << Finding{doc.name, Problem::Missing, doc.total, Currency(), {}};
                    continue;
                }
                claimed[i] = true;
                const OrvaDocument &orva = pool.documents[i];
                row.orvaCount += orva.count;
                row.orvaTotal = row.orvaTotal + orva.total;
                Finding finding;
                if (findingFor(doc, orva, &finding))
                    row.findings << finding;
            }
            for (const UnreadableRow &bad : k.unreadable) {
                table.at(side.station, bad.day, kind).findings
                    << Finding{bad.row, Problem::NotReadable, Currency(), Currency(), bad.reason};
                // Its Orva document is this row's, not one KTZ lacks.
                const int i = byKey.value(bad.key, -1);
                if (!bad.key.isEmpty() && i >= 0)
                    claimed[i] = true;
            }
        }
    }
    const QHash<QString, Owner> byBranch = ownersByBranch(stations, pool);
    for (int i = 0; i < pool.documents.size(); ++i) {
        if (claimed[i])
            continue;
        const OrvaDocument &orva = pool.documents[i];
        const Owner owner = ownerOf(orva, stations, pool, byBranch);
        if (owner.station < 0)
            continue;
        DayResult &row = table.at(stations[owner.station].station, orva.day, owner.kind);
        row.orvaCount += orva.count;
        row.orvaTotal = row.orvaTotal + orva.total;
        row.findings << Finding{orva.name, Problem::NotInKtz, Currency(), orva.total, {}};
    }
}

} // namespace

DayRange DayRange::united(const DayRange &other) const
{
    if (isEmpty())
        return other;
    if (other.isEmpty())
        return *this;
    return {qMin(from, other.from), qMax(to, other.to)};
}

QList<DayResult> matchDocuments(const QList<StationSide> &stations, const QList<OrvaPool> &pools)
{
    DayTable table;
    for (const OrvaPool &pool : pools) {
        if (pool.read)
            matchPool(stations, pool, table);
    }
    return table.rows();
}

Verdict verdictOf(const QList<Finding> &findings)
{
    static const std::pair<Problem, Verdict> order[] = {
        {Problem::NotReadable, Verdict::NotReadable}, {Problem::Missing, Verdict::Missing},
        {Problem::Doubled, Verdict::Doubled},         {Problem::AmountDiffers, Verdict::AmountsDiffer},
        {Problem::NotInKtz, Verdict::NotInKtz},
    };
    for (const auto &[problem, verdict] : order) {
        for (const Finding &f : findings) {
            if (f.problem == problem)
                return verdict;
        }
    }
    return Verdict::Reconciled;
}

QString kindName(ReconcileKind kind)
{
    switch (kind) {
    case ReconcileKind::Facturas:
        return QStringLiteral("facturas");
    case ReconcileKind::Cargas:
        return QStringLiteral("cargas");
    case ReconcileKind::Remitos:
        return QStringLiteral("remitos");
    }
    return {};
}

QString kindTitle(ReconcileKind kind)
{
    const QString name = kindName(kind);
    return name.left(1).toUpper() + name.mid(1);
}

QString verdictName(Verdict verdict)
{
    return QLatin1String(verdictTexts[int(verdict)].name);
}

QString verdictTitle(Verdict verdict)
{
    return QString::fromUtf8(verdictTexts[int(verdict)].title);
}

QString problemName(Problem problem)
{
    return QLatin1String(problemTexts[int(problem)].name);
}

QString problemTitle(Problem problem)
{
    return QString::fromUtf8(problemTexts[int(problem)].title);
}
