#include "run/desktop/frmactktz.h"
#include "run/desktop/frmconciliacion.h"
#include "run/stopsignals.h"
#include "services/sharedservices.h"
#include "session/desktop/preparaventana.h"
#include "session/session.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QCheckBox *checkBox(const QString &name, const QString &caption, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QPushButton *button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

FrmActKTZ::FrmActKTZ(Session &session, RunContext &context, RunDriver::Steps steps, QWidget *parent)
    : QWidget(parent), PARAR(context.PARAR), Minimizado(context.Minimizado), counters(context.counters),
      m_session(session), m_context(context), m_steps(steps), m_front(std::make_unique<DesktopFront>(*this, context))
{
    setObjectName(QStringLiteral("FrmActKTZ"));
    setWindowTitle(QStringLiteral("Traspasor KTZ"));

    chkArticulos = checkBox(QStringLiteral("chkArticulos"), QStringLiteral("Actualizar Artículos de KTZ a Orva"), this);
    chkClientes = checkBox(QStringLiteral("chkClientes"), QStringLiteral("Actualizar Clientes de KTZ a Orva"), this);
    chkVentas = checkBox(QStringLiteral("chkVentas"), QStringLiteral("Actualizar Ventas de KTZ a Orva"), this);
    chkRemitos = checkBox(QStringLiteral("chkRemitos"), QStringLiteral("Actualizar Remitos de KTZ a Orva"), this);
    cmdActualizar = button(QStringLiteral("cmdActualizar"), QStringLiteral("&Actualizar"), this);
    cmdSalir = button(QStringLiteral("cmdSalir"), QStringLiteral("&Salir"), this);
    cmdConciliar = button(QStringLiteral("cmdConciliar"), QStringLiteral("&Conciliar..."), this);
    MSFlexGrid2 = new QTableWidget(this);
    MSFlexGrid2->setObjectName(QStringLiteral("MSFlexGrid2"));
    MSFlexGrid2->hide();
    TxtEdit = new QLineEdit(this);
    TxtEdit->setObjectName(QStringLiteral("TxtEdit"));
    TxtEdit->hide();

    auto *layout = new QVBoxLayout(this);
    for (QCheckBox *b : {chkArticulos, chkClientes, chkVentas, chkRemitos})
        layout->addWidget(b);
    layout->addSpacing(12);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdActualizar, 3);
    buttons->addWidget(cmdConciliar, 2);
    buttons->addStretch(1);
    buttons->addWidget(cmdSalir, 1);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    setTabOrder(chkArticulos, chkClientes);
    setTabOrder(chkClientes, chkVentas);
    setTabOrder(chkVentas, chkRemitos);
    setTabOrder(chkRemitos, cmdActualizar);
    setTabOrder(cmdActualizar, cmdConciliar);
    setTabOrder(cmdConciliar, cmdSalir);
    setTabOrder(cmdSalir, MSFlexGrid2);
    setTabOrder(MSFlexGrid2, TxtEdit);

    connect(cmdActualizar, &QPushButton::clicked, this, [this] { cmdActualizar_Click(); });
    connect(cmdSalir, &QPushButton::clicked, this, &FrmActKTZ::cmdSalir_Click);
    connect(cmdConciliar, &QPushButton::clicked, this, &FrmActKTZ::cmdConciliar_Click);
    // A stop signal between runs closes the program; during a run the run
    // sees it at its next stop test and the window closes after it.
    connect(&StopSignals::instance(), &StopSignals::arrived, this, [this] {
        if (!m_running)
            close();
    });
    context.progress.setView(m_front.get());
}

FrmActKTZ::~FrmActKTZ()
{
    m_context.progress.setView(nullptr);
}

QCheckBox *FrmActKTZ::box(TransferKind kind) const
{
    switch (kind) {
    case TransferKind::Articulos:
        return chkArticulos;
    case TransferKind::Clientes:
        return chkClientes;
    case TransferKind::Ventas:
        return chkVentas;
    case TransferKind::Remitos:
        return chkRemitos;
    }
    return nullptr;
}

void FrmActKTZ::Form_Load()
{
    PreparaVentana(*this, m_session);
    PARAR = false;
    show();
    if (!m_session.parameters.unattended())
        return;
    for (int k = 0; k < TransferKindCount; ++k)
        box(TransferKind(k))->setCheckState(Qt::Checked);
    showMinimized();
    cmdActualizar_Click();
    close();
}

void FrmActKTZ::Form_Activate()
{
    if (!Minimizado)
        return;
    Minimizado = false;
    // Between runs there is no progress window to bring back; disabling the
    // window then would leave the operator locked out of it.
    FrmStatus *status = m_front->progressWindow();
    if (!status)
        return;
    setEnabled(false);
    status->show();
    status->raise();
    status->activateWindow();
}

RunOutcome FrmActKTZ::cmdActualizar_Click()
{
    if (m_running)
        return m_lastOutcome;
    m_running = true;
    RunDriver driver(m_context, *m_front, m_steps);
    driver.unattended = m_session.parameters.unattended();
    m_lastOutcome = driver.cmdActualizar_Click();
    m_lastRun = driver.lastRun();
    m_lastExitCode = m_lastRun.exitCode;
    m_running = false;
    if (StopSignals::received())
        close();
    return m_lastOutcome;
}

void FrmActKTZ::cmdConciliar_Click()
{
    if (m_running)
        return;
    FrmConciliacion window(m_session, this);
    window.exec();
}

void FrmActKTZ::cmdSalir_Click()
{
    close();
}

bool FrmActKTZ::event(QEvent *event)
{
    // A minimised window that the system marks active is not yet back in
    // front of the operator: its restore (changeEvent) brings it back.
    if (event->type() == QEvent::WindowActivate && !isMinimized())
        Form_Activate();
    return QWidget::event(event);
}

void FrmActKTZ::changeEvent(QEvent *event)
{
    // Restoring the minimised window counts as its activation.
    if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized))
        Form_Activate();
    QWidget::changeEvent(event);
}

void FrmActKTZ::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    event->accept();
}
