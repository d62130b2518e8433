// Statement texts: the values go into the pattern's places in order, each
// as its kind's literal, and a value is never read as part of the pattern.

#include "services/errors.h"
#include "services/statement.h"

#include <QTest>

class TstStatement : public QObject
{
    Q_OBJECT

private slots:
    void valuesFillThePlacesInOrder_data();
    void valuesFillThePlacesInOrder();
    void aPatternGivenTheWrongNumberOfValuesIsRefused();
};

void TstStatement::valuesFillThePlacesInOrder_data()
{
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("expected");
    QTest::newRow("texts quoted, inner quotes doubled")
        << Statement(QStringLiteral("WHERE A={} AND B = {}")).text(QStringLiteral("D'AMICO")).text(QString()).sql()
        << "WHERE A='D''AMICO' AND B = ''";
    QTest::newRow("a value holding the place mark stays as given")
        << Statement(QStringLiteral("{},{}")).text(QStringLiteral("{}")).integer(7).sql() << "'{}',7";
    QTest::newRow("codes right-aligned, then quoted") << Statement(QStringLiteral("TC = {} AND X = {}"))
                                                             .code(QStringLiteral("RM"), 4)
                                                             .code(QStringLiteral("O'1"), 5)
                                                             .sql()
                                                      << "TC = '  RM' AND X = '  O''1'";
    QTest::newRow("numbers plain, Null as 0, amounts with four decimals at most")
        << Statement(QStringLiteral("{} {} {} {}"))
               .number(QStringLiteral(" 12.50"))
               .number(QVariant())
               .number(1e11)
               .amount(Currency::fromDouble(7.85124))
               .sql()
        << "12.5 0 100000000000 7.8512";
    QTest::newRow("parts as they stand") << Statement(QStringLiteral("SELECT * FROM {} WHERE {}"))
                                                .part(QStringLiteral("V_TA_CPTE"))
                                                .part(
                                                    Statement(QStringLiteral("CODIGO = {}")).text(QStringLiteral("FC")))
                                                .sql()
                                         << "SELECT * FROM V_TA_CPTE WHERE CODIGO = 'FC'";
    QTest::newRow("braces that are no place stay")
        << Statement(QStringLiteral("A = '{' AND B = {{} AND C = '}{'{}")).integer(1).integer(2).sql()
        << "A = '{' AND B = {1 AND C = '}{'2";
    Statement many(QStringLiteral("({})").repeated(40));
    QString manyExpected;
    for (int i = 0; i < 40; ++i) {
        many.integer(i);
        manyExpected += QStringLiteral("(%1)").arg(i);
    }
    QTest::newRow("more values than fit in the statement's own room") << many.sql() << manyExpected;
    QTest::newRow("insert of column and literal pairs") << insertStatement(
        QStringLiteral("INSERT INTO T"),
        {{QStringLiteral("A"), SqlLiteral::null()}, {QStringLiteral("B"), SqlLiteral::text(QStringLiteral("x"))}})
                                                        << "INSERT INTO T (A,B) VALUES (NULL,'x')";
}

void TstStatement::valuesFillThePlacesInOrder()
{
    QFETCH(QString, built);
    QFETCH(QString, expected);
    QCOMPARE(built, expected);
}

void TstStatement::aPatternGivenTheWrongNumberOfValuesIsRefused()
{
    // A text missing a value, or with one too many, must not run.
    QVERIFY_THROWS_EXCEPTION(RunTimeError,
                             Statement(QStringLiteral("A = {} AND B = {}")).text(QStringLiteral("x")).sql());
    QVERIFY_THROWS_EXCEPTION(RunTimeError, Statement(QStringLiteral("A = {}")).integer(1).integer(2).sql());
    // A text that is no number never goes where a number goes.
    QVERIFY_THROWS_EXCEPTION(RunTimeError, Statement(QStringLiteral("{}")).number(QStringLiteral("1; DROP")));
}

QTEST_GUILESS_MAIN(TstStatement)
#include "tst_statement.moc"
