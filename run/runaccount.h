#pragma once
// What a run says about itself: the status of each pass and of the run, and
// per kind of data an accounting that adds up — every record read from KTZ
// was written, found unchanged, left out, failed or not reached — with every
// record left out or failed named.

#include "services/keyedrow.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

enum class TransferKind;
constexpr int AccountKindCount = 4;

enum class RunStatus {
    Completed,              // finished, nothing left out
    CompletedWithOmissions, // finished, records left out or failed (named)
    Cancelled,              // the operator or a stop signal stopped it
    Abandoned,              // an error was given up
    ConnectionLost,         // a connection failed
    NotStarted,             // could not start (no Orva, locked, usage, KTZ database not opened)
};

// The status as the machine-readable report writes it ("completed", ...).
QString statusName(RunStatus status);
// The status for people ("terminada", "cancelada", ...).
QString statusText(RunStatus status);
bool statusFinished(RunStatus status);

enum class ProblemKind { LeftOut, Failed };

// One record (a document, a line, an article, a customer) left out or failed.
struct RecordProblem
{
    QString record; // the KTZ key: "factura 1004 (punto de venta 5, número 1237, letra A)"
    QString step;   // the procedure: "ActualizaVentas", "GrabaStockVenta"
    ProblemKind problem = ProblemKind::LeftOut;
    QString reason; // the rule or the database's message
};

// One kind of data in one pass. Sales and delivery notes count documents.
struct KindAccount
{
    bool selected = false; // its box was ticked
    bool started = false;  // its step ran
    qint64 counted = 0;    // records the step counted in KTZ
    qint64 written = 0, unchanged = 0, leftOut = 0, failed = 0;
    QList<RecordProblem> records;

    qint64 processed() const { return written + unchanged + leftOut + failed; }
    // A walk that meets more records than it counted reads them all.
    qint64 read() const { return qMax(counted, processed()); }
    qint64 notReached() const { return read() - processed(); }
};

struct PassAccount
{
    int pass = 0;
    QString ktz; // the KTZ database, never its password
    RunStatus status = RunStatus::NotStarted;
    QString reason; // why the pass did not finish (the error, the signal)
    // The KTZ_ULTIMAFECHA* keys of the pass before and after it; a blank
    // value is an invalid QVariant (null in the report).
    QMap<QString, QVariant> datesBefore, datesAfter;
    KindAccount kinds[AccountKindCount];

    KindAccount &kind(TransferKind k);
    const KindAccount &kind(TransferKind k) const;
    bool hasProblems() const;
};

struct RunAccount
{
    QString runId;
    QDateTime started, ended;
    QString orva; // the Orva target, never its password
    RunStatus status = RunStatus::NotStarted;
    QString reason;
    int exitCode = 1;
    QList<PassAccount> passes;

    // The run's status from its passes: finished when every pass finished
    // (with omissions when any named a record); otherwise the status of the
    // pass that ended it, a later pass that could not start counting as a
    // lost connection. Sets status, reason and exitCode.
    void conclude();

    // The log's last line of a run: id, duration, status, exit code and the
    // counts of every kind over its passes.
    QString summary() const;
};

// The KTZ_ULTIMAFECHA* keys of a pass: its sales date, its delivery-note date.
QStringList passDateKeys(int pass);

// Follows the record being transferred and files it in the pass's account
// when it ends. The steps say what happened to it; errors the operator
// continued past during the record are listed with it.
class RecordTally
{
public:
    explicit RecordTally(PassAccount &account) : m_account(&account) {}
    void setAccount(PassAccount &account) { m_account = &account; }

    // A record of kind starts; record may be empty and named later.
    void begin(TransferKind kind, const QString &record = {});
    void name(const QString &record) { m_record = record; }
    bool active() const { return m_active; }

    // Something of the record was written to Orva.
    void written() { m_written = true; }
    // Orva already had the record (or a part of it) as it is.
    void unchanged() { m_unchanged = true; }
    // An insert-or-update by key of the record: written when it took,
    // unchanged when Orva had it; nothing else says anything.
    void filed(KeyedWrite outcome)
    {
        if (outcome == KeyedWrite::Inserted || outcome == KeyedWrite::Updated)
            written();
        else if (outcome == KeyedWrite::Unchanged)
            unchanged();
    }
    // A part of the record (a line) was left out by rule; record names it.
    void leaveOut(const QString &record, const QString &step, const QString &reason);
    // An error the operator continued past during the record.
    void continuedPast(const QString &record, const QString &step, const QString &reason);
    // The record failed (an error that ended the run).
    void fail(const QString &step, const QString &reason);
    // Its commit failed and the operator went on: nothing of it is in Orva;
    // the commit's error is the reason.
    void failAtCommit(const QString &step);

    // Files the record: failed; written (with its left-out parts listed);
    // unchanged; otherwise left out, with the reasons met on the way.
    // fallbackRecord names it when the step did not.
    void end(const QString &fallbackRecord = {});
    // The run stopped inside the record and rolled it back: not reached.
    void drop() { m_active = false; }

private:
    PassAccount *m_account;
    bool m_active = false;
    int m_kind = 0;
    QString m_record;
    bool m_written = false, m_unchanged = false, m_failed = false;
    QString m_failStep, m_failReason;
    QList<RecordProblem> m_parts;     // lines left out by rule
    QList<RecordProblem> m_continued; // errors continued past
};
