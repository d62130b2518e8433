#pragma once
// What a transfer step is given by the run driver: the pass, both
// connections, the counters, the stop flag and the progress protocol.

#include "run/progress.h"
#include "run/runaccount.h"
#include "services/connection.h"
#include "session/session.h"

#include <QString>
#include <functional>

class SharedServices;

// The four kinds of data, in the order the run transfers them.
enum class TransferKind { Articulos = 0, Clientes = 1, Ventas = 2, Remitos = 3 };
constexpr int TransferKindCount = 4;

// Per pass: records counted and writes made by each step.
struct RunCounters
{
    qint32 CantArt = 0, CantArtAct = 0;
    qint32 CantCli = 0, CantCliAct = 0;
    qint32 CantVen = 0, CantVenAct = 0;
    qint32 CantRM = 0, CantRMAct = 0;
    void reset() { *this = RunCounters(); }
};

// Thrown when the operator's stop request (or a stop signal) is seen: the
// run's clean-up follows.
struct RunCancelled
{};

class RunContext
{
public:
    explicit RunContext(Session &session);
    ~RunContext();
    RunContext(const RunContext &) = delete;
    RunContext &operator=(const RunContext &) = delete;

    Session &session;
    SharedServices &svc;
    Connection source; // SourceConnection: the KTZ database of the pass

    int SourcePass = 0;
    QString KeySuffix;
    qint16 Digitos_Cuenta = 0;
    RunCounters counters;
    // The pass's accounting (reset with the counters) and the record being
    // transferred.
    PassAccount account;
    RecordTally tally{account};
    bool PARAR = false;
    bool Minimizado = false;
    QString LastSalesDate;
    QString LastDeliveryNoteDate;
    Progress progress;

    // Called at every yield after the window system ran (tests script the
    // operator's clicks here).
    std::function<void()> onYield;

    Connection &orva();
    QString Cfg(const QString &key) { return session.Cfg(key); }

    // Lets the window system process pending events.
    void yield();
    // Enters the run's clean-up when the operator asked to stop or a stop
    // signal (SIGTERM, SIGINT) arrived.
    void stopIfRequested();

    // The number of records a step counted, for the accounting of kind.
    void countedRecords(TransferKind kind, qint64 n) { account.kind(kind).counted = n; }
};

// A transfer step as the run driver calls it.
class TransferStep
{
public:
    virtual ~TransferStep() = default;
    virtual void run(RunContext &context) = 0;
};

// The procedure name of each step, for messages and logs.
QString transferStepName(TransferKind kind);
