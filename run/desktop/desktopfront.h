#pragma once
// The windows around a run as the run driver sees them: the main window's
// boxes and state, the progress window (loaded per pass, fed by the progress
// protocol) and the modal report.

#include "run/desktop/frmstatus.h"
#include "run/rundriver.h"

#include <memory>

class FrmActKTZ;

class DesktopFront : public RunFront, public ProgressView
{
public:
    DesktopFront(FrmActKTZ &main, RunContext &context);
    ~DesktopFront() override;

    // A box counts as ticked when its value is 1 (checked).
    bool isTicked(TransferKind kind) const override;
    // Disables the main window, or enables and shows it.
    void setMainEnabled(bool enabled) override;
    // Loads the progress window when it is not loaded, shows it with the
    // current progress and brings it to the front.
    void showProgressWindow() override;
    // The progress window's hide action (cmdOcultar_Click).
    void hideProgressWindow() override;
    // Closes and discards the progress window; the next pass loads a new one.
    void unloadProgressWindow() override;
    // Shows the report window modally; returns when the operator closes it.
    void showReport(const RunReport &report) override;

    void progressChanged(const ProgressState &state) override;

    // The loaded progress window, or null between passes.
    FrmStatus *progressWindow() const { return m_status.get(); }

private:
    FrmActKTZ &m_main;
    RunContext &m_context;
    std::unique_ptr<FrmStatus> m_status;
};
