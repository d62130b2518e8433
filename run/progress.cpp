#include "run/progress.h"
#include "services/svctools.h"

void Progress::reset()
{
    m_state = ProgressState();
    notify();
}

void Progress::begin(const QString &status)
{
    m_state.minimum = 0;
    m_state.value = 0;
    m_state.status = status;
    notify();
}

void Progress::resetBar()
{
    m_state.minimum = 0;
    m_state.value = 0;
    notify();
}

void Progress::setStatus(const QString &status)
{
    m_state.status = status;
    notify();
}

void Progress::counted(qint64 n)
{
    if (n <= 0)
        return;
    m_state.maximum = float(n);
    m_state.line = QStringLiteral("Actualizando 0 de %1 registros").arg(n);
    notify();
}

void Progress::tick()
{
    m_state.value = m_state.value + 1;
    m_state.line = QStringLiteral("Actualizando ") + plainNumber(double(m_state.value + 1)) + QStringLiteral(" de ")
        + plainNumber(double(m_state.maximum)) + QStringLiteral(" registros");
    notify();
}

void Progress::notify()
{
    if (m_view)
        m_view->progressChanged(m_state);
}
