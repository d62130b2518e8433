#include "run/desktop/desktopfront.h"
#include "run/desktop/frmactktz.h"
#include "run/desktop/frminfoktz.h"

#include <QCheckBox>

DesktopFront::DesktopFront(FrmActKTZ &main, RunContext &context) : m_main(main), m_context(context) {}

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
    FrmInfoKTZ report_window(report);
    report_window.setWindowIcon(m_main.windowIcon());
    report_window.exec();
}

void DesktopFront::progressChanged(const ProgressState &state)
{
    if (m_status)
        m_status->showProgress(state);
}
