#include "run/desktop/frmconciliacion.h"
#include "run/desktop/namedwidget.h"
#include "reconcile/reconcilecsv.h"
#include "reconcile/reconcileoutput.h"
#include "session/session.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QLineEdit *dayBox(const QString &name, const QString &placeholder, QWidget *parent)
{
    auto *box = namedWidget<QLineEdit>(name, parent);
    box->setPlaceholderText(placeholder);
    box->setMinimumWidth(250);
    return box;
}

QTableWidget *table(const QString &name, const QStringList &headers, QWidget *parent)
{
    auto *t = namedWidget<QTableWidget>(name, 0, int(headers.size()), parent);
    t->setHorizontalHeaderLabels(headers);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 8);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

QTableWidgetItem *cell(const QString &text, bool number = false)
{
    auto *item = new QTableWidgetItem(text);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QTableWidgetItem *amountCell(Currency value)
{
    return cell(csvAmount(value, QLocale()), true);
}

void appendRow(QTableWidget *t, const QList<QTableWidgetItem *> &items)
{
    const int row = t->rowCount();
    t->insertRow(row);
    for (int c = 0; c < items.size(); ++c)
        t->setItem(row, c, items[c]);
}

QList<QTableWidgetItem *> dayCells(int station, const QDate &day, ReconcileKind kind)
{
    return {cell(QString::number(station)), cell(day.toString(Qt::ISODate)), cell(kindTitle(kind))};
}

QList<QTableWidgetItem *> findingCells(const DayResult &d, const Finding &f)
{
    if (f.problem == Problem::NotReadable)
        return dayCells(d.station, d.day, d.kind)
            + QList<QTableWidgetItem *>{cell(f.document), cell(QString()), cell(QString()),
                                        cell(problemTitle(f.problem) + QStringLiteral(": ") + f.detail)};
    return dayCells(d.station, d.day, d.kind)
        + QList<QTableWidgetItem *>{cell(f.document), amountCell(f.ktzTotal), amountCell(f.orvaTotal),
                                    cell(problemTitle(f.problem))};
}

QString resultText(const Reconciliation &r)
{
    int differing = 0;
    for (const DayResult &d : r.days)
        differing += d.verdict == Verdict::Reconciled ? 0 : 1;
    QString text;
    if (r.status == ReconcileStatus::Reconciled)
        text = QStringLiteral("Todo conciliado.");
    else if (r.status == ReconcileStatus::Differences)
        text = QStringLiteral("%1 de %2 días y clases con diferencias.").arg(differing).arg(r.days.size());
    else
        text = QStringLiteral("La conciliación no terminó.");
    for (const QString &e : r.errors)
        text += QLatin1Char(' ') + e;
    return text;
}

} // namespace

FrmConciliacion::FrmConciliacion(Session &session, QWidget *parent) : QDialog(parent), m_session(session)
{
    setObjectName(QStringLiteral("FrmConciliacion"));
    setWindowTitle(QStringLiteral("Conciliación KTZ - Orva"));
    txtDesde = dayBox(QStringLiteral("txtDesde"), QStringLiteral("AAAA-MM-DD (KTZ_FECHADESDE)"), this);
    txtHasta = dayBox(QStringLiteral("txtHasta"), QStringLiteral("AAAA-MM-DD (última fecha guardada)"), this);
    cmdConciliar = namedWidget<QPushButton>(QStringLiteral("cmdConciliar"), QStringLiteral("&Conciliar"), this);
    grdDias = table(QStringLiteral("grdDias"),
                    {QStringLiteral("Estación"), QStringLiteral("Fecha"), QStringLiteral("Clase"),
                     QStringLiteral("KTZ"), QStringLiteral("Total KTZ"), QStringLiteral("Orva"),
                     QStringLiteral("Total Orva"), QStringLiteral("Resultado")},
                    this);
    chkTodos = namedWidget<QCheckBox>(QStringLiteral("chkTodos"), QStringLiteral("Documentos de todos los días"), this);
    grdDocumentos = table(QStringLiteral("grdDocumentos"),
                          {QStringLiteral("Estación"), QStringLiteral("Fecha"), QStringLiteral("Clase"),
                           QStringLiteral("Documento"), QStringLiteral("Importe KTZ"), QStringLiteral("Importe Orva"),
                           QStringLiteral("Problema")},
                          this);
    lblDias = namedWidget<QLabel>(QStringLiteral("lblDias"), this);
    lblResultado = namedWidget<QLabel>(QStringLiteral("lblResultado"), this);
    lblResultado->setWordWrap(true);
    cmdExportar = namedWidget<QPushButton>(QStringLiteral("cmdExportar"), QStringLiteral("&Exportar CSV..."), this);
    cmdExportar->setEnabled(false);
    cmdCerrar = namedWidget<QPushButton>(QStringLiteral("cmdCerrar"), QStringLiteral("C&errar"), this);

    auto *range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("Desde:"), this));
    range->addWidget(txtDesde);
    range->addWidget(new QLabel(QStringLiteral("Hasta:"), this));
    range->addWidget(txtHasta);
    range->addWidget(cmdConciliar);
    range->addStretch(1);
    auto *detail = new QHBoxLayout;
    auto *detailTitle = new QLabel(QStringLiteral("Documentos nombrados del día elegido:"), this);
    detail->addWidget(detailTitle);
    detail->addStretch(1);
    detail->addWidget(chkTodos);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lblResultado, 1);
    buttons->addWidget(cmdExportar);
    buttons->addWidget(cmdCerrar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(lblDias);
    layout->addWidget(grdDias, 3);
    layout->addLayout(detail);
    layout->addWidget(grdDocumentos, 2);
    layout->addLayout(buttons);
    resize(900, 600);

    connect(cmdConciliar, &QPushButton::clicked, this, [this] { conciliar(); });
    connect(cmdExportar, &QPushButton::clicked, this, &FrmConciliacion::askAndExport);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::accept);
    connect(grdDias, &QTableWidget::currentCellChanged, this, [this] { showDocuments(); });
    connect(chkTodos, &QCheckBox::toggled, this, [this, detailTitle](bool all) {
        detailTitle->setText(all ? QStringLiteral("Documentos nombrados de todos los días:")
                                 : QStringLiteral("Documentos nombrados del día elegido:"));
        showDocuments();
    });
}

QColor FrmConciliacion::verdictColor(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Reconciled:
        return QColor(0xc8, 0xe6, 0xc9); // green
    case Verdict::Missing:
    case Verdict::Doubled:
        return QColor(0xff, 0xcd, 0xd2); // red
    case Verdict::AmountsDiffer:
        return QColor(0xff, 0xe0, 0xb2); // orange
    case Verdict::NotInKtz:
        return QColor(0xff, 0xf9, 0xc4); // yellow
    case Verdict::NotReadable:
        break;
    }
    return QColor(0xe0, 0xe0, 0xe0); // grey
}

bool FrmConciliacion::conciliar()
{
    ReconcileOptions options;
    QString error;
    if (!parseReconcileOptions(txtDesde->text(), txtHasta->text(), &options, &error)) {
        lblResultado->setText(error);
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Reconciliation r = reconcile(m_session, options);
    QApplication::restoreOverrideCursor();
    mostrar(r);
    return true;
}

void FrmConciliacion::mostrar(const Reconciliation &r)
{
    m_result = r;
    grdDias->setRowCount(0);
    for (const DayResult &d : r.days) {
        auto *verdict = cell(verdictTitle(d.verdict));
        verdict->setBackground(verdictColor(d.verdict));
        appendRow(grdDias,
                  dayCells(d.station, d.day, d.kind)
                      + QList<QTableWidgetItem *>{cell(QString::number(d.ktzCount), true), amountCell(d.ktzTotal),
                                                  cell(QString::number(d.orvaCount), true), amountCell(d.orvaTotal),
                                                  verdict});
    }
    grdDias->resizeColumnsToContents();
    lblDias->setText(reconciledDaysText(r).trimmed());
    lblResultado->setText(resultText(r));
    cmdExportar->setEnabled(true);
    // The first day that does not reconcile is the one shown.
    qsizetype first = 0;
    while (first < r.days.size() && r.days[first].verdict == Verdict::Reconciled)
        ++first;
    if (!r.days.isEmpty())
        grdDias->selectRow(first < r.days.size() ? int(first) : 0);
    showDocuments();
}

void FrmConciliacion::showDocuments()
{
    grdDocumentos->setRowCount(0);
    const int chosen = grdDias->currentRow();
    const bool all = chkTodos->isChecked();
    const DayResult *shown = chosen >= 0 && chosen < m_result.days.size() ? &m_result.days[chosen] : nullptr;
    for (const DayResult &d : m_result.days) {
        if (!all && &d != shown)
            continue;
        for (const Finding &f : d.findings)
            appendRow(grdDocumentos, findingCells(d, f));
    }
    // What the transfer leaves out by rule, also of days with nothing else.
    for (const NotTransferable &n : m_result.notTransferable) {
        if (!all && !(shown && n.station == shown->station && n.day == shown->day && n.kind == shown->kind))
            continue;
        appendRow(grdDocumentos,
                  dayCells(n.station, n.day, n.kind)
                      + QList<QTableWidgetItem *>{cell(n.document), cell(QString()), cell(QString()),
                                                  cell(QStringLiteral("no transferible: ") + n.ruleText)});
    }
    grdDocumentos->resizeColumnsToContents();
}

bool FrmConciliacion::exportarCsv(const QString &path)
{
    QString error;
    if (!writeReconciliationCsv(m_result, QLocale(), path, &error)) {
        lblResultado->setText(error);
        return false;
    }
    return true;
}

void FrmConciliacion::askAndExport()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Exportar la conciliación"),
                                                      QStringLiteral("conciliacion.csv"),
                                                      QStringLiteral("CSV, separado por punto y coma (*.csv)"));
    if (!path.isEmpty() && exportarCsv(path))
        lblResultado->setText(resultText(m_result) + QStringLiteral(" Exportada a ") + path + QLatin1Char('.'));
}
