#include "bench/benchrun.h"
#include "app/transfersteps.h"
#include "bench/memory.h"
#include "bench/replay.h"
#include "services/consoleoperator.h"
#include "services/sharedservices.h"
#include "session/session.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <functional>

namespace {

// The run's front with nobody watching: every kind ticked, nothing shown.
class SilentFront : public RunFront
{
public:
    bool isTicked(TransferKind) const override { return true; }
    void setMainEnabled(bool) override {}
    void showProgressWindow() override {}
    void hideProgressWindow() override {}
    void unloadProgressWindow() override {}
    void showReport(const RunReport &) override {}
};

// Records read and writes made by the step of kind, from the pass counters.
std::pair<qint64, qint64> countersOf(TransferKind kind, const RunCounters &c)
{
    switch (kind) {
    case TransferKind::Articulos:
        return {c.CantArt, c.CantArtAct};
    case TransferKind::Clientes:
        return {c.CantCli, c.CantCliAct};
    case TransferKind::Ventas:
        return {c.CantVen, c.CantVenAct};
    case TransferKind::Remitos:
        return {c.CantRM, c.CantRMAct};
    }
    return {0, 0};
}

StatementCounts operator-(const StatementCounts &a, const StatementCounts &b)
{
    return {a.reads - b.reads, a.writes - b.writes, a.transactions - b.transactions, a.savepoints - b.savepoints,
            a.preparations - b.preparations};
}

// A real step, timed. A step that ends by a cancel or an error records nothing.
class TimedStep : public TransferStep
{
public:
    TimedStep(TransferKind kind, TransferStep *step, std::vector<StepMeasure> *out, std::function<double()> serverCpu)
        : m_kind(kind), m_step(step), m_out(out), m_serverCpu(std::move(serverCpu))
    {}

    void run(RunContext &context) override
    {
        const StatementCounts orva = context.orva().counts();
        const StatementCounts ktz = context.source.counts();
        const double cpu = cpuSeconds();
        const double serverCpu = m_serverCpu();
        QElapsedTimer timer;
        timer.start();
        m_step->run(context);
        StepMeasure m;
        m.seconds = double(timer.nsecsElapsed()) / 1e9;
        m.cpuSeconds = cpuSeconds() - cpu;
        if (serverCpu >= 0)
            m.serverCpuSeconds = m_serverCpu() - serverCpu;
        m.name = transferStepName(m_kind);
        std::tie(m.read, m.written) = countersOf(m_kind, context.counters);
        m.peakKb = peakResidentKb();
        m.orva = context.orva().counts() - orva;
        m.ktz = context.source.counts() - ktz;
        m_out->push_back(m);
    }

private:
    TransferKind m_kind;
    TransferStep *m_step;
    std::vector<StepMeasure> *m_out;
    std::function<double()> m_serverCpu;
};

} // namespace

QString OrvaTarget::describe() const
{
    if (postgresql)
        return QStringLiteral("PostgreSQL %1:%2/%3").arg(host).arg(port).arg(database);
    return QStringLiteral("SQLite %1 (%2)")
        .arg(path,
             journal == SqliteJournal::WriteAheadLog ? QStringLiteral("WAL, synchronous NORMAL")
                                                     : QStringLiteral("rollback journal, synchronous FULL"));
}

const StepMeasure *RunMeasure::step(const char *name) const
{
    for (const StepMeasure &s : steps)
        if (s.name == QLatin1String(name))
            return &s;
    return nullptr;
}

struct BenchSession::Parts
{
    QString folder;
    OrvaTarget orva;
    SharedServices services;
    Session session{services};
    ConsoleOperator console{services.log};
    RunContext context{session};
    std::unique_ptr<TransferSteps> steps;
    SilentFront front;
    std::unique_ptr<WriteRecorder> recorder;
    double openSeconds = 0;
    bool readOnly = false;
    long serverPid = 0; // the PostgreSQL server's process serving Orva
};

BenchSession::BenchSession(const QString &folder, const OrvaTarget &orva) : d(std::make_unique<Parts>())
{
    d->folder = folder;
    d->orva = orva;
}

BenchSession::~BenchSession() = default;

bool BenchSession::open(QString *error)
{
    QElapsedTimer timer;
    timer.start();
    d->session.programFolder = d->folder + QLatin1Char('/');
    d->services.log.open(logPath());
    d->services.setOperator(&d->console);
    ServerSettings settings;
    settings.sqliteJournal = d->orva.journal;
    QString commandLine = QStringLiteral("@ParametroAdicional=DesdeTimer;");
    if (d->orva.postgresql) {
        settings.driver = QStringLiteral("QPSQL");
        settings.dialect = SqlDialect::PostgreSql;
        settings.port = d->orva.port;
        commandLine += QStringLiteral("@Server=%1;@DbName=%2;@Usuario=%3;@Password=%4;")
                           .arg(d->orva.host, d->orva.database, d->orva.user, d->orva.password);
    } else {
        commandLine += QStringLiteral("@DbName=") + d->orva.path + QLatin1Char(';');
    }
    d->services.session.setServerSettings(settings);
    d->services.session.setReadOnly(d->readOnly);
    QString connectionText;
    if (!d->session.IniciaSesion(connectionText, commandLine)) {
        *error = d->services.session.openError();
        return false;
    }
    d->steps = std::make_unique<TransferSteps>(d->session);
    if (d->orva.postgresql) {
        QSqlQuery q(d->services.session.connection().database());
        if (q.exec(QStringLiteral("SELECT pg_backend_pid()")) && q.next())
            d->serverPid = q.value(0).toLongLong();
    }
    d->openSeconds = double(timer.nsecsElapsed()) / 1e9;
    return true;
}

void BenchSession::setReadOnly(bool readOnly)
{
    d->readOnly = readOnly;
}

Session &BenchSession::session()
{
    return d->session;
}

StatementCounts BenchSession::orvaCounts() const
{
    return d->services.session.connection().counts();
}

double BenchSession::openSeconds() const
{
    return d->openSeconds;
}

RunMeasure BenchSession::run()
{
    RunMeasure measure;
    const RunDriver::Steps real = d->steps->steps();
    std::vector<std::unique_ptr<TimedStep>> timed;
    RunDriver::Steps steps{};
    for (int k = 0; k < TransferKindCount; ++k) {
        timed.push_back(std::make_unique<TimedStep>(TransferKind(k), real[k], &measure.steps,
                                                    [this] { return serverCpuSeconds(); }));
        steps[k] = timed.back().get();
    }
    RunDriver driver(d->context, d->front, steps);
    driver.unattended = true;

    // After a reset the peak starts at the resident memory now.
    measure.peakOfRun = resetPeakResident();
    measure.startKb = measure.peakOfRun ? peakResidentKb() : residentKb();
    const double cpu = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    measure.outcome = driver.cmdActualizar_Click();
    measure.seconds = double(timer.nsecsElapsed()) / 1e9;
    measure.cpuSeconds = cpuSeconds() - cpu;
    measure.peakKb = peakResidentKb();
    return measure;
}

void BenchSession::forgetDates()
{
    d->session.GrabaDfg(QStringLiteral("KTZ_ULTIMAFECHA"), QString());
    d->session.GrabaDfg(QStringLiteral("KTZ_ULTIMAFECHAR"), QString());
}

bool BenchSession::recordWrites(const QString &path)
{
    Connection &orva = d->services.session.connection();
    orva.onWritten = nullptr;
    d->recorder.reset();
    if (path.isEmpty())
        return true;
    d->recorder = std::make_unique<WriteRecorder>(path);
    if (!d->recorder->isOpen())
        return false;
    WriteRecorder *recorder = d->recorder.get();
    orva.onWritten = [recorder](const QString &statement) { recorder->append(statement); };
    return true;
}

double BenchSession::serverCpuSeconds() const
{
    return d->serverPid > 0 ? cpuSecondsOf(d->serverPid) : -1;
}

QString BenchSession::journalMode() const
{
    if (d->orva.postgresql)
        return QString();
    QSqlQuery q(d->services.session.connection().database());
    return q.exec(QStringLiteral("PRAGMA journal_mode")) && q.next() ? q.value(0).toString() : QString();
}

QString BenchSession::logPath() const
{
    return d->folder + QStringLiteral("/traspasor.log");
}
