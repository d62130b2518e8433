#pragma once
// The progress window shown while a pass runs: the transfer in progress, the
// bar and the counter line, a cancel button and a hide button. It keeps no
// state of its own: its buttons act on the run's PARAR and Minimizado.

#include "run/progress.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class RunContext;

class FrmStatus : public QWidget, public ProgressView
{
    Q_OBJECT

public:
    // mainWindow is the window that the hide button minimises.
    FrmStatus(RunContext &context, QWidget *mainWindow);

    QLabel *lblStatus;
    QProgressBar *PB;
    QLabel *lblProgreso;
    QPushButton *CmdCancelar;
    QPushButton *cmdOcultar;

    // Shows the state of the progress protocol. The bar takes a value past
    // its maximum (the protocol runs one ahead); only the drawing is clamped.
    void showProgress(const ProgressState &state);
    void progressChanged(const ProgressState &state) override { showProgress(state); }

    // Asks the operator to confirm; on Yes the run's PARAR is set, on No
    // nothing changes. The run sees it at its next stop test.
    void CmdCancelar_Click();

    // Hides this window, minimises and enables the main window and sets
    // Minimizado, so that the main window's next activation brings it back.
    void cmdOcultar_Click();

protected:
    // The window is unloaded by the run only; its own close button does nothing.
    void closeEvent(QCloseEvent *event) override;

private:
    RunContext &m_context;
    QWidget *m_main;
};
