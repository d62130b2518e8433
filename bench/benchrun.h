#pragma once
// One measured transfer: an unattended session on the benchmark's Orva
// database, the real steps wrapped so that each one is timed and its
// statements counted, and the resident memory the run took.

#include "run/rundriver.h"
#include "services/connection.h"
#include "services/sqlitejournal.h"

#include <QString>
#include <memory>
#include <vector>

// Where the benchmark's Orva database is.
struct OrvaTarget
{
    bool postgresql = false;
    QString path;                           // the SQLite file
    QString host, database, user, password; // the PostgreSQL server
    int port = -1;
    SqliteJournal journal = SqliteJournal::WriteAheadLog;

    QString describe() const;
};

struct StepMeasure
{
    QString name;
    qint64 read = 0;    // records counted by the step
    qint64 written = 0; // writes the step counted
    double seconds = 0;
    double cpuSeconds = 0;        // user and system time of the process
    double serverCpuSeconds = -1; // of the PostgreSQL server's process serving Orva (-1: not measured)
    long peakKb = 0;              // peak resident memory when the step ended
    StatementCounts orva;         // statements sent to Orva during the step
    StatementCounts ktz;          // statements sent to the KTZ database
};

struct RunMeasure
{
    RunOutcome outcome = RunOutcome::Finished;
    std::vector<StepMeasure> steps;
    long startKb = 0;       // resident memory when the run began
    long peakKb = 0;        // peak resident memory when it ended
    bool peakOfRun = false; // the peak covers the run only (else since process start)
    double seconds = 0;
    double cpuSeconds = 0;

    const StepMeasure *step(const char *name) const;
};

class BenchSession
{
public:
    // folder receives the log and the lookup definitions.
    BenchSession(const QString &folder, const OrvaTarget &orva);
    ~BenchSession();

    // Starts the session as a scheduler's run does. False with *error when
    // Orva cannot be opened.
    bool open(QString *error);
    // Opens Orva read-only, as the reconciliation does; set before open().
    void setReadOnly(bool readOnly);
    // The started session (after open()).
    class Session &session();
    // Statements sent to Orva so far.
    StatementCounts orvaCounts() const;

    // Seconds the start-up took (Orva opened, configuration read).
    double openSeconds() const;

    // Runs all four kinds over the configured KTZ database and measures it.
    RunMeasure run();

    // Clears the dates reached, so that the next run reads the whole month
    // again and every document meets the check for being in Orva already.
    void forgetDates();

    // Every write and transaction statement Orva accepts from now on is
    // appended to the file at path (see replay.h); an empty path stops it.
    bool recordWrites(const QString &path);

    // CPU seconds the PostgreSQL server's process serving Orva has used so
    // far (on this machine), -1 for an SQLite file or when unreadable.
    double serverCpuSeconds() const;

    // The journal mode the Orva SQLite file is in ("" on a server).
    QString journalMode() const;

    QString logPath() const;

private:
    struct Parts;
    std::unique_ptr<Parts> d;
};
