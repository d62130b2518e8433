#pragma once
// The reconciliation window: the days to reconcile, a table per station, day
// and kind with its verdict coloured, the named documents of the chosen day
// (or of every day) and an export of the whole reconciliation to CSV. A thin
// front over reconcile/: it only reads KTZ and Orva.

#include "reconcile/reconcilerun.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class Session;

class FrmConciliacion : public QDialog
{
    Q_OBJECT

public:
    // The session must have been started (IniciaSesion).
    explicit FrmConciliacion(Session &session, QWidget *parent = nullptr);

    QLineEdit *txtDesde; // YYYY-MM-DD; empty: KTZ_FECHADESDE
    QLineEdit *txtHasta; // YYYY-MM-DD; empty: each station's last stored date
    QPushButton *cmdConciliar;
    QTableWidget *grdDias;       // one row per station, day and kind
    QCheckBox *chkTodos;         // the documents of every day, not only the chosen one
    QTableWidget *grdDocumentos; // the named documents and the rows left out by rule
    QLabel *lblDias;             // the days each station was reconciled for
    QLabel *lblResultado;
    QPushButton *cmdExportar;
    QPushButton *cmdCerrar;

    // Reconciles the days of the two boxes and shows the result. False, with
    // the reason in lblResultado and nothing read, when a box holds no
    // YYYY-MM-DD day or the end is before the start.
    bool conciliar();

    // Shows the reconciliation r (as conciliar() does after reading).
    void mostrar(const Reconciliation &r);

    // Writes the reconciliation shown as CSV to path (the locale's decimal
    // sign); false with the reason in lblResultado.
    bool exportarCsv(const QString &path);

    const Reconciliation &resultado() const { return m_result; }

    // The colour a verdict is shown with.
    static QColor verdictColor(Verdict verdict);

private:
    void showDocuments();
    void askAndExport();

    Session &m_session;
    Reconciliation m_result;
};
