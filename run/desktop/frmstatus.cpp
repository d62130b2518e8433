#include "run/desktop/frmstatus.h"
#include "run/runcontext.h"
#include "services/sharedservices.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

int barNumber(float value)
{
    return int(std::clamp(std::floor(double(value)), 0.0, 2147483647.0));
}

} // namespace

FrmStatus::FrmStatus(RunContext &context, QWidget *mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint), m_context(context),
      m_main(mainWindow)
{
    setObjectName(QStringLiteral("FrmStatus"));
    setWindowTitle(QStringLiteral("Actualizando..."));
    if (mainWindow)
        setWindowIcon(mainWindow->windowIcon());

    lblStatus = new QLabel(QStringLiteral("Status"), this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    QFont bold = lblStatus->font();
    bold.setBold(true);
    lblStatus->setFont(bold);

    PB = new QProgressBar(this);
    PB->setObjectName(QStringLiteral("PB"));
    PB->setTextVisible(false);
    PB->setRange(0, 100);
    PB->setValue(0);

    lblProgreso = new QLabel(QStringLiteral("Actualizando 1 de 100 registros"), this);
    lblProgreso->setObjectName(QStringLiteral("lblProgreso"));

    CmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    CmdCancelar->setObjectName(QStringLiteral("CmdCancelar"));
    cmdOcultar = new QPushButton(QStringLiteral("_"), this);
    cmdOcultar->setObjectName(QStringLiteral("cmdOcultar"));
    cmdOcultar->setToolTip(QStringLiteral("Minimizar"));
    cmdOcultar->setFixedWidth(cmdOcultar->sizeHint().height() + 8);

    auto *top = new QHBoxLayout;
    top->addWidget(lblStatus, 1);
    top->addWidget(cmdOcultar);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblProgreso, 1);
    bottom->addWidget(CmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(PB);
    layout->addLayout(bottom);
    setMinimumWidth(360);

    connect(CmdCancelar, &QPushButton::clicked, this, &FrmStatus::CmdCancelar_Click);
    connect(cmdOcultar, &QPushButton::clicked, this, &FrmStatus::cmdOcultar_Click);
}

void FrmStatus::showProgress(const ProgressState &state)
{
    lblStatus->setText(state.status);
    lblProgreso->setText(state.line);
    const int minimum = barNumber(state.minimum);
    const int maximum = std::max(minimum, barNumber(state.maximum));
    PB->setRange(minimum, maximum);
    PB->setValue(std::clamp(barNumber(state.value), minimum, maximum));
}

void FrmStatus::CmdCancelar_Click()
{
    Operator *op = m_context.svc.operatorUi();
    if (!op)
        return;
    if (op->askYesNo(QStringLiteral("¿Está seguro de cancelar el proceso?"), QStringLiteral("ATENCIÓN"),
                     MessageIcon::Question, false))
        m_context.PARAR = true;
}

void FrmStatus::cmdOcultar_Click()
{
    hide();
    if (m_main) {
        m_main->showMinimized();
        m_main->setEnabled(true);
    }
    m_context.Minimizado = true;
}

void FrmStatus::closeEvent(QCloseEvent *event)
{
    event->ignore();
}
