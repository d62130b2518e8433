// The operator's choices on a failing statement: retry runs it again,
// continue goes on after it, anything else gives up to the procedure whose
// handler was asked. Checked on a real SQLite connection.

#include "services/sharedservices.h"
#include "support/fixtures.h"

#include <QTest>

class TstErrorHandling : public QObject
{
    Q_OBJECT

private slots:
    void retryRunsTheStatementAgain();
    void continueSkipsOnlyTheFailingStatement();
    void giveUpUnwindsToTheHandlingScope();
    void namedStepsAndRecordsAppearInTheMessage();
    void ignoredRegionsSkipWithoutAsking();
    void aRejectedStatementIsNotALostConnection();
    void passwordsNeverReachTheLog();
};

void TstErrorHandling::retryRunsTheStatementAgain()
{
    OrvaFixture f;
    ErrorHandling::Scope scope(f.services.errors, QStringLiteral("Prueba"));
    f.op.errorChoices = {ChoiceRetry};
    int runs = 0;
    const bool done = f.services.errors.attempt([&] {
        if (++runs == 1)
            f.services.session.connection().executeOrThrow(QStringLiteral("INSERT INTO NO_TABLE VALUES (1)"));
    });
    QVERIFY(done);
    QCOMPARE(runs, 2);
    QCOMPARE(f.op.errorsSeen.size(), 1);
    QCOMPARE(f.op.errorsSeen.first().procedure, QStringLiteral("Prueba"));
    QVERIFY(f.op.errorsSeen.first().statement.contains(QStringLiteral("NO_TABLE")));
}

void TstErrorHandling::continueSkipsOnlyTheFailingStatement()
{
    OrvaFixture f;
    ErrorHandling::Scope scope(f.services.errors, QStringLiteral("Prueba"));
    f.op.errorChoices = {ChoiceIgnore};
    Connection &orva = f.services.session.connection();
    QVERIFY(!orva.Execute(QStringLiteral("INSERT INTO TA_ESTADOS (CODIGO) VALUES")));
    QVERIFY(orva.Execute(QStringLiteral("INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES ('   1', 'X')")));
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM TA_ESTADOS")).toInt(), 1);
    // A recordset whose open failed and was continued comes back empty.
    f.op.errorChoices = {ChoiceIgnore};
    Recordset rs = f.services.session.OpenRecordset(QStringLiteral("SELECT * FROM NO_TABLE"));
    QVERIFY(!rs.isOpen());
    QVERIFY(rs.isEmpty());
}

void TstErrorHandling::giveUpUnwindsToTheHandlingScope()
{
    OrvaFixture f;
    ErrorHandling &errors = f.services.errors;
    Connection &orva = f.services.session.connection();
    ErrorHandling::Scope outer(errors, QStringLiteral("cmdActualizar_Click"));
    try {
        {
            // The procedure's own handler ends it as its contract says.
            ErrorHandling::Scope inner(errors, QStringLiteral("ConsultaComprobante"));
            const int ended = inner.run(
                [&] {
                    orva.Execute(QStringLiteral("UPDATE NO_TABLE SET X = 1"));
                    return 1;
                },
                [](const GiveUp &g) { return g.error.number == int(ErrorNumber::SqlStatement) ? -1 : 0; });
            QCOMPARE(ended, -1);
            QCOMPARE(inner.run([] { return 2; }, 0), 2);
        }
        // After the inner handler ended its procedure, the outer one applies
        // again: a scope that only names the step lets its give-up through.
        ErrorHandling::Scope named(errors, QStringLiteral("ActualizaArticulos"), ErrorHandling::Mode::NameOnly);
        named.run([&] { orva.Execute(QStringLiteral("UPDATE NO_TABLE SET X = 2")); });
        QFAIL("giving up must not return");
    } catch (const GiveUp &g) {
        QVERIFY(outer.owns(g));
        QCOMPARE(g.error.number, int(ErrorNumber::SqlStatement));
    }
    QCOMPARE(f.op.errorsSeen.size(), 2);
}

void TstErrorHandling::namedStepsAndRecordsAppearInTheMessage()
{
    OrvaFixture f;
    ErrorHandling &errors = f.services.errors;
    ErrorHandling::Scope run(errors, QStringLiteral("cmdActualizar_Click"));
    ErrorHandling::Scope step(errors, QStringLiteral("ActualizaArticulos"), ErrorHandling::Mode::NameOnly);
    errors.setRecord(QStringLiteral("artículo 123, rubro 4"));
    f.op.errorChoices = {ChoiceIgnore};
    QVERIFY(!errors.attempt([] { throwNullError(QStringLiteral("PROD_MEDIDA")); }));
    QCOMPARE(f.op.errorsSeen.size(), 1);
    const RunError &e = f.op.errorsSeen.first();
    QCOMPARE(e.procedure, QStringLiteral("ActualizaArticulos"));
    QCOMPARE(e.record, QStringLiteral("artículo 123, rubro 4"));
    QVERIFY(e.text().contains(QStringLiteral("PROD_MEDIDA")));
    QVERIFY(e.text().contains(QStringLiteral("rubro 4")));
}

void TstErrorHandling::ignoredRegionsSkipWithoutAsking()
{
    OrvaFixture f;
    ErrorHandling::Scope run(f.services.errors, QStringLiteral("cmdActualizar_Click"));
    {
        ErrorHandling::Scope lines(f.services.errors, QStringLiteral("GrabaStockVenta"),
                                   ErrorHandling::Mode::IgnoreAll);
        QVERIFY(!f.services.session.connection().Execute(QStringLiteral("INSERT INTO NO_TABLE VALUES (1)")));
    }
    QVERIFY(f.op.errorsSeen.isEmpty());
}

void TstErrorHandling::aRejectedStatementIsNotALostConnection()
{
    // SQLite reports a failing step as a connection error; only a failing
    // file is one. A constraint, at the statement or at the commit, is not.
    OrvaFixture f;
    Connection &orva = f.services.session.connection();
    orva.executeOrThrow(QStringLiteral("INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES ('   1', 'X')"));
    try {
        orva.executeOrThrow(QStringLiteral("INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES ('   1', 'Y')"));
        QFAIL("a duplicate key must be rejected");
    } catch (const RunTimeError &e) {
        QCOMPARE(e.error().number, int(ErrorNumber::SqlStatement));
    }
    orva.close();
    try {
        orva.executeOrThrow(QStringLiteral("SELECT 1"));
        QFAIL("a closed connection must fail");
    } catch (const RunTimeError &e) {
        QCOMPARE(e.error().number, int(ErrorNumber::ConnectionFailure));
    }
}

void TstErrorHandling::passwordsNeverReachTheLog()
{
    OrvaFixture f;
    ErrorHandling::Scope run(f.services.errors, QStringLiteral("cmdActualizar_Click"));
    f.op.errorChoices = {ChoiceIgnore};
    f.services.errors.attempt([] {
        throw RunTimeError(RunError{ErrorNumber::ConnectionFailure,
                                    QStringLiteral("Driver={X};Server=s;Database=d;Uid=u;Pwd=Secreto1"),
                                    {},
                                    {},
                                    {}});
    });
    QFile log(f.dir.filePath(QStringLiteral("traspasor.log")));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    QVERIFY(text.contains("Pwd=***"));
    QVERIFY(!text.contains("Secreto1"));
    QVERIFY(!f.op.errorsSeen.first().text().contains(QStringLiteral("Secreto1")));
}

QTEST_GUILESS_MAIN(TstErrorHandling)
#include "tst_errorhandling.moc"
