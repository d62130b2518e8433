#include "bench/benchrun.h"
#include "app/transfersteps.h"
#include "bench/memory.h"
#include "services/consoleoperator.h"
#include "services/sharedservices.h"
#include "session/session.h"

#include <QElapsedTimer>

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

// A real step, timed. A step that ends by a cancel or an error records nothing.
class TimedStep : public TransferStep
{
public:
    TimedStep(TransferKind kind, TransferStep *step, std::vector<StepMeasure> *out)
        : m_kind(kind), m_step(step), m_out(out)
    {
    }

    void run(RunContext &context) override
    {
        QElapsedTimer timer;
        timer.start();
        m_step->run(context);
        StepMeasure m;
        m.seconds = double(timer.nsecsElapsed()) / 1e9;
        m.name = transferStepName(m_kind);
        std::tie(m.read, m.written) = countersOf(m_kind, context.counters);
        m.peakKb = peakResidentKb();
        m_out->push_back(m);
    }

private:
    TransferKind m_kind;
    TransferStep *m_step;
    std::vector<StepMeasure> *m_out;
};

} // namespace

struct BenchSession::Parts
{
    QString folder;
    QString orvaPath;
    SharedServices services;
    Session session{services};
    ConsoleOperator console{services.log};
    RunContext context{session};
    std::unique_ptr<TransferSteps> steps;
    SilentFront front;
};

BenchSession::BenchSession(const QString &folder, const QString &orvaPath) : d(std::make_unique<Parts>())
{
    d->folder = folder;
    d->orvaPath = orvaPath;
}

BenchSession::~BenchSession() = default;

bool BenchSession::open(QString *error)
{
    d->session.programFolder = d->folder + QLatin1Char('/');
    d->services.log.open(logPath());
    d->services.setOperator(&d->console);
    QString connectionText;
    const QString commandLine =
        QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=") + d->orvaPath + QLatin1Char(';');
    if (!d->session.IniciaSesion(connectionText, commandLine)) {
        *error = d->services.session.openError();
        return false;
    }
    d->steps = std::make_unique<TransferSteps>(d->session);
    return true;
}

RunMeasure BenchSession::run()
{
    RunMeasure measure;
    const RunDriver::Steps real = d->steps->steps();
    std::vector<std::unique_ptr<TimedStep>> timed;
    RunDriver::Steps steps{};
    for (int k = 0; k < TransferKindCount; ++k) {
        timed.push_back(std::make_unique<TimedStep>(TransferKind(k), real[k], &measure.steps));
        steps[k] = timed.back().get();
    }
    RunDriver driver(d->context, d->front, steps);
    driver.unattended = true;

    // After a reset the peak starts at the resident memory now.
    measure.peakOfRun = resetPeakResident();
    measure.startKb = measure.peakOfRun ? peakResidentKb() : residentKb();
    QElapsedTimer timer;
    timer.start();
    measure.outcome = driver.cmdActualizar_Click();
    measure.seconds = double(timer.nsecsElapsed()) / 1e9;
    measure.peakKb = peakResidentKb();
    return measure;
}

void BenchSession::forgetDates()
{
    d->session.GrabaDfg(QStringLiteral("KTZ_ULTIMAFECHA"), QString());
    d->session.GrabaDfg(QStringLiteral("KTZ_ULTIMAFECHAR"), QString());
}

QString BenchSession::logPath() const
{
    return d->folder + QStringLiteral("/traspasor.log");
}
