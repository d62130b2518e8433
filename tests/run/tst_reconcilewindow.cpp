// The reconciliation window over the demo stations transferred into Orva and
// then changed in four documents: the verdicts of the days, coloured; the
// named documents of the chosen day and of every day; the CSV export; a bad
// range; and the button of the main window that opens it.

#include "run/desktop/frmactktz.h"
#include "run/desktop/frmconciliacion.h"
#include "support/fixtures.h"
#include "support/transferreddemo.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {

// A session on an Orva file, opened read-only as the reconciliation opens it.
struct ReadOnlySession
{
    explicit ReadOnlySession(const QString &orvaPath, const QString &programFolder)
    {
        services.setOperator(&op);
        session.programFolder = programFolder;
        services.log.open(programFolder + QStringLiteral("traspasor.log"));
        services.session.setReadOnly(true);
        QString connectionText;
        opened = session.IniciaSesion(connectionText, QStringLiteral("@DbName=") + orvaPath + QLatin1Char(';'));
    }

    SharedServices services;
    Session session{services};
    ScriptedOperator op;
    bool opened = false;
};

QStringList column(const QTableWidget *t, int c)
{
    QStringList texts;
    for (int row = 0; row < t->rowCount(); ++row)
        texts << t->item(row, c)->text();
    return texts;
}

// "station date kind" of a row of the day table or of the document list.
QString dayOf(const QTableWidget *t, int row)
{
    return QStringLiteral("%1 %2 %3").arg(t->item(row, 0)->text(), t->item(row, 1)->text(), t->item(row, 2)->text());
}

} // namespace

class TstReconcileWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void daysShowTheirVerdictsColoured();
    void detailNamesTheDocuments();
    void exportsTheRowsAsCsv();
    void badRangeReadsNothing();
    void mainWindowButtonOpensIt();

private:
    QTemporaryDir m_dir;
    QString m_orva;
    std::unique_ptr<ReadOnlySession> m_open;
    std::unique_ptr<FrmConciliacion> m_window;
};

void TstReconcileWindow::initTestCase()
{
    // Amounts in the window and the CSV take the locale's decimal sign.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    const QString demo = m_dir.filePath(QStringLiteral("demo"));
    QString error;
    QVERIFY2(makeTransferredDemo(demo, m_dir.filePath(QStringLiteral("prog")), &error), qPrintable(error));
    m_orva = demo + QStringLiteral("/orva.db");
    runSqliteScript(m_orva, fourOrvaChangesSqlite());
}

void TstReconcileWindow::init()
{
    m_open = std::make_unique<ReadOnlySession>(m_orva, m_dir.filePath(QStringLiteral("prog")) + QLatin1Char('/'));
    QVERIFY2(m_open->opened, qPrintable(m_open->services.session.openError()));
    m_window = std::make_unique<FrmConciliacion>(m_open->session);
    m_window->show();
}

void TstReconcileWindow::cleanup()
{
    m_window.reset();
    m_open.reset();
}

void TstReconcileWindow::daysShowTheirVerdictsColoured()
{
    // Empty boxes: the days the command line takes by default.
    QVERIFY(m_window->conciliar());
    QCOMPARE(m_window->resultado().status, ReconcileStatus::Differences);
    const QTableWidget *days = m_window->grdDias;
    QCOMPARE(days->rowCount(), 13);
    QMap<QString, QString> changed;
    for (int row = 0; row < days->rowCount(); ++row) {
        const QString verdict = days->item(row, 7)->text();
        const Verdict v = m_window->resultado().days[row].verdict;
        QCOMPARE(days->item(row, 7)->background().color(), FrmConciliacion::verdictColor(v));
        if (v != Verdict::Reconciled)
            changed.insert(dayOf(days, row), verdict);
        else
            QCOMPARE(verdict, QStringLiteral("conciliado"));
    }
    QCOMPARE(changed,
             (QMap<QString, QString>{{QStringLiteral("0 2026-03-02 Facturas"), QStringLiteral("faltan en Orva")},
                                     {QStringLiteral("0 2026-03-02 Cargas"), QStringLiteral("duplicado en Orva")},
                                     {QStringLiteral("0 2026-03-03 Remitos"), QStringLiteral("importes distintos")},
                                     {QStringLiteral("1 2026-03-03 Facturas"), QStringLiteral("en Orva, no en KTZ")}}));
    QVERIFY(FrmConciliacion::verdictColor(Verdict::Reconciled) != FrmConciliacion::verdictColor(Verdict::Missing));
    QVERIFY2(m_window->lblDias->text().contains(QStringLiteral("Estación 0: del 2026-03-01 al 2026-03-0")),
             qPrintable(m_window->lblDias->text()));
    QVERIFY(m_window->lblResultado->text().contains(QStringLiteral("4 de 13")));
}

void TstReconcileWindow::detailNamesTheDocuments()
{
    QVERIFY(m_window->conciliar());
    // The first day that does not reconcile is chosen, its document named with both amounts.
    const QTableWidget *docs = m_window->grdDocumentos;
    QCOMPARE(dayOf(m_window->grdDias, m_window->grdDias->currentRow()), QStringLiteral("0 2026-03-02 Facturas"));
    QCOMPARE(column(docs, 3), QStringList{QStringLiteral("FA 0005-00001235 B, asiento 1002")});
    QCOMPARE(docs->item(0, 4)->text(), QStringLiteral("63800"));
    QCOMPARE(docs->item(0, 5)->text(), QStringLiteral("0"));
    QCOMPARE(docs->item(0, 6)->text(), QStringLiteral("falta en Orva"));

    // Every day: the four changed documents and the rows left out by rule.
    m_window->chkTodos->setChecked(true);
    QStringList named;
    for (int row = 0; row < docs->rowCount(); ++row)
        named << dayOf(docs, row) + QStringLiteral(" ") + docs->item(row, 3)->text() + QStringLiteral(": ")
                + docs->item(row, 6)->text();
    QStringList problems;
    for (const QString &line : named) {
        if (!line.contains(QStringLiteral(": no transferible: ")))
            problems << line;
    }
    QCOMPARE(named.size() - problems.size(), 3);
    problems.sort();
    QCOMPARE(
        problems,
        (QStringList{QStringLiteral("0 2026-03-02 Cargas FA 0003-00080213 B, asiento 1003: duplicado en Orva"),
                     QStringLiteral("0 2026-03-02 Facturas FA 0005-00001235 B, asiento 1002: falta en Orva"),
                     QStringLiteral("0 2026-03-03 Remitos RM 0001-00000042 R: importe distinto"),
                     QStringLiteral("1 2026-03-03 Facturas FA 0007-00000999 A, asiento 1999: en Orva, no en KTZ")}));

    // Back to one day: a reconciled day names only what the transfer left out of it.
    m_window->chkTodos->setChecked(false);
    int row = 0;
    while (dayOf(m_window->grdDias, row) != QLatin1String("0 2026-03-04 Facturas"))
        ++row;
    m_window->grdDias->setCurrentCell(row, 0);
    QCOMPARE(docs->rowCount(), 2);
    QCOMPARE(column(docs, 6).filter(QStringLiteral("no transferible: ")).size(), 2);
}

void TstReconcileWindow::exportsTheRowsAsCsv()
{
    QVERIFY(!m_window->cmdExportar->isEnabled());
    QVERIFY(m_window->conciliar());
    QVERIFY(m_window->cmdExportar->isEnabled());
    const QString path = m_dir.filePath(QStringLiteral("conciliacion.csv"));
    QVERIFY(m_window->exportarCsv(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    // The header, the 13 days (each changed day with its one document), the 3 rows left out.
    QCOMPARE(lines.size(), 1 + 13 + 3);
    QVERIFY(lines[0].startsWith(QStringLiteral("Estación;Fecha;Clase;Cantidad KTZ;")));
    QVERIFY2(lines.contains(QStringLiteral("0;2026-03-02;Cargas;3;4;24739,82;35115,92;duplicado en Orva;"
                                           "FA 0003-00080213 B, asiento 1003;duplicado en Orva;10376,1;20752,2")),
             qPrintable(lines.join(QLatin1Char('\n'))));
    QVERIFY(lines.contains(QStringLiteral("0;2026-03-03;Remitos;1;1;13600;13000;importes distintos;RM 0001-00000042 R;"
                                          "importe distinto;13600;13000")));
    QCOMPARE(lines.filter(QStringLiteral(";conciliado;;;;")).size(), 9);
    QCOMPARE(lines.filter(QStringLiteral(";no transferible;")).size(), 3);

    QVERIFY(!m_window->exportarCsv(m_dir.filePath(QStringLiteral("no-such-folder/x.csv"))));
    QVERIFY(m_window->lblResultado->text().contains(QStringLiteral("No se pudo escribir")));
}

void TstReconcileWindow::badRangeReadsNothing()
{
    m_window->txtDesde->setText(QStringLiteral("2026-03-05"));
    m_window->txtHasta->setText(QStringLiteral("2026-03-01"));
    QVERIFY(!m_window->conciliar());
    QVERIFY(m_window->lblResultado->text().contains(QStringLiteral("es anterior a @Desde")));
    QCOMPARE(m_window->grdDias->rowCount(), 0);
    QVERIFY(!m_window->cmdExportar->isEnabled());
}

void TstReconcileWindow::mainWindowButtonOpensIt()
{
    m_window.reset();
    RunContext context(m_open->session);
    FrmActKTZ main(m_open->session, context, {});
    QString title;
    QTimer::singleShot(0, this, [&] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            title = w->windowTitle();
            w->close();
        }
    });
    main.cmdConciliar->click();
    QCOMPARE(title, QStringLiteral("Conciliación KTZ - Orva"));
}

QTEST_MAIN(TstReconcileWindow)
#include "tst_reconcilewindow.moc"
