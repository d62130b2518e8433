#pragma once
// One measured transfer: an unattended session on the benchmark's Orva file,
// the real steps wrapped so that each one is timed, and the resident memory
// the run took.

#include "run/rundriver.h"

#include <QString>
#include <memory>
#include <vector>

struct StepMeasure
{
    QString name;
    qint64 read = 0;      // records counted by the step
    qint64 written = 0;   // writes the step counted
    double seconds = 0;
    long peakKb = 0;      // peak resident memory when the step ended
};

struct RunMeasure
{
    RunOutcome outcome = RunOutcome::Finished;
    std::vector<StepMeasure> steps;
    long startKb = 0;        // resident memory when the run began
    long peakKb = 0;         // peak resident memory when it ended
    bool peakOfRun = false;  // the peak covers the run only (else since process start)
    double seconds = 0;
};

class BenchSession
{
public:
    // folder receives the log and the lookup definitions.
    BenchSession(const QString &folder, const QString &orvaPath);
    ~BenchSession();

    // Starts the session as a scheduler's run does. False with *error when
    // Orva cannot be opened.
    bool open(QString *error);

    // Runs all four kinds over the configured KTZ database and measures it.
    RunMeasure run();

    // Clears the dates reached, so that the next run reads the whole month
    // again and every document meets the check for being in Orva already.
    void forgetDates();

    QString logPath() const;

private:
    struct Parts;
    std::unique_ptr<Parts> d;
};
