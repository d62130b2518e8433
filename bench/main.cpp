// traspasor-bench: generates a KTZ database of a chosen size and an Orva
// database pointed at it, runs the unattended transfer three times (the
// first transfer; the next scheduled run, which starts from the dates
// reached; a run over the whole month again, every document already in
// Orva) and prints, per step, the records, the seconds, the statements and
// the resident memory. With --replay it also replays the first run's writes
// into a fresh copy of Orva. Several scales and journal settings can be
// measured in one call and are compared at the end. Exits 1 when a
// correctness or memory target is missed. With --reconcile it measures the
// reconciliation of a transferred month instead (bench/reconcilebench.h).

#include "bench/benchdata.h"
#include "bench/benchrun.h"
#include "bench/memory.h"
#include "bench/orvaserver.h"
#include "bench/reconcilebench.h"
#include "bench/replay.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QUuid>
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

// Orva statements per document of a step filled into text: the total, then
// reads, writes, transaction verbs, savepoints and preparations (a shape
// prepared on the PostgreSQL server, its placeholders' types, a prepared run
// refused).
QString byKind(const QString &text, const StepMeasure *s)
{
    const double n = double(s->read);
    return text.arg(double(s->orva.total()) / n, 0, 'f', 1)
        .arg(double(s->orva.reads) / n, 0, 'f', 1)
        .arg(double(s->orva.writes) / n, 0, 'f', 1)
        .arg(double(s->orva.transactions) / n, 0, 'f', 1)
        .arg(double(s->orva.savepoints) / n, 0, 'f', 1)
        .arg(double(s->orva.preparations) / n, 0, 'f', 1);
}

// CPU seconds of the Orva server's process, scaled, or "-" when not measured.
QString serverCpu(double seconds, double factor, int decimals)
{
    return seconds < 0 ? QStringLiteral("-") : QString::number(seconds * factor, 'f', decimals);
}

// Per document of a step: Orva statements by kind, then the KTZ reads.
QString perDocument(const StepMeasure *s)
{
    if (!s || s->read == 0)
        return QStringLiteral("-");
    const double n = double(s->read);
    return byKind(QStringLiteral("%1 (%2 R, %3 W, %4 T, %5 S, %6 P) + %7 KTZ"), s)
        .arg(double(s->ktz.total()) / n, 0, 'f', 1);
}

void printRun(const char *title, const RunMeasure &run, long startupKb)
{
    std::printf("\n%s\n", title);
    std::printf("  %-20s %8s %8s %9s %9s %9s %10s %11s  %s\n", "step", "records", "written", "seconds", "CPU s",
                "server s", "records/s", "peak RSS MB",
                "round trips per record: Orva (read, write, transaction, savepoint, preparation) + KTZ");
    for (const StepMeasure &s : run.steps)
        std::printf("  %-20s %8lld %8lld %9.2f %9.2f %9s %10.0f %11.1f  %s\n", qPrintable(s.name), s.read, s.written,
                    s.seconds, s.cpuSeconds, qPrintable(serverCpu(s.serverCpuSeconds, 1, 2)),
                    s.seconds > 0 ? double(s.read) / s.seconds : 0.0, mb(s.peakKb), qPrintable(perDocument(&s)));
    std::printf("  %-20s %8s %8s %9.2f %9.2f\n", "total", "", "", run.seconds, run.cpuSeconds);
    std::printf("  RSS before the run %.1f MB, peak during the run %.1f MB%s: %.1f MB above start-up\n",
                mb(run.startKb), mb(run.peakKb), run.peakOfRun ? "" : " (peak since process start)",
                mb(run.peakKb - startupKb));
}

// Prints one target line; returns whether it was met.
bool target(bool met, const QString &text)
{
    std::printf("  [%s] %s\n", met ? "ok" : "MISSED", qPrintable(text));
    return met;
}

// What one configuration measured, for the comparison at the end.
struct Result
{
    QString label;
    double scale = 1;
    QString journal;
    qint64 salesDocuments = 0;
    qint64 notes = 0;
    double openSeconds = 0;
    RunMeasure first, next, again;
    long startupKb = 0;
    ReplayMeasure replay;
    bool replayed = false;

    double salesSeconds() const { return first.step("ActualizaVentas") ? first.step("ActualizaVentas")->seconds : 0; }
    double salesCpu() const { return first.step("ActualizaVentas") ? first.step("ActualizaVentas")->cpuSeconds : 0; }
    // The whole run from the session's start to its end, per sales document.
    double wholeRunRate() const { return salesDocuments / (openSeconds + first.seconds); }
    long peakGrowthKb() const { return std::max({first.peakKb, next.peakKb, again.peakKb}) - startupKb; }
};

bool checkTargets(const Result &r)
{
    std::printf("\nTargets\n");
    bool ok = true;
    const struct
    {
        const RunMeasure *run;
        const char *name;
    } runs[] = {{&r.first, "run 1"}, {&r.next, "run 2"}, {&r.again, "run 3"}};
    for (const auto &run : runs)
        ok &= target(run.run->outcome == RunOutcome::Finished && run.run->steps.size() == 4,
                     QStringLiteral("%1 finished").arg(QLatin1String(run.name)));
    for (const RunMeasure *run : {&r.next, &r.again}) {
        const StepMeasure *sales = run->step("ActualizaVentas");
        const StepMeasure *notes = run->step("ActualizaRemitos");
        ok &= target(sales && notes && sales->written == 0 && notes->written == 0,
                     QStringLiteral("run %1 writes no journal line and no delivery note (%2, %3)")
                         .arg(run == &r.next ? 2 : 3)
                         .arg(sales ? sales->written : -1)
                         .arg(notes ? notes->written : -1));
    }
    for (const auto &run : runs) {
        const long growthKb = run.run->peakKb - r.startupKb;
        ok &= target(growthKb < maxGrowthKb,
                     QStringLiteral("%1: peak RSS %2 MB above start-up < %3 MB")
                         .arg(QLatin1String(run.name))
                         .arg(mb(growthKb), 0, 'f', 1)
                         .arg(mb(maxGrowthKb), 0, 'f', 0));
    }
    if (r.replayed)
        ok &= target(r.replay.ok,
                     QStringLiteral("the replay ran every statement (%1)").arg(r.replay.statements)
                         + (r.replay.ok ? QString() : QStringLiteral(": ") + r.replay.error));
    return ok;
}

// A fresh SQLite file in the journal mode the tool puts it in.
bool openReplayTarget(QSqlDatabase &db, const OrvaTarget &target, const QString &path)
{
    db.setDatabaseName(path);
    if (!db.open())
        return false;
    QSqlQuery q(db);
    if (target.journal == SqliteJournal::WriteAheadLog)
        return q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) && q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    return q.exec(QStringLiteral("PRAGMA journal_mode=DELETE")) && q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
}

// A consistent copy of an SQLite file (its log included) at copyPath.
void copyDatabase(const QString &path, const QString &copyPath)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QSqlQuery q(db);
        if (!db.open()
            || !q.exec(QStringLiteral("VACUUM INTO '%1'")
                           .arg(QString(copyPath).replace(QLatin1Char('\''), QStringLiteral("''")))))
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(path));
    }
    QSqlDatabase::removeDatabase(name);
}

struct Options
{
    QList<double> scales;
    QList<SqliteJournal> journals;
    bool postgresql = false;
    bool firebirdKtz = false; // KTZ on the throw-away Firebird server instead of an SQLite file
    QString serversDir;
    bool replay = false;
    bool keep = false;
};

// Measures one scale and journal setting; false when generating or opening failed.
bool measure(const Options &options, double scale, SqliteJournal journal, const QString &folder, Result *result)
{
    QDir().mkpath(folder);
    const BenchSize size = BenchSize::ofScale(scale);
    result->scale = scale;
    result->salesDocuments = size.salesDocuments();
    result->notes = size.notes;
    std::printf("Scale %g: %d articles, %d customers, %d invoices, %d fuel loads, %d delivery notes\n", scale,
                size.articles, size.customers, size.invoices, size.loads, size.notes);

    OrvaTarget orva;
    orva.journal = journal;
    OrvaServer server;
    QElapsedTimer timer;
    timer.start();
    QString error;
    QString ktzPath = folder + QStringLiteral("/ktz.db");
    QString ktzServer; // empty: the KTZ database is a file
    FirebirdServer firebird;
    if (options.firebirdKtz) {
        if (!loadFirebirdServer(options.serversDir, &firebird, &error)) {
            std::fprintf(stderr, "cannot reach the Firebird server: %s\n", qPrintable(error));
            return false;
        }
        ktzPath = QStringLiteral("%1/bench_%2.fdb")
                      .arg(firebird.dataFolder, QUuid::createUuid().toString(QUuid::Id128).left(12));
        ktzServer = firebird.address();
    }
    const bool ktzMade = options.firebirdKtz ? createFirebirdKtzDatabase(firebird, ktzPath, size, &error)
                                             : createKtzDatabase(ktzPath, size, &error);
    if (!ktzMade) {
        std::fprintf(stderr, "cannot generate the KTZ database: %s\n", qPrintable(error));
        return false;
    }
    // The Firebird file goes with the run unless it is kept.
    const auto dropKtz = qScopeGuard([&] {
        if (options.firebirdKtz && !options.keep)
            QFile::remove(ktzPath);
    });
    if (options.postgresql) {
        if (!server.load(options.serversDir, &error) || !server.createOrva(ktzPath, &orva, &error, ktzServer)) {
            std::fprintf(stderr, "cannot make the Orva database on PostgreSQL: %s\n", qPrintable(error));
            return false;
        }
        result->journal = QStringLiteral("PostgreSQL");
    } else {
        orva.path = folder + QStringLiteral("/orva.db");
        if (!createOrvaDatabase(orva.path, ktzPath, &error, ktzServer)
            || (options.replay
                && !createOrvaDatabase(folder + QStringLiteral("/replay.db"), ktzPath, &error, ktzServer))) {
            std::fprintf(stderr, "cannot generate the Orva database: %s\n", qPrintable(error));
            return false;
        }
        result->journal = journal == SqliteJournal::WriteAheadLog ? QStringLiteral("WAL") : QStringLiteral("rollback");
    }
    if (options.firebirdKtz)
        result->journal += QStringLiteral(", FB KTZ");
    std::printf("Databases generated in %.2f s (%s)\nKTZ: %s\nOrva: %s\n", double(timer.elapsed()) / 1000,
                qPrintable(folder),
                qPrintable(options.firebirdKtz ? QStringLiteral("Firebird %1:%2").arg(ktzServer, ktzPath)
                                               : QStringLiteral("SQLite ") + ktzPath),
                qPrintable(orva.describe()));

    BenchSession bench(folder, orva);
    if (!bench.open(&error)) {
        std::fprintf(stderr, "cannot open Orva: %s\n", qPrintable(error));
        return false;
    }
    result->openSeconds = bench.openSeconds();
    result->startupKb = residentKb();
    if (!options.postgresql)
        std::printf("Journal mode of the Orva file: %s\n", qPrintable(bench.journalMode()));
    std::printf("RSS after start-up %.1f MB, start-up %.3f s\n", mb(result->startupKb), result->openSeconds);

    const QString writes = folder + QStringLiteral("/writes.bin");
    if (options.replay && !bench.recordWrites(writes)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(writes));
        return false;
    }
    if (options.keep && !options.postgresql)
        copyDatabase(orva.path, folder + QStringLiteral("/orva.run0.db")); // for timing the program itself
    result->first = bench.run();
    bench.recordWrites(QString());
    if (options.keep && !options.postgresql)
        copyDatabase(orva.path, folder + QStringLiteral("/orva.run1.db"));
    printRun("Run 1: first transfer", result->first, result->startupKb);
    result->next = bench.run();
    printRun("Run 2: the next scheduled run, from the dates reached", result->next, result->startupKb);
    bench.forgetDates();
    result->again = bench.run();
    printRun("Run 3: the whole month again, every document already in Orva", result->again, result->startupKb);

    if (options.replay) {
        const QString name = QUuid::createUuid().toString();
        {
            QSqlDatabase db;
            bool opened = false;
            if (options.postgresql) {
                OrvaTarget copy;
                opened = server.createOrva(ktzPath, &copy, &error, ktzServer) && server.open(copy, name, &db);
            } else {
                db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
                opened = openReplayTarget(db, orva, folder + QStringLiteral("/replay.db"));
            }
            if (opened)
                result->replay = replayWrites(writes, db);
            else
                result->replay.error = QStringLiteral("cannot open the replay's database ") + error;
            result->replayed = true;
        }
        QSqlDatabase::removeDatabase(name);
        QFile::remove(writes);
        std::printf("\nReplay of run 1's %lld write and transaction statements: %.2f s%s\n", result->replay.statements,
                    result->replay.seconds,
                    result->replay.ok
                        ? ""
                        : qPrintable(QStringLiteral(" (failed: ") + result->replay.error + QLatin1Char(')')));
    }
    if (options.postgresql && !options.keep)
        server.dropAll();
    return true;
}

void printComparison(const QList<Result> &results)
{
    std::printf("\nComparison (run 1 unless named; per sales document: Orva round trips as read + write + "
                "transaction + savepoint + preparation; server ms: CPU of the PostgreSQL server's process)\n");
    std::printf("  %-6s %-18s %9s %9s %9s %9s %9s %9s %-26s %-26s %8s %10s %10s %8s\n", "scale", "Orva", "sales/s",
                "whole/s", "ms/doc", "CPU ms", "server ms", "ratio", "per sales document", "per delivery note",
                "replay", "run 2 /s", "run 3 /s", "peak MB");
    for (const Result &r : results) {
        const StepMeasure *sales = r.first.step("ActualizaVentas");
        const StepMeasure *notes = r.first.step("ActualizaRemitos");
        const StepMeasure *again = r.again.step("ActualizaVentas");
        const auto kinds = [](const StepMeasure *s) {
            if (!s || s->read == 0)
                return QStringLiteral("-");
            return byKind(QStringLiteral("%1 = %2+%3+%4+%5+%6"), s);
        };
        const double msPerDoc = sales && sales->read ? 1000 * sales->seconds / double(sales->read) : 0;
        const double cpuPerDoc = sales && sales->read ? 1000 * sales->cpuSeconds / double(sales->read) : 0;
        // The whole run 2: the scheduler's next run, over every sales document of the month.
        const double nextRate = double(r.salesDocuments) / r.next.seconds;
        std::printf(
            "  %-6g %-18s %9.0f %9.0f %9.3f %9.3f %9s %9s %-26s %-26s %8s %10.0f %10.0f %8.1f\n", r.scale,
            qPrintable(r.journal), sales && sales->seconds > 0 ? double(sales->read) / sales->seconds : 0.0,
            r.wholeRunRate(), msPerDoc, cpuPerDoc,
            sales && sales->read ? qPrintable(serverCpu(sales->serverCpuSeconds, 1000 / double(sales->read), 3)) : "-",
            r.replayed && r.replay.ok
                ? qPrintable(QStringLiteral("%1x").arg(r.first.seconds / r.replay.seconds, 0, 'f', 2))
                : "-",
            qPrintable(kinds(sales)), qPrintable(kinds(notes)),
            r.replayed && r.replay.ok ? qPrintable(QStringLiteral("%1 s").arg(r.replay.seconds, 0, 'f', 2)) : "-",
            nextRate, again && again->seconds > 0 ? double(again->read) / again->seconds : 0.0, mb(r.peakGrowthKb()));
    }
    // Cost per sales document of each scale against the smallest of the same journal.
    for (const Result &r : results) {
        for (const Result &base : results) {
            if (base.journal != r.journal || base.scale >= r.scale || &base == &r)
                continue;
            if (base.salesSeconds() <= 0 || base.salesCpu() <= 0)
                continue;
            const double wall = (r.salesSeconds() / r.salesDocuments) / (base.salesSeconds() / base.salesDocuments);
            const double cpu = (r.salesCpu() / r.salesDocuments) / (base.salesCpu() / base.salesDocuments);
            std::printf("  %s: cost per sales document at scale %g against scale %g: %.2fx wall, %.2fx CPU\n",
                        qPrintable(r.journal), r.scale, base.scale, wall, cpu);
            break;
        }
    }
}

QList<double> parseScales(const QString &text, bool *ok)
{
    QList<double> scales;
    *ok = true;
    for (const QString &piece : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool valid = false;
        const double scale = piece.trimmed().toDouble(&valid);
        if (!valid || scale < 0.01 || scale > 100)
            *ok = false;
        scales << scale;
    }
    *ok = *ok && !scales.isEmpty();
    return scales;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measures the unattended transfer on generated databases."));
    parser.addHelpOption();
    const QCommandLineOption scaleOption(QStringLiteral("scale"),
                                         QStringLiteral("Sizes, separated by commas: N×1000 articles, N×1000 customers "
                                                        "(at most 9,999), N×14,510 sales documents, N×500 delivery "
                                                        "notes; from 0.01 to 100 (default 1)."),
                                         QStringLiteral("N[,N...]"), QStringLiteral("1"));
    const QCommandLineOption journalOption(QStringLiteral("journal"),
                                           QStringLiteral("Journal settings of the Orva SQLite file, separated by "
                                                          "commas: wal (the default) and rollback."),
                                           QStringLiteral("wal,rollback"), QStringLiteral("wal"));
    const QCommandLineOption orvaOption(QStringLiteral("orva"),
                                        QStringLiteral("Where Orva is: sqlite (a file, the default) or postgresql "
                                                       "(the throw-away server of scripts/servers/start.sh)."),
                                        QStringLiteral("kind"), QStringLiteral("sqlite"));
    const QCommandLineOption ktzOption(QStringLiteral("ktz"),
                                       QStringLiteral("Where KTZ is: sqlite (a file, the default) or firebird (a "
                                                      "database on the throw-away Firebird server of "
                                                      "scripts/servers/start.sh, read through the Firebird client)."),
                                       QStringLiteral("kind"), QStringLiteral("sqlite"));
    const QCommandLineOption serversOption(QStringLiteral("servers"),
                                           QStringLiteral("The folder given to scripts/servers/start.sh (holds "
                                                          "servers.env)."),
                                           QStringLiteral("folder"), QStringLiteral("/tmp/traspasor-bench-servers"));
    const QCommandLineOption replayOption(QStringLiteral("replay"),
                                          QStringLiteral("Also replay run 1's writes into a fresh Orva and compare."));
    const QCommandLineOption keepOption(QStringLiteral("keep"), QStringLiteral("Keep the databases and the log."));
    const QCommandLineOption reconcileOption(
        QStringLiteral("reconcile"),
        QStringLiteral("Measure the reconciliation of a transferred month instead (default scale 3.332: "
                       "about 50,000 documents of one station)."));
    parser.addOptions(
        {scaleOption, journalOption, orvaOption, ktzOption, serversOption, replayOption, keepOption, reconcileOption});
    parser.process(app);

    Options options;
    bool valid = false;
    options.scales = parseScales(parser.value(scaleOption), &valid);
    if (!valid) {
        std::fprintf(stderr, "--scale takes numbers from 0.01 to 100, separated by commas\n");
        return 64;
    }
    for (const QString &journal : parser.value(journalOption).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString j = journal.trimmed().toLower();
        if (j != QLatin1String("wal") && j != QLatin1String("rollback")) {
            std::fprintf(stderr, "--journal takes wal and rollback\n");
            return 64;
        }
        options.journals << sqliteJournalNamed(j);
    }
    const QString orvaKind = parser.value(orvaOption).trimmed().toLower();
    if (orvaKind != QLatin1String("sqlite") && orvaKind != QLatin1String("postgresql")) {
        std::fprintf(stderr, "--orva takes sqlite or postgresql\n");
        return 64;
    }
    options.postgresql = orvaKind == QLatin1String("postgresql");
    const QString ktzKind = parser.value(ktzOption).trimmed().toLower();
    if (ktzKind != QLatin1String("sqlite") && ktzKind != QLatin1String("firebird")) {
        std::fprintf(stderr, "--ktz takes sqlite or firebird\n");
        return 64;
    }
    options.firebirdKtz = ktzKind == QLatin1String("firebird");
    if (options.postgresql)
        options.journals = {SqliteJournal::WriteAheadLog}; // not an SQLite file: one setting
    options.serversDir = parser.value(serversOption);
    options.replay = parser.isSet(replayOption);
    options.keep = parser.isSet(keepOption);

    QTemporaryDir dir;
    dir.setAutoRemove(!options.keep);
    if (parser.isSet(reconcileOption)) {
        ReconcileBenchOptions reconcileOptions;
        reconcileOptions.postgresql = options.postgresql;
        reconcileOptions.serversDir = options.serversDir;
        reconcileOptions.keep = options.keep;
        bool met = true;
        const QList<double> scales = parser.isSet(scaleOption) ? options.scales : QList<double>{reconcileOptions.scale};
        for (double scale : scales) {
            reconcileOptions.scale = scale;
            std::printf("\n=== ");
            met &= measureReconciliation(reconcileOptions, dir.filePath(QStringLiteral("reconcile%1").arg(scale)));
        }
        if (!met || options.keep)
            std::printf("\nThe databases and logs: %s\n", qPrintable(dir.path()));
        dir.setAutoRemove(met && !options.keep);
        return met ? 0 : 1;
    }
    QList<Result> results;
    bool ok = true;
    for (double scale : options.scales) {
        for (SqliteJournal journal : options.journals) {
            const QString folder = dir.filePath(QStringLiteral("scale%1-%2").arg(scale).arg(results.size()));
            Result result;
            std::printf("\n=== ");
            if (!measure(options, scale, journal, folder, &result))
                return 1;
            ok &= checkTargets(result);
            results << result;
        }
    }
    printComparison(results);
    if (!ok || options.keep)
        std::printf("\nThe databases and logs: %s\n", qPrintable(dir.path()));
    if (!ok)
        dir.setAutoRemove(false);
    return ok ? 0 : 1;
}
