#pragma once
// The run report window: for each kind of data, the records written out of
// the records read in the pass, and how many needed no change.

#include "run/runreport.h"

#include <QDialog>

class QLabel;
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
    QPushButton *cmdOK;

    // The four line labels in the order of the kinds.
    QLabel *line(TransferKind kind) const;

    // Unloads the window; the run then goes on.
    void cmdOK_Click() { accept(); }
};
