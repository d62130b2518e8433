// The stock discharge of new delivery notes: the note's lines become "RM"
// stock movements in the default deposit, written inside the note's own
// transaction and undone with it.

#include "deliverynotes/deliverynotetransfer.h"
#include "notefixture.h"
#include "run/exitcodes.h"
#include "run/rundriver.h"
#include "services/svctools.h"
#include "support/fixtures.h"

#include <QFile>
#include <QTest>

namespace {

// An outgoing "RM" book of point of sale 3, stock discharge on, deposit 1,
// and the Orva articles the lines name.
QString orvaRows(const QString &extra = {})
{
    return orvaSetup(QStringLiteral(
               "UPDATE V_TA_CPTE SET ES = 'S' WHERE CODIGO = '  RM';\n"
               "INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('DescargaStockRemitos', 'SI', 'DATOS'), "
               "('DEPOSITODEFAULT', '1', 'DATOS'), ('MotivoStockDefault', '2', 'DATOS');\n"
               "INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, COSTO, CUENTAPROVEEDOR) VALUES "
               "('                     10-2', 'ACEITE', 70, '2120001'), "
               "('                     11-2', 'FILTRO', 30, '2120002'), "
               "('                     12-2', 'GRASA', 5, NULL);\n"))
        + extra;
}

// Note id (R 3-number) with lines "product:unit:quantity".
QString noteWithLines(int id, int number, const QStringList &lines)
{
    QString sql = noteRow(id, QStringLiteral("2026-03-02"), 3, number);
    for (const QString &line : lines) {
        const QStringList p = line.split(QLatin1Char(':'));
        sql += QStringLiteral("INSERT INTO FACT_OUT (FCOUT_ID, FCOUT_PROD_ID, FCOUT_RUB, FCOUT_UNID, FCOUT_DESCR, "
                              "FCOUT_CANT, FCOUT_PVENTA, FCOUT_NETO, FCOUT_IVA_PORC, FCOUT_TOTAL) VALUES "
                              "(%1, %2, 2, '%3', 'Art''%2', %4, 121, 100, 21, 121);\n")
                   .arg(id)
                   .arg(p.at(0), p.at(1), p.at(2));
    }
    return sql;
}

QString ktzRows(const QString &notes)
{
    return QStringLiteral("INSERT INTO PRODUCTO (PROD_ID, PROD_RUB, PROD_IMPINT) VALUES (10, 2, 0), (11, 2, 0), "
                          "(12, 2, 0);\n")
        + notes;
}

// "article:quantity:sequence" of the movements of a note.
QString movements(RunFixture &f, const QString &note)
{
    QStringList parts;
    for (const QVariantMap &row : f.orvaRows(QStringLiteral("SELECT * FROM V_MV_STOCK WHERE IDCOMPROBANTE = '%1' "
                                                            "ORDER BY SECUENCIA")
                                                 .arg(note)))
        parts << row.value(QStringLiteral("IDARTICULO")).toString().trimmed() + QLatin1Char(':')
                + SvcTools::NumberText(row.value(QStringLiteral("CANTIDAD"))) + QLatin1Char(':')
                + row.value(QStringLiteral("SECUENCIA")).toString();
    return parts.join(QLatin1Char(' '));
}

void runStep(RunFixture &f, DeliveryNoteTransfer &step)
{
    ErrorHandling::Scope handler(f.services.errors, QStringLiteral("cmdActualizar_Click"));
    ErrorHandling::Scope named(f.services.errors, QStringLiteral("ActualizaRemitos"), ErrorHandling::Mode::NameOnly);
    step.run(f.context);
}

// The notes step run unattended by the run driver, with the KTZ database
// named in Orva; what the run said about itself.
RunAccount runUnattended(RunFixture &f, RunOutcome &outcome)
{
    f.execOrva(QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('KTZ_BASEDEDATOS', '%1', "
                              "'DATOS')")
                   .arg(f.ktzPath));
    DeliveryNoteTransfer step(f.session);
    OneKindFront front(TransferKind::Remitos);
    RunDriver driver(f.context, front, {nullptr, nullptr, nullptr, &step});
    driver.unattended = true;
    outcome = driver.cmdActualizar_Click();
    return driver.lastRun();
}

} // namespace

class TstStockDischarge : public QObject
{
    Q_OBJECT

private slots:
    void noteLinesBecomeMovements_data();
    void noteLinesBecomeMovements();
    void movementFieldsOfANoteLine();
    void givenUpNoteTakesItsMovementsAlong();
    void refusedDischargeIsNamedAndRunEndsWithOmissions_data();
    void refusedDischargeIsNamedAndRunEndsWithOmissions();
};

void TstStockDischarge::noteLinesBecomeMovements_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("expected");
    QTest::newRow("three lines") << QStringList{"10:LT:2", "11:UN:1", "12:KG:0.25"}
                                 << "10-2:-2:1 11-2:-1:2 12-2:-0.25:3";
    QTest::newRow("a line of quantity 0 gives no movement") << QStringList{"10:LT:0", "11:UN:3"} << "11-2:-3:1";
}

void TstStockDischarge::noteLinesBecomeMovements()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, expected);
    RunFixture f(orvaRows(), ktzRows(noteWithLines(1, 125, lines) + noteWithLines(2, 126, {"10:LT:1"})));
    int yields = 0;
    f.context.onYield = [&] { ++yields; };
    DeliveryNoteTransfer step(f.session);
    runStep(f, step);
    QCOMPARE(movements(f, QStringLiteral("000300000125R")), expected);
    // The engine made for the first note serves the next one too.
    QCOMPARE(movements(f, QStringLiteral("000300000126R")), QStringLiteral("10-2:-1:1"));
    // Two yields per note and one per line copied into the grid.
    QCOMPARE(yields, 2 * 2 + int(lines.size()) + 1);
    QVERIFY(!f.context.orva().inTransaction());
    QCOMPARE(f.op.errorsSeen.size(), 0);
}

void TstStockDischarge::movementFieldsOfANoteLine()
{
    RunFixture f(orvaRows(), ktzRows(noteWithLines(1, 125, {"11:UN:3"})));
    DeliveryNoteTransfer step(f.session);
    runStep(f, step);
    const QList<QVariantMap> rows = f.orvaRows(QStringLiteral("SELECT * FROM V_MV_STOCK"));
    QCOMPARE(rows.size(), 1);
    const QVariantMap row = rows.first();
    QCOMPARE(row.value(QStringLiteral("TC")).toString(), QStringLiteral("  RM"));
    QCOMPARE(row.value(QStringLiteral("IDCOMPLEMENTO")).toInt(), 0);
    QCOMPARE(row.value(QStringLiteral("FECHA")).toString(), QStringLiteral("2026-03-02"));
    QCOMPARE(row.value(QStringLiteral("IDDEPOSITO")).toString(), QStringLiteral("   1"));
    QCOMPARE(row.value(QStringLiteral("IDARTICULO")).toString(), QStringLiteral("                     11-2"));
    QCOMPARE(row.value(QStringLiteral("DESCRIPCION")).toString(), QStringLiteral("Art11"));
    QCOMPARE(row.value(QStringLiteral("IDUNIDAD")).toString(), QStringLiteral("  UN"));
    QCOMPARE(row.value(QStringLiteral("IdMotivoStock")).toString(), QStringLiteral("   2"));
    QCOMPARE(row.value(QStringLiteral("CuentaProveedor")).toString(), QStringLiteral("2120002"));
    QCOMPARE(row.value(QStringLiteral("Costo")).toInt(), 30);
    QCOMPARE(row.value(QStringLiteral("IdCaja")).toInt(), 1);
    QVERIFY(row.value(QStringLiteral("Tc_Origen")).isNull());
    QVERIFY(row.value(QStringLiteral("IdTecnico")).isNull());
}

void TstStockDischarge::givenUpNoteTakesItsMovementsAlong()
{
    // Every stock movement leaves a row that Orva only rejects at the commit:
    // the note's commit fails after its movements were written, and the
    // unattended run gives the note up.
    RunFixture f(
        orvaRows(QStringLiteral(
            "CREATE TABLE STOCK_KEYS (ID INTEGER PRIMARY KEY);\n"
            "CREATE TABLE STOCK_REFS (ID INTEGER REFERENCES STOCK_KEYS (ID) DEFERRABLE INITIALLY DEFERRED);\n")),
        ktzRows(noteWithLines(1, 125, {"10:LT:2", "11:UN:1", "12:KG:4"})));
    Connection &orva = f.context.orva();
    orva.executeOrThrow(QStringLiteral("PRAGMA foreign_keys = ON"));
    orva.executeOrThrow(QStringLiteral("CREATE TRIGGER stock_ref AFTER INSERT ON V_MV_STOCK "
                                       "BEGIN INSERT INTO STOCK_REFS (ID) VALUES (NEW.SECUENCIA); END"));
    // The embedded engine reports a failed commit as a connection error, so
    // the run may end either way; both end through the rollback.
    RunOutcome outcome;
    runUnattended(f, outcome);
    QVERIFY(outcome == RunOutcome::GaveUp || outcome == RunOutcome::ConnectionLost);
    QVERIFY(!orva.inTransaction());
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK")).toInt(), 0);
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM STOCK_REFS")).toInt(), 0);
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTE")).toInt(), 0);
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTEINSUMOS")).toInt(), 0);
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT R_ULTIMO_NRO FROM V_TA_CPTE")).toInt(), 100);
    // The commit failed because of the note's movements.
    QFile log(f.services.log.path());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(log.readAll()).contains(QStringLiteral("FOREIGN KEY constraint failed")));
}

void TstStockDischarge::refusedDischargeIsNamedAndRunEndsWithOmissions_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("step");
    const QString note = QStringLiteral("remito R punto de venta 3, número 125");
    QTest::newRow("an article's movement")
        << "BEFORE INSERT ON V_MV_STOCK WHEN NEW.IDARTICULO LIKE '%11-2'" << note + ", renglón 2 (artículo 11)"
        << "ActualizaStock";
    QTest::newRow("a component's movement")
        << "BEFORE INSERT ON V_MV_STOCK WHEN NEW.TC = '  PE'" << note + ", renglón 1 (artículo 10), insumo C"
        << "ActualizaStock";
    QTest::newRow("the components' book")
        << "BEFORE UPDATE ON V_TA_CPTE WHEN OLD.CODIGO = '  PE'" << note + ", contador del talonario PE"
        << "ActualizaStock";
    QTest::newRow("the note's book") << "BEFORE UPDATE ON V_TA_CPTE WHEN OLD.CODIGO = '  RM'" << note
                                     << "ConsultaComprobante";
}

void TstStockDischarge::refusedDischargeIsNamedAndRunEndsWithOmissions()
{
    // The stock engine and the counter update end on a refused statement and
    // the note goes on to its commit: the run finishes, but it must say what
    // is missing and end with records left out, never as a clean run.
    QFETCH(QString, trigger);
    QFETCH(QString, named);
    QFETCH(QString, step);
    RunFixture f(orvaRows(QStringLiteral(
                     "INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, SISTEMA, Letras, ES, X_SUC_DEFAULT, X_ULTIMO_NRO, "
                     "X_NRO_DESDE, X_NRO_HASTA) VALUES ('  PE', 1, 'STOCK', 'X', 'S', 1, 15, 1, 99999999);\n"
                     "INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, COSTO) VALUES "
                     "('                        C', 'Componente', 4);\n"
                     "INSERT INTO V_MA_INSUMOS (IDARTICULO, IdArticuloInsumo, IdUnidadInsumo, Cantidad) VALUES "
                     "('                     10-2', '                        C', '  UN', 3);\n")),
                 ktzRows(noteWithLines(1, 125, {"10:LT:2", "11:UN:1", "12:KG:4"})));
    f.context.orva().executeOrThrow(
        QStringLiteral("CREATE TRIGGER refuse %1 BEGIN SELECT RAISE(ABORT, 'rechazado por la prueba'); END")
            .arg(trigger));
    RunOutcome outcome;
    const RunAccount run = runUnattended(f, outcome);
    QCOMPARE(outcome, RunOutcome::Finished);
    // The note itself reached Orva.
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM V_MV_CPTEINSUMOS")).toInt(), 3);
    QCOMPARE(run.status, RunStatus::CompletedWithOmissions);
    QCOMPARE(run.exitCode, int(ExitCompletedWithOmissions));
    const KindAccount &notes = run.passes.first().kind(TransferKind::Remitos);
    QCOMPARE(notes.written, 1);
    QCOMPARE(notes.records.size(), 1);
    QCOMPARE(notes.records.first().record, named);
    QCOMPARE(notes.records.first().step, step);
    QVERIFY2(notes.records.first().reason.contains(QStringLiteral("rechazado por la prueba")),
             qPrintable(notes.records.first().reason));
}

QTEST_GUILESS_MAIN(TstStockDischarge)
#include "tst_stockdischarge.moc"
