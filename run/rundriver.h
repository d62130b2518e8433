#pragma once
// The run driver: walks the configured KTZ databases (a pass each), opens
// each, calls the ticked steps in their fixed order, stores the dates reached
// and hands each pass's report to the windows. It talks to the windows only
// through RunFront, so the same run works on the desktop, on a console and in
// tests.

#include "run/runcontext.h"
#include "run/runreport.h"

#include <array>

// The windows (or the console) around a run.
class RunFront
{
public:
    virtual ~RunFront() = default;
    virtual bool isTicked(TransferKind kind) const = 0; // read just before each step
    virtual void setMainEnabled(bool enabled) = 0;
    virtual void showProgressWindow() = 0; // not modal, in front
    virtual void hideProgressWindow() = 0; // the progress window's hide action
    virtual void unloadProgressWindow() = 0;
    virtual void showReport(const RunReport &report) = 0; // modal
    // Every pass's report, also when no window shows it (the console prints
    // it), a pass ended by a lost connection included.
    virtual void passEnded(const RunReport &) {}
};

enum class RunOutcome {
    Finished,       // every pass ran to its end
    Cancelled,      // the operator stopped it
    GaveUp,         // an error was given up: clean-up ran
    ConnectionLost, // the connection failed: ended without the report
};

class RunDriver
{
public:
    using Steps = std::array<TransferStep *, TransferKindCount>;

    RunDriver(RunContext &context, RunFront &front, Steps steps);

    // Unattended: no report window, neither at the end of a pass nor after a
    // cancel (the reports reach passEnded only).
    bool unattended = false;

    // cmdActualizar_Click: one run over pass 0 and, when configured, pass 1.
    // Never throws a run-time error: a cancel or a given-up error ends the
    // run through the clean-up (open document rolled back, report shown when
    // interactive, no date stored); a failed connection ends it without the
    // report, with the window handed back to the operator.
    RunOutcome cmdActualizar_Click();

    // The connection text of a pass, exactly as the KTZ driver expects it.
    QString sourceConnectionText();

    // What the last run said about itself: status, exit code, accounting.
    const RunAccount &lastRun() const { return m_run; }

private:
    RunOutcome runPasses();
    RunOutcome transferPasses();
    // Ends the run that gave up (or met an error outside every statement).
    RunOutcome endGivenUp(const RunError &error);
    void beginPass(int pass);
    void endPass(RunStatus status, const QString &reason);
    void stopIfSignalled();
    void failCurrentRecord(const RunError &error);
    void endRun();
    QMap<QString, QVariant> storedDates(int pass);
    // False when the pass ended the run (its dates could not be stored).
    bool runPass(int pass);
    void openSource();
    // The keys of the pass that could not be stored (none when all were).
    QStringList storeDates(int pass);
    RunReport report() const;
    void logReport(const RunReport &report, const QString &how);
    void CancelaActualizacion(RunStatus status, const QString &reason);
    void endAfterConnectionLoss(const RunError &error);

    RunContext &m_context;
    RunFront &m_front;
    Steps m_steps;
    RunAccount m_run;
    bool m_inPass = false;     // a pass began and has not ended yet
    bool m_passOpen = false;   // the pass's KTZ database was opened
    bool m_datesTried = false; // the pass's dates were sent to Orva
};
