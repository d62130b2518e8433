// Insert or update by key on a real Orva file: a failed read writes nothing,
// no row inserts, a row is updated only when the comparison says so, and
// what the write said decides the outcome.

#include "services/keyedrow.h"
#include "services/sharedservices.h"
#include "support/fixtures.h"

#include <QTest>

class TstKeyedRow : public QObject
{
    Q_OBJECT

private slots:
    void outcomes_data();
    void outcomes();
};

void TstKeyedRow::outcomes_data()
{
    QTest::addColumn<bool>("stored");    // TA_ESTADOS holds code '   1'
    QTest::addColumn<bool>("readFails"); // the read names a table that is not there; the operator continues
    QTest::addColumn<int>("change");     // what the comparison decides
    QTest::addColumn<bool>("writeTakes");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("written"); // "insert", "update" or "" (no write asked)

    const int changed = int(RowChange::Changed), same = int(RowChange::Unchanged),
              undecided = int(RowChange::Undecided);
    QTest::newRow("failed read") << true << true << changed << true << int(KeyedWrite::NotRead) << "";
    QTest::newRow("no row") << false << false << same << true << int(KeyedWrite::Inserted) << "insert";
    QTest::newRow("no row, insert refused")
        << false << false << changed << false << int(KeyedWrite::Refused) << "insert";
    QTest::newRow("no row, undecided") << false << false << undecided << true << int(KeyedWrite::Undecided) << "";
    QTest::newRow("row, changed") << true << false << changed << true << int(KeyedWrite::Updated) << "update";
    QTest::newRow("row, unchanged") << true << false << same << true << int(KeyedWrite::Unchanged) << "";
    QTest::newRow("row, undecided") << true << false << undecided << true << int(KeyedWrite::Undecided) << "";
}

void TstKeyedRow::outcomes()
{
    QFETCH(bool, stored);
    QFETCH(bool, readFails);
    QFETCH(int, change);
    QFETCH(bool, writeTakes);
    QFETCH(int, outcome);
    QFETCH(QString, written);

    OrvaFixture f;
    ErrorHandling::Scope scope(f.services.errors, QStringLiteral("Prueba"));
    f.op.errorChoices = {ChoiceIgnore};
    SvcSession &session = f.services.session;
    if (stored)
        QVERIFY(session.connection().Execute(
            QStringLiteral("INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES ('   1', 'Uno')")));
    const QString table = readFails ? QStringLiteral("NO_TABLE") : QStringLiteral("TA_ESTADOS");
    bool comparedWithRow = false;
    QString asked;
    const KeyedWrite got = insertOrUpdateByKey(
        session, QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE CODIGO = '   1'"),
        [&](const Recordset *row) {
            comparedWithRow = row && row->value(QStringLiteral("DESCRIPCION")).toString() == QLatin1String("Uno");
            return RowChange(change);
        },
        [&](bool insert) {
            asked = insert ? QStringLiteral("insert") : QStringLiteral("update");
            return writeTakes;
        });
    QCOMPARE(int(got), outcome);
    QCOMPARE(asked, written);
    QCOMPARE(comparedWithRow, stored && !readFails);
    QCOMPARE(sentStatement(got), !written.isEmpty());
}

QTEST_GUILESS_MAIN(TstKeyedRow)
#include "tst_keyedrow.moc"
