#include "run/desktop/desktopfront.h"
#include "run/desktop/frmactktz.h"
#include "run/desktop/frminfoktz.h"
#include "run/stopsignals.h"

#include <QCheckBox>

DesktopFront::DesktopFront(FrmActKTZ &main, RunContext &context) : m_main(main), m_context(context)
{}

DesktopFront::~DesktopFront() = default;

bool DesktopFront::isTicked(TransferKind kind) const
{
    return m_main.box(kind)->checkState() == Qt::Checked;
}

void DesktopFront::setMainEnabled(bool enabled)
{
    m_main.setEnabled(enabled);
    if (enabled && !m_main.isVisible())
        m_main.show();
}

void DesktopFront::showProgressWindow()
{
    if (!m_status)
        m_status = std::make_unique<FrmStatus>(m_context, &m_main);
    m_status->showProgress(m_context.progress.state());
    m_status->show();
    m_status->raise();
    m_status->activateWindow();
}

void DesktopFront::hideProgressWindow()
{
    if (!m_status)
        showProgressWindow();
    m_status->cmdOcultar_Click();
}

void DesktopFront::unloadProgressWindow()
{
    m_status.reset();
}

void DesktopFront::showReport(const RunReport &report)
{
    // A stop signal ends the program: nobody waits for the report window
    // (the log and the JSON report have it).
    if (StopSignals::received())
        return;
    FrmInfoKTZ report_window(report);
    report_window.setWindowIcon(m_main.windowIcon());
    QObject::connect(&StopSignals::instance(), &StopSignals::arrived, &report_window, &QDialog::accept);
    report_window.exec();
}

void DesktopFront::progressChanged(const ProgressState &state)
{
    if (m_status)
        m_status->showProgress(state);
}
