// What the windows show: the report's lines from the counters, the progress
// window's bar and counter line, the system icon of the main window, and
// the cancel confirmation with Qt's buttons in Spanish.

#include "run/desktop/frminfoktz.h"
#include "run/desktop/desktopoperator.h"
#include "run/desktop/frmstatus.h"
#include "run/desktop/spanishqttexts.h"
#include "session/desktop/preparaventana.h"
#include "support/fixtures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTest>

class TstRunWindows : public QObject
{
    Q_OBJECT

private slots:
    void reportLines_data();
    void reportLines();
    void reportStatus_data();
    void reportStatus();
    void counterLine_data();
    void counterLine();
    void systemIcon_data();
    void systemIcon();
    void cancelConfirmationInSpanish();
};

void TstRunWindows::reportLines_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<int>("counted");
    QTest::addColumn<int>("written");
    QTest::addColumn<QString>("line");
    // Sales truncate the whole difference, customers only the quotient.
    QTest::newRow("sales 10, 9 lines") << 2 << true << 10 << 9 << QStringLiteral("Ventas Actualizadas: 2 de 10 (7*)");
    QTest::newRow("sales 10, 8 lines") << 2 << true << 10 << 8 << QStringLiteral("Ventas Actualizadas: 2 de 10 (8*)");
    QTest::newRow("customers 10, 9 statements")
        << 1 << true << 10 << 9 << QStringLiteral("Clientes Actualizados: 4 de 10 (6*)");
    QTest::newRow("articles") << 0 << true << 7 << 3 << QStringLiteral("Artículos Actualizados: 3 de 7 (4*)");
    QTest::newRow("delivery notes, nothing to do")
        << 3 << true << 0 << 0 << QStringLiteral("Remitos Actualizados: 0 de 0 (0*)");
    QTest::newRow("more writes than records")
        << 0 << true << 2 << 5 << QStringLiteral("Artículos Actualizados: 5 de 2 (-3*)");
    QTest::newRow("unticked kind keeps the fixed text")
        << 2 << false << 10 << 9 << QStringLiteral("Ventas: No se realizó la Actualización");
}

void TstRunWindows::reportLines()
{
    QFETCH(int, kind);
    QFETCH(bool, ticked);
    QFETCH(int, counted);
    QFETCH(int, written);
    QFETCH(QString, line);
    RunCounters c;
    qint32 *countedField[] = {&c.CantArt, &c.CantCli, &c.CantVen, &c.CantRM};
    qint32 *writtenField[] = {&c.CantArtAct, &c.CantCliAct, &c.CantVenAct, &c.CantRMAct};
    *countedField[kind] = counted;
    *writtenField[kind] = written;
    bool boxes[TransferKindCount] = {false, false, false, false};
    boxes[kind] = ticked;

    FrmInfoKTZ report(buildRunReport(c, boxes));
    QCOMPARE(report.windowTitle(), QStringLiteral("Informe de Actualización"));
    QCOMPARE(report.line(TransferKind(kind))->text(), line);
    QCOMPARE(report.line(TransferKind(kind))->font().bold(), ticked);
}

void TstRunWindows::reportStatus_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("named"); // a record left out is named
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("details");
    QTest::newRow("clean pass: the specified window")
        << int(RunStatus::Completed) << false << QStringLiteral("Actualización Finalizada") << false;
    QTest::newRow("finished, a record left out")
        << int(RunStatus::CompletedWithOmissions) << true << QStringLiteral("Actualización Finalizada") << true;
    QTest::newRow("cancelled") << int(RunStatus::Cancelled) << false << QStringLiteral("Actualización Cancelada")
                               << true;
    QTest::newRow("abandoned, a record failed")
        << int(RunStatus::Abandoned) << true << QStringLiteral("Actualización Abandonada") << true;
}

void TstRunWindows::reportStatus()
{
    QFETCH(int, status);
    QFETCH(bool, named);
    QFETCH(QString, title);
    QFETCH(bool, details);
    RunCounters c;
    c.CantRM = 3;
    c.CantRMAct = 1;
    const bool boxes[TransferKindCount] = {false, false, false, true};
    RunReport r = buildRunReport(c, boxes);
    r.account.status = RunStatus(status);
    r.title = reportTitle(r.account.status);
    KindAccount &notes = r.account.kind(TransferKind::Remitos);
    notes.selected = notes.started = true;
    notes.counted = 3;
    notes.written = 1;
    const QString record = QStringLiteral("remito R punto de venta 3, número 126, renglón del artículo 99 (VARIOS)");
    if (named)
        notes.records.append({record, QStringLiteral("GrabaRenglonesRemito"), ProblemKind::LeftOut,
                              QStringLiteral("el artículo no está en PRODUCTO")});

    FrmInfoKTZ report(r);
    report.show();
    QCOMPARE(report.Label1->text(), title);
    // The specified lines stay as they are.
    QCOMPARE(report.lblInfoRM->text(), QStringLiteral("Remitos Actualizados: 1 de 3 (2*)"));
    QCOMPARE(report.Label2->text(), QStringLiteral("(*) No se detectaron modificaciones."));
    QCOMPARE(report.lblEstado->isVisible(), details);
    QCOMPARE(report.lstRegistros->isVisible(), details);
    if (!details)
        return;
    QVERIFY(report.lblEstado->text().startsWith(QStringLiteral("Estado: ") + statusText(RunStatus(status))));
    QStringList items;
    for (int i = 0; i < report.lstRegistros->count(); ++i)
        items << report.lstRegistros->item(i)->text();
    QCOMPARE(
        items.value(0),
        QStringLiteral("Remitos: 3 leídos = 1 grabados + 0 sin cambios + 0 omitidos + 0 fallidos + 2 no alcanzados"));
    QCOMPARE(items.size(), named ? 2 : 1);
    if (named)
        QVERIFY(items[1].startsWith(QStringLiteral("Omitido: ") + record));
}

void TstRunWindows::counterLine_data()
{
    QTest::addColumn<int>("counted");
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("barValue");
    QTest::addColumn<int>("barMaximum");
    QTest::newRow("counted, none done") << 5 << 0 << QStringLiteral("Actualizando 0 de 5 registros") << 0 << 5;
    QTest::newRow("one ahead of the bar") << 5 << 1 << QStringLiteral("Actualizando 2 de 5 registros") << 1 << 5;
    QTest::newRow("after the last record") << 5 << 5 << QStringLiteral("Actualizando 6 de 5 registros") << 5 << 5;
    // A step whose records grew after counting goes past the maximum.
    QTest::newRow("past the maximum") << 2 << 4 << QStringLiteral("Actualizando 5 de 2 registros") << 2 << 2;
    // Nothing counted: the bar keeps the previous maximum, the line its text.
    QTest::newRow("nothing to do") << 0 << 0 << QStringLiteral("Actualizando 1 de 100 registros") << 0 << 100;
}

void TstRunWindows::counterLine()
{
    QFETCH(int, counted);
    QFETCH(int, records);
    QFETCH(QString, line);
    QFETCH(int, barValue);
    QFETCH(int, barMaximum);
    OrvaFixture f;
    RunContext context(f.session);
    FrmStatus window(context, nullptr);
    context.progress.setView(&window);
    context.progress.reset();
    context.progress.begin(QStringLiteral("Actualizando Clientes"));
    context.progress.counted(counted);
    for (int i = 0; i < records; ++i)
        context.progress.tick();

    QCOMPARE(window.lblStatus->text(), QStringLiteral("Actualizando Clientes"));
    QCOMPARE(window.lblProgreso->text(), line);
    QCOMPARE(context.progress.state().value, float(records));
    QCOMPARE(window.PB->value(), barValue);
    QCOMPARE(window.PB->maximum(), barMaximum);
}

void TstRunWindows::systemIcon_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<bool>("icoFile");
    QTest::addColumn<QString>("expected"); // "resource", "file" or "none"
    QTest::newRow("default name from the resources") << QString() << true << QStringLiteral("resource");
    QTest::newRow("named resource") << QStringLiteral("[Iconos]\nIconoDelSistema=ICONVELMORAMC\n") << false
                                    << QStringLiteral("resource");
    QTest::newRow("unknown name: the file")
        << QStringLiteral("[iconos]\niconodelsistema=OTRO\n") << true << QStringLiteral("file");
    QTest::newRow("unknown name and no file")
        << QStringLiteral("[Iconos]\nIconoDelSistema=OTRO\n") << false << QStringLiteral("none");
}

void TstRunWindows::systemIcon()
{
    QFETCH(QString, ini);
    QFETCH(bool, icoFile);
    QFETCH(QString, expected);
    OrvaFixture f;
    auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(f.session.programFolder + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    if (!ini.isEmpty())
        write(QStringLiteral("CN000pr.INI"), ini.toUtf8());
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    if (icoFile)
        QVERIFY(image.save(f.session.programFolder + QStringLiteral("velmora.ico"), "ICO"));

    QWidget window;
    PreparaVentana(window, f.session);
    QCOMPARE(window.testAttribute(Qt::WA_SetWindowIcon), expected != QLatin1String("none"));
    if (expected == QLatin1String("none"))
        return;
    const QImage shown = window.windowIcon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    const bool red = shown.pixelColor(8, 8) == QColor(Qt::red);
    QCOMPARE(red, expected == QLatin1String("file"));
}

void TstRunWindows::cancelConfirmationInSpanish()
{
    QVERIFY2(installSpanishQtTexts(), "Qt's Spanish translation (package qt6-translations-l10n)");
    OrvaFixture f;
    DesktopOperator op;
    f.services.setOperator(&op);
    RunContext context(f.session);
    FrmStatus window(context, nullptr);
    window.show();

    // Answers the confirmation once it is up with the button that reads
    // `answer`, noting every button's text.
    QStringList buttons;
    QString title;
    const auto answerWith = [&](const QString &answer) {
        auto *poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, poll, [&, poll, answer] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll->stop();
            poll->deleteLater();
            title = box->windowTitle();
            buttons.clear();
            QAbstractButton *chosen = nullptr;
            for (QAbstractButton *b : box->buttons()) {
                buttons << b->text().remove(QLatin1Char('&'));
                if (buttons.last() == answer)
                    chosen = b;
            }
            if (chosen)
                chosen->click();
            else
                box->reject();
        });
        poll->start(10);
    };

    answerWith(QStringLiteral("No"));
    window.CmdCancelar->click();
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("No"), QStringLiteral("Sí")}));
    QCOMPARE(title, QStringLiteral("ATENCIÓN"));
    QVERIFY(!context.PARAR);

    answerWith(QStringLiteral("Sí"));
    window.CmdCancelar->click();
    QVERIFY(context.PARAR);
}

QTEST_MAIN(TstRunWindows)
#include "tst_runwindows.moc"
