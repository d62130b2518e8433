// traspasor-bench: generates a KTZ database of a chosen size and an Orva
// database pointed at it, runs the unattended transfer twice (the second
// time every document is in Orva already) and prints, per step, the records,
// the seconds and the resident memory. Exits 1 when a target is missed.

#include "bench/benchdata.h"
#include "bench/benchrun.h"
#include "bench/memory.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Target: the resident memory a run adds to what the process held after
// start-up stays under a bound that does not depend on the number of
// documents, since each document is read, written and forgotten.
constexpr long maxGrowthKb = 12 * 1024;

double mb(long kb)
{
    return double(kb) / 1024;
}

void printRun(const char *title, const RunMeasure &run, long startupKb)
{
    std::printf("\n%s\n", title);
    std::printf("  %-20s %8s %8s %9s %10s %12s\n", "step", "records", "written", "seconds", "records/s", "peak RSS MB");
    for (const StepMeasure &s : run.steps)
        std::printf("  %-20s %8lld %8lld %9.2f %10.0f %12.1f\n", qPrintable(s.name), s.read, s.written, s.seconds,
                    s.seconds > 0 ? double(s.read) / s.seconds : 0.0, mb(s.peakKb));
    std::printf("  %-20s %8s %8s %9.2f\n", "total", "", "", run.seconds);
    std::printf("  RSS before the run %.1f MB, peak during the run %.1f MB%s: %.1f MB above start-up\n",
                mb(run.startKb), mb(run.peakKb), run.peakOfRun ? "" : " (peak since process start)",
                mb(run.peakKb - startupKb));
}

const StepMeasure *stepNamed(const RunMeasure &run, const char *name)
{
    for (const StepMeasure &s : run.steps)
        if (s.name == QLatin1String(name))
            return &s;
    return nullptr;
}

// Prints one target line; returns whether it was met.
bool target(bool met, const QString &text)
{
    std::printf("  [%s] %s\n", met ? "ok" : "MISSED", qPrintable(text));
    return met;
}

bool checkTargets(const RunMeasure &first, const RunMeasure &second, long startupKb)
{
    std::printf("\nTargets\n");
    bool ok = true;
    ok &= target(first.outcome == RunOutcome::Finished && first.steps.size() == 4, QStringLiteral("run 1 finished"));
    ok &= target(second.outcome == RunOutcome::Finished && second.steps.size() == 4, QStringLiteral("run 2 finished"));
    const StepMeasure *sales = stepNamed(second, "ActualizaVentas");
    const StepMeasure *notes = stepNamed(second, "ActualizaRemitos");
    ok &= target(sales && notes && sales->written == 0 && notes->written == 0,
                 QStringLiteral("run 2 writes no journal line and no delivery note (%1, %2)")
                     .arg(sales ? sales->written : -1)
                     .arg(notes ? notes->written : -1));
    for (const RunMeasure *run : {&first, &second}) {
        const long growthKb = run->peakKb - startupKb;
        ok &= target(growthKb < maxGrowthKb, QStringLiteral("run %1: peak RSS %2 MB above start-up < %3 MB")
                                                 .arg(run == &first ? 1 : 2)
                                                 .arg(mb(growthKb), 0, 'f', 1)
                                                 .arg(mb(maxGrowthKb), 0, 'f', 0));
    }
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measures the unattended transfer on generated databases."));
    parser.addHelpOption();
    const QCommandLineOption scaleOption(QStringLiteral("scale"),
                                         QStringLiteral("Size: N×1000 articles and invoices, N×200 customers, "
                                                        "N×500 fuel loads, N×100 delivery notes (default 1)."),
                                         QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption keepOption(QStringLiteral("keep"), QStringLiteral("Keep the databases and the log."));
    parser.addOption(scaleOption);
    parser.addOption(keepOption);
    parser.process(app);
    bool valid = false;
    const int scale = parser.value(scaleOption).toInt(&valid);
    if (!valid || scale < 1 || scale > 49) {
        std::fprintf(stderr, "--scale must be a whole number from 1 to 49\n");
        return 64;
    }

    QTemporaryDir dir;
    dir.setAutoRemove(!parser.isSet(keepOption));
    const QString ktzPath = dir.filePath(QStringLiteral("ktz.db"));
    const QString orvaPath = dir.filePath(QStringLiteral("orva.db"));
    const BenchSize size = BenchSize::ofScale(scale);
    std::printf("Scale %d: %d articles, %d customers, %d invoices, %d fuel loads, %d delivery notes\n", scale,
                size.articles, size.customers, size.invoices, size.loads, size.notes);

    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!createKtzDatabase(ktzPath, size, &error) || !createOrvaDatabase(orvaPath, ktzPath, &error)) {
        std::fprintf(stderr, "cannot generate the databases: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("Databases generated in %.2f s (%s)\n", double(timer.elapsed()) / 1000, qPrintable(dir.path()));

    BenchSession bench(dir.path(), orvaPath);
    if (!bench.open(&error)) {
        std::fprintf(stderr, "cannot open Orva: %s\n", qPrintable(error));
        return 1;
    }
    const long startupKb = residentKb();
    std::printf("RSS after start-up %.1f MB\n", mb(startupKb));

    const RunMeasure first = bench.run();
    printRun("Run 1: first transfer", first, startupKb);
    bench.forgetDates();
    const RunMeasure second = bench.run();
    printRun("Run 2: the same month again, every document already in Orva", second, startupKb);

    const bool ok = checkTargets(first, second, startupKb);
    if (!ok || parser.isSet(keepOption))
        std::printf("\nThe log: %s\n", qPrintable(bench.logPath()));
    if (!ok)
        dir.setAutoRemove(false);
    return ok ? 0 : 1;
}
