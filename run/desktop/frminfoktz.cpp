#include "run/desktop/frminfoktz.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *label(const QString &name, const QString &text, bool bold, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    QFont font = l->font();
    font.setBold(bold);
    l->setFont(font);
    return l;
}

} // namespace

FrmInfoKTZ::FrmInfoKTZ(const RunReport &report, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmInfoKTZ"));
    setWindowTitle(QStringLiteral("Informe de Actualización"));
    setModal(true);

    Label1 = label(QStringLiteral("Label1"), report.title, true, this);
    lblInfoArt = label(QStringLiteral("lblInfoArt"), QStringLiteral("..."), false, this);
    LblInfoCli = label(QStringLiteral("LblInfoCli"), QStringLiteral("..."), false, this);
    lblInfoVen = label(QStringLiteral("lblInfoVen"), QStringLiteral("..."), false, this);
    lblInfoRM = label(QStringLiteral("lblInfoRM"), QStringLiteral("..."), false, this);
    Label2 = label(QStringLiteral("Label2"), report.footnote, false, this);
    lblEstado = label(QStringLiteral("lblEstado"), report.statusLine(), true, this);
    lblEstado->setWordWrap(true);
    lstRegistros = new QListWidget(this);
    lstRegistros->setObjectName(QStringLiteral("lstRegistros"));
    lstRegistros->addItems(report.accountLines() + report.recordLines());
    lstRegistros->setMinimumHeight(120);
    lblEstado->setVisible(!report.clean());
    lstRegistros->setVisible(!report.clean());
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addSpacing(8);
    for (QLabel *l : {lblInfoArt, LblInfoCli, lblInfoVen, lblInfoRM})
        layout->addWidget(l);
    layout->addSpacing(8);
    layout->addWidget(Label2);
    layout->addWidget(lblEstado);
    layout->addWidget(lstRegistros, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(report.clean() ? 340 : 560);
    connect(cmdOK, &QPushButton::clicked, this, &FrmInfoKTZ::cmdOK_Click);

    // Form_Load
    QApplication::beep();
    for (int k = 0; k < TransferKindCount; ++k) {
        QLabel *l = line(TransferKind(k));
        l->setText(report.lines[k].text);
        QFont font = l->font();
        font.setBold(report.lines[k].bold);
        l->setFont(font);
    }
}

QLabel *FrmInfoKTZ::line(TransferKind kind) const
{
    switch (kind) {
    case TransferKind::Articulos:
        return lblInfoArt;
    case TransferKind::Clientes:
        return LblInfoCli;
    case TransferKind::Ventas:
        return lblInfoVen;
    case TransferKind::Remitos:
        return lblInfoRM;
    }
    return nullptr;
}
