// A statement runs through its shape prepared on the PostgreSQL server only
// when every literal means there what it means in the statement: the shape is
// prepared the second time it comes, once, and a value that its placeholder's
// type would read differently (a number into a text, a whole number beyond
// the type's range, a decimal into a whole type) makes the statement run as
// it stands. A shape the server refused is not offered again.

#include "services/serverstatements.h"

#include <QTest>

class TstServerStatements : public QObject
{
    Q_OBJECT

private slots:
    void preparedTheSecondTimeAndOnce();
    void valuesOnlyWhereTheyMeanTheSame_data();
    void valuesOnlyWhereTheyMeanTheSame();
    void refusedShapeRunsAsItStands();
};

void TstServerStatements::preparedTheSecondTimeAndOnce()
{
    ServerStatements statements;
    statements.setEnabled(true);
    QStringList asked;
    const auto prepare = [&](const QString &name, const QString &shape) -> std::optional<QStringList> {
        asked << name + QLatin1Char(' ') + shape;
        return QStringList{QStringLiteral("text"), QStringLiteral("integer")};
    };
    const QString select = QStringLiteral("SELECT * FROM T WHERE a = '%1' AND b = %2");
    QCOMPARE(statements.executeText(select.arg(QLatin1String("x")).arg(-1), prepare), QString());
    QVERIFY(asked.isEmpty());
    QCOMPARE(statements.executeText(select.arg(QLatin1String("O''Brien")).arg(7), prepare),
             QStringLiteral("EXECUTE traspasor_1('O''Brien',7)"));
    QCOMPARE(statements.executeText(select.arg(QLatin1String("z")).arg(-3), prepare),
             QStringLiteral("EXECUTE traspasor_1('z',-3)"));
    QCOMPARE(asked, QStringList{QStringLiteral("traspasor_1 SELECT * FROM T WHERE a = $1 AND b = $2")});

    // Without values, and a new shape under a new name.
    const QString all = QStringLiteral("SELECT * FROM T");
    statements.executeText(all, prepare);
    QCOMPARE(statements.executeText(all, [](const QString &, const QString &) { return QStringList{}; }),
             QStringLiteral("EXECUTE traspasor_2"));

    // A NUL would end the text early: the statement runs as it stands.
    const QString withNul = QStringLiteral("SELECT * FROM T WHERE a = 'x") + QChar(0) + QStringLiteral("'");
    statements.executeText(withNul, prepare);
    QCOMPARE(statements.executeText(withNul, prepare), QString());

    // A new session on the server knows none of them.
    statements.clear();
    asked.clear();
    statements.executeText(select.arg(QLatin1String("x")).arg(1), prepare);
    QCOMPARE(statements.executeText(select.arg(QLatin1String("x")).arg(1), prepare),
             QStringLiteral("EXECUTE traspasor_1('x',1)"));
    QCOMPARE(asked.size(), 1);
}

void TstServerStatements::valuesOnlyWhereTheyMeanTheSame_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("type"); // as the server names the placeholder's type
    QTest::addColumn<bool>("prepared");
    QTest::newRow("quoted text to a whole number") << "'00000126'"
                                                   << "integer" << true;
    QTest::newRow("quoted text to a date") << "'2026-03-03'"
                                           << "date" << true;
    QTest::newRow("whole number to an integer") << "-2147483648"
                                                << "integer" << true;
    QTest::newRow("whole number beyond an integer") << "2147483648"
                                                    << "integer" << false;
    QTest::newRow("whole number to a small integer") << "32767"
                                                     << "smallint" << true;
    QTest::newRow("whole number beyond a small integer") << "-32769"
                                                         << "smallint" << false;
    QTest::newRow("whole number to a big integer") << "9223372036854775807"
                                                   << "bigint" << true;
    QTest::newRow("whole number to an exact decimal") << "14300"
                                                      << "numeric" << true;
    QTest::newRow("whole number to a text") << "17"
                                            << "character varying" << false;
    QTest::newRow("decimal to an exact decimal") << "242.9752"
                                                 << "numeric" << true;
    QTest::newRow("decimal to a float") << "-0.5"
                                        << "real" << true;
    QTest::newRow("decimal to a whole number") << "2.5"
                                               << "integer" << false;
    QTest::newRow("decimal to a text") << "2.5"
                                       << "text" << false;
}

void TstServerStatements::valuesOnlyWhereTheyMeanTheSame()
{
    QFETCH(QString, value);
    QFETCH(QString, type);
    QFETCH(bool, prepared);
    ServerStatements statements;
    statements.setEnabled(true);
    const auto prepare = [&](const QString &, const QString &) {
        return std::optional<QStringList>(QStringList{type});
    };
    // Decimals are taken only as whole values among the VALUES of an INSERT.
    const QString sql = QStringLiteral("INSERT INTO T (a) VALUES (%1)").arg(value);
    statements.executeText(sql, prepare);
    QCOMPARE(statements.executeText(sql, prepare),
             prepared ? QStringLiteral("EXECUTE traspasor_1(%1)").arg(value) : QString());
}

void TstServerStatements::refusedShapeRunsAsItStands()
{
    ServerStatements statements;
    statements.setEnabled(true);
    int asked = 0;
    const auto refuse = [&](const QString &, const QString &) -> std::optional<QStringList> {
        ++asked;
        return std::nullopt;
    };
    const QString sql = QStringLiteral("SELECT * FROM T WHERE a = 1 + 1");
    for (int i = 0; i < 4; ++i)
        QCOMPARE(statements.executeText(sql, refuse), QString());
    QCOMPARE(asked, 1);

    // Types that do not match the placeholders count as refused too.
    const QString other = QStringLiteral("SELECT * FROM T WHERE a = 1");
    const auto tooFew = [&](const QString &, const QString &) { return std::optional<QStringList>(QStringList{}); };
    statements.executeText(other, tooFew);
    QCOMPARE(statements.executeText(other, tooFew), QString());
    QCOMPARE(statements.executeText(other,
                                    [](const QString &, const QString &) {
                                        return std::optional<QStringList>(QStringList{QStringLiteral("integer")});
                                    }),
             QString());
}

QTEST_GUILESS_MAIN(TstServerStatements)
#include "tst_serverstatements.moc"
