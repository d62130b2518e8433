// The commit unit of one document on a real SQLite connection: what is not
// committed is rolled back however the document ends, and a COMMIT the
// database refuses is the document's failure, whatever the operator answers.

#include "services/documenttransaction.h"
#include "services/sharedservices.h"
#include "support/fixtures.h"

#include <QFile>
#include <QTest>

namespace {

const QString insertRow = QStringLiteral("INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES ('%1', 'X')");

int rows(OrvaFixture &f)
{
    return f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM TA_ESTADOS")).toInt();
}

QByteArray logText(OrvaFixture &f)
{
    QFile log(f.services.log.path());
    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
}

struct Stop
{};

} // namespace

class TstDocumentTransaction : public QObject
{
    Q_OBJECT

private slots:
    void rollsBackUnlessCommitted_data();
    void rollsBackUnlessCommitted();
    void failedCommit_data();
    void failedCommit();
};

void TstDocumentTransaction::rollsBackUnlessCommitted_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<int>("kept");
    QTest::newRow("committed") << "commit" << 1;
    QTest::newRow("left without a commit") << "none" << 0;
    QTest::newRow("unwound by a stop") << "stop" << 0;
    QTest::newRow("unwound by a given-up error") << "give up" << 0;
}

void TstDocumentTransaction::rollsBackUnlessCommitted()
{
    QFETCH(QString, ending);
    QFETCH(int, kept);
    OrvaFixture f;
    Connection &orva = f.services.session.connection();
    ErrorHandling::Scope run(f.services.errors, QStringLiteral("cmdActualizar_Click"));
    try {
        DocumentTransaction document(orva, QStringLiteral("factura 7"));
        QVERIFY(document.begun());
        QVERIFY(orva.inTransaction());
        QVERIFY(orva.Execute(insertRow.arg(QStringLiteral("   1"))));
        if (ending == QLatin1String("commit"))
            QVERIFY(document.commit());
        else if (ending == QLatin1String("stop"))
            throw Stop();
        else if (ending == QLatin1String("give up"))
            orva.Execute(QStringLiteral("INSERT INTO NO_TABLE VALUES (1)"));
    } catch (const Stop &) {
    } catch (const GiveUp &) {}
    QVERIFY(!orva.inTransaction());
    QCOMPARE(rows(f), kept);
    QCOMPARE(logText(f).contains("Se deshizo la transacción de factura 7"), kept == 0);
    // The connection takes the next document.
    DocumentTransaction next(orva, QStringLiteral("factura 8"));
    QVERIFY(orva.Execute(insertRow.arg(QStringLiteral("   2"))));
    QVERIFY(next.commit());
    QCOMPARE(rows(f), kept + 1);
}

void TstDocumentTransaction::failedCommit_data()
{
    QTest::addColumn<QList<int>>("choices");
    QTest::addColumn<bool>("mend"); // the fault is mended before the first answer
    QTest::addColumn<int>("commits");
    QTest::addColumn<bool>("committed");

    QTest::newRow("give up") << QList<int>{ChoiceAbort} << false << 1 << false;
    QTest::newRow("continue") << QList<int>{ChoiceIgnore} << false << 1 << false;
    QTest::newRow("retry, still refused, continue") << QList<int>{ChoiceRetry, ChoiceIgnore} << false << 2 << false;
    QTest::newRow("retry, still refused, give up") << QList<int>{ChoiceRetry, ChoiceAbort} << false << 2 << false;
    QTest::newRow("retry after the fault is mended") << QList<int>{ChoiceRetry} << true << 1 << true;
}

void TstDocumentTransaction::failedCommit()
{
    QFETCH(QList<int>, choices);
    QFETCH(bool, mend);
    QFETCH(int, commits);
    QFETCH(bool, committed);
    OrvaFixture f;
    Connection &orva = f.services.session.connection();
    blockCommitOf(f, QStringLiteral("TA_ESTADOS"), QStringLiteral("NEW.CODIGO = '   9'"));
    f.op.errorChoices = choices;
    if (mend)
        f.op.onError = [&](const RunError &) { mendBlockedCommit(f); };
    ErrorHandling::Scope run(f.services.errors, QStringLiteral("cmdActualizar_Click"));
    bool commitSaid = false;
    bool gaveUp = false;
    bool failedAtCommit = false;
    try {
        DocumentTransaction document(orva, QStringLiteral("factura 9"));
        QVERIFY(orva.Execute(insertRow.arg(QStringLiteral("   9"))));
        commitSaid = document.commit();
        failedAtCommit = document.failedAtCommit();
        QCOMPARE(document.committed(), commitSaid);
    } catch (const GiveUp &giveUp) {
        gaveUp = true;
        QCOMPARE(giveUp.error.statement, QStringLiteral("COMMIT TRANSACTION"));
    }
    QCOMPARE(f.op.errorsSeen.size(), commits);
    for (const RunError &e : f.op.errorsSeen) {
        QCOMPARE(e.statement, QStringLiteral("COMMIT TRANSACTION"));
        QCOMPARE(e.number, int(ErrorNumber::SqlStatement));
    }
    QCOMPARE(commitSaid, committed);
    QCOMPARE(gaveUp, choices.last() == ChoiceAbort);
    QCOMPARE(failedAtCommit, !committed && !gaveUp);
    QVERIFY(!orva.inTransaction());
    QCOMPARE(rows(f), committed ? 1 : 0);
    if (!committed)
        QVERIFY(logText(f).contains("Se deshizo la transacción de factura 9 (falló su COMMIT"));
}

QTEST_GUILESS_MAIN(TstDocumentTransaction)
#include "tst_documenttransaction.moc"
