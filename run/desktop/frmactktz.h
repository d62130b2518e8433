#pragma once
// The main window: the four boxes of the kinds to transfer, the update and
// exit buttons, and the hidden voucher grid of the stock discharge. Its
// public fields (PARAR, Minimizado, the counters) are the run context's.

#include "run/desktop/desktopfront.h"
#include "run/rundriver.h"

#include <QWidget>
#include <memory>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class Session;

class FrmActKTZ : public QWidget
{
    Q_OBJECT

public:
    // The session must have been started (IniciaSesion); steps are the four
    // transfer steps in their order (a null step is skipped).
    FrmActKTZ(Session &session, RunContext &context, RunDriver::Steps steps, QWidget *parent = nullptr);
    ~FrmActKTZ() override;

    QCheckBox *chkArticulos;
    QCheckBox *chkClientes;
    QCheckBox *chkVentas;
    QCheckBox *chkRemitos;
    QPushButton *cmdActualizar;
    QPushButton *cmdSalir;
    QPushButton *cmdConciliar; // opens the reconciliation window
    QTableWidget *MSFlexGrid2; // the stock discharge's voucher grid; never shown
    QLineEdit *TxtEdit;        // its cell editor; never shown

    bool &PARAR;
    bool &Minimizado;
    RunCounters &counters;

    QCheckBox *box(TransferKind kind) const;
    DesktopFront &front() { return *m_front; }

    // Window set-up, PARAR cleared and the window shown. Unattended
    // ("DesdeTimer"): all four boxes ticked, the window minimised, one run,
    // then the window is closed.
    void Form_Load();

    // After the progress window was hidden: the main window is disabled
    // again and the progress window brought back in front. When the run has
    // ended meanwhile, only Minimizado is cleared and the window stays usable.
    void Form_Activate();

    // The run driver over the configured KTZ databases. Ignored (returns the
    // previous outcome) while a run is already going.
    RunOutcome cmdActualizar_Click();

    // Opens the reconciliation window (modal); not while a run is going.
    void cmdConciliar_Click();

    // Closes the window, which ends the program.
    void cmdSalir_Click();

    bool isRunning() const { return m_running; }
    RunOutcome lastOutcome() const { return m_lastOutcome; }
    // The exit code of the last run (0 before any run).
    int lastExitCode() const { return m_lastExitCode; }
    const RunAccount &lastRun() const { return m_lastRun; }

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    // A run in progress keeps the window open: it is stopped by its cancel.
    void closeEvent(QCloseEvent *event) override;

private:
    Session &m_session;
    RunContext &m_context;
    RunDriver::Steps m_steps;
    std::unique_ptr<DesktopFront> m_front;
    bool m_running = false;
    RunOutcome m_lastOutcome = RunOutcome::Finished;
    int m_lastExitCode = 0;
    RunAccount m_lastRun;
};
