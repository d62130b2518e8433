#pragma once
// The run report window: for each kind of data, the records written out of
// the records read in the pass, and how many needed no change. When the pass
// was interrupted or left records out, also its status and a list with the
// accounting per kind and every record left out or failed.

#include "run/runreport.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

class FrmInfoKTZ : public QDialog
{
    Q_OBJECT

public:
    // Form_Load: sounds the system beep and fills the four lines from report
    // (a ticked kind's line in bold). Shown modally by the caller.
    explicit FrmInfoKTZ(const RunReport &report, QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *lblInfoArt;
    QLabel *LblInfoCli;
    QLabel *lblInfoVen;
    QLabel *lblInfoRM;
    QLabel *Label2;
    QLabel *lblEstado;         // the pass's status; hidden for a clean pass
    QListWidget *lstRegistros; // accounting and named records; hidden for a clean pass
    QPushButton *cmdOK;

    // The four line labels in the order of the kinds.
    QLabel *line(TransferKind kind) const;

    // Unloads the window; the run then goes on.
    void cmdOK_Click() { accept(); }
};
