#include "bench/reconcilebench.h"
#include "bench/benchdata.h"
#include "bench/benchrun.h"
#include "bench/memory.h"
#include "bench/orvaserver.h"
#include "reconcile/reconcilerun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace {

// A month reconciles "in seconds": the bound the figure is held to.
constexpr double maxSeconds = 30;
// Statements the reconciliation sends to Orva, whatever the number of
// documents: the start-up's configuration reads and one grouped statement
// per pool. One lookup per document would be tens of thousands.
constexpr qint64 maxOrvaReads = 200;

bool target(bool met, const QString &text)
{
    std::printf("  [%s] %s\n", met ? "ok" : "MISSED", qPrintable(text));
    return met;
}

// The load averages of /proc/loadavg ("8.42 8.07 6.20"), for the figures.
QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

} // namespace

bool measureReconciliation(const ReconcileBenchOptions &options, const QString &folder)
{
    QDir().mkpath(folder);
    const BenchSize size = BenchSize::ofScale(options.scale);
    const int documents = size.invoices + size.loads + size.notes;
    std::printf("Reconciliation, scale %g: one station, March 2026, %d invoices, %d fuel loads, %d delivery notes "
                "(%d documents)\n",
                options.scale, size.invoices, size.loads, size.notes, documents);
    const QString ktzPath = folder + QStringLiteral("/ktz.db");
    OrvaTarget orva;
    OrvaServer server;
    QString error;
    bool made = createKtzDatabase(ktzPath, size, &error);
    if (made && options.postgresql) {
        made = server.load(options.serversDir, &error) && server.createOrva(ktzPath, &orva, &error);
    } else if (made) {
        orva.path = folder + QStringLiteral("/orva.db");
        made = createOrvaDatabase(orva.path, ktzPath, &error);
    }
    if (!made) {
        std::fprintf(stderr, "cannot generate the databases: %s\n", qPrintable(error));
        return false;
    }
    std::printf("Orva: %s\n", qPrintable(orva.describe()));

    QElapsedTimer timer;
    timer.start();
    {
        BenchSession transfer(folder + QStringLiteral("/transfer"), orva);
        QDir().mkpath(folder + QStringLiteral("/transfer"));
        if (!transfer.open(&error)) {
            std::fprintf(stderr, "cannot open Orva: %s\n", qPrintable(error));
            return false;
        }
        if (transfer.run().outcome != RunOutcome::Finished) {
            std::fprintf(stderr, "the transfer of the month did not finish: %s\n", qPrintable(transfer.logPath()));
            return false;
        }
    }
    std::printf("  transferred by the real steps in %.1f s\n", double(timer.elapsed()) / 1000);

    QDir().mkpath(folder + QStringLiteral("/reconcile"));
    BenchSession check(folder + QStringLiteral("/reconcile"), orva);
    check.setReadOnly(true);
    if (!check.open(&error)) {
        std::fprintf(stderr, "cannot open Orva read-only: %s\n", qPrintable(error));
        return false;
    }
    const StatementCounts before = check.orvaCounts();
    const QString loadBefore = loadAverage();
    const double cpuBefore = cpuSeconds();
    timer.restart();
    const Reconciliation r = reconcile(check.session(), ReconcileOptions());
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    const StatementCounts after = check.orvaCounts();
    int ktzDocuments = 0, reconciled = 0;
    for (const DayResult &day : r.days) {
        ktzDocuments += day.ktzCount;
        reconciled += day.verdict == Verdict::Reconciled ? day.ktzCount : 0;
    }
    const qint64 reads = after.reads - before.reads;
    std::printf("  %lld days and kinds, %d documents reconciled (%lld left out by rule) in %.2f s (%.2f CPU s): "
                "%.0f documents/s; %lld statements to Orva; load average %s before, %s after\n",
                qlonglong(r.days.size()), reconciled, qlonglong(r.notTransferable.size()), seconds, cpu,
                seconds > 0 ? reconciled / seconds : 0.0, reads, qPrintable(loadBefore), qPrintable(loadAverage()));
    for (const QString &e : r.errors)
        std::printf("  error: %s\n", qPrintable(e));

    bool ok = target(r.status == ReconcileStatus::Reconciled && reconciled == ktzDocuments
                         && ktzDocuments + int(r.notTransferable.size()) == documents,
                     QStringLiteral("every document of the month is accounted for and reconciles (%1 of %2)")
                         .arg(reconciled + r.notTransferable.size())
                         .arg(documents));
    ok &= target(after.writes == before.writes && after.transactions == before.transactions,
                 QStringLiteral("the reconciliation writes nothing to Orva"));
    ok &= target(reads <= maxOrvaReads,
                 QStringLiteral("%1 Orva statements <= %2, however many documents").arg(reads).arg(maxOrvaReads));
    ok &= target(seconds < maxSeconds, QStringLiteral("the month reconciles in under %1 s").arg(maxSeconds));
    if (options.postgresql && !options.keep)
        server.dropAll();
    return ok;
}
