// Statements run through a prepared shape must store and find exactly what
// the statement with its literals stores and finds: the same value, of the
// same type, in every kind of column. And a literal whose meaning a
// placeholder would change stays where it is.

#include "services/connection.h"
#include "services/errorhandling.h"
#include "services/recordset.h"
#include "services/statementshape.h"
#include "support/fixtures.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every row of table T as "typeof:value" texts, in rowid order.
QStringList storedRows(QSqlDatabase &db)
{
    QStringList rows;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT typeof(t), t, typeof(i), i, typeof(r), r, typeof(n), n, typeof(b), b "
                               "FROM T ORDER BY rowid")))
        return {q.lastError().text()};
    while (q.next()) {
        QStringList row;
        for (int c = 0; c < 10; c += 2)
            row << q.value(c).toString() + QLatin1Char(':') + q.value(c + 1).toString();
        rows << row.join(QLatin1Char(' '));
    }
    return rows;
}

QSqlDatabase tableDb(const QString &path, const QString &name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.open();
    QSqlQuery(db).exec(QStringLiteral("CREATE TABLE T (t TEXT, i INTEGER, r REAL, n NUMERIC, b)"));
    return db;
}

// The literal a value taken out stands for, written as the statement would
// write it: a decimal's own text inside its CAST, a text quoted with its
// quotes doubled, a whole number in digits.
QString literalOf(const QVariant &value, bool decimal)
{
    if (decimal || value.typeId() == QMetaType::LongLong)
        return value.toString();
    return QLatin1Char('\'') + value.toString().replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

// A statement of many pieces (texts with quotes and characters beyond ASCII,
// whole numbers up to beyond 64 bits, decimals, brackets, signs, comments,
// quoted names), none of which holds a "?".
QString generatedStatement(QRandomGenerator &random)
{
    static const QStringList leads = {"SELECT a FROM T WHERE", "INSERT INTO T (a, b) VALUES (", "insert into t values(",
                                      "UPDATE T SET a =", "DELETE FROM T WHERE"};
    static const QStringList pieces = {"'x'",
                                       "'O''Brien'",
                                       "''",
                                       "''''",
                                       "'ñandú € \u00a0'",
                                       "(",
                                       ")",
                                       ",",
                                       ",",
                                       "-",
                                       "+",
                                       "*",
                                       "=",
                                       "AND",
                                       "b",
                                       "[c d]",
                                       "\"e\"\"f\"",
                                       "/* 'g' 1.5 */",
                                       "-- 'h'\n",
                                       "X'00ff'",
                                       "0x1F",
                                       "1e5",
                                       "2.50",
                                       ".5",
                                       "-1.25",
                                       "7.",
                                       "9223372036854775807",
                                       "99999999999999999999",
                                       "ORDERS",
                                       "FROMAGE"};
    QString sql = leads.at(random.bounded(int(leads.size())));
    const int count = random.bounded(1, 60);
    for (int i = 0; i < count; ++i) {
        sql += random.bounded(4) ? QStringLiteral(" ") : QStringLiteral("\n\t");
        if (random.bounded(3) == 0)
            sql += QString::number(random.bounded(1, 1000000));
        else
            sql += pieces.at(random.bounded(int(pieces.size())));
    }
    return sql;
}

} // namespace

class TstStatementShape : public QObject
{
    Q_OBJECT

private slots:
    void shapes_data();
    void shapes();
    void boundValuesMeanTheLiterals_data();
    void boundValuesMeanTheLiterals();
    void sameShapeOpenTwice();
    void valuesPutBackGiveTheStatement();
    void serverShapes_data();
    void serverShapes();
};

void TstStatementShape::shapes_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("shape"); // empty: no shape, runs as it stands
    QTest::addColumn<QVariantList>("values");

    QTest::newRow("insert: texts, whole and decimal numbers")
        << "INSERT INTO T (a, b, c, d) VALUES ('O''Brien', 42, -1.50, 'x')"
        << "INSERT INTO T (a, b, c, d) VALUES (?, ?, -CAST(? AS REAL), ?)"
        << QVariantList{QStringLiteral("O'Brien"), qlonglong(42), QStringLiteral("1.50"), QStringLiteral("x")};
    QTest::newRow("decimal in an expression of a value stays")
        << "INSERT INTO T (a) VALUES (2.5 * 3)"
        << "INSERT INTO T (a) VALUES (2.5 * ?)" << QVariantList{qlonglong(3)};
    QTest::newRow("update: decimal outside VALUES stays")
        << "UPDATE T SET a = 1.25, b = 'z' WHERE k = 7"
        << "UPDATE T SET a = 1.25, b = ? WHERE k = ?" << QVariantList{QStringLiteral("z"), qlonglong(7)};
    QTest::newRow("select: result columns keep their literals")
        << "SELECT 'x' AS a, COUNT(*) FROM T WHERE b = 'y' AND c = 3 LIMIT 1"
        << "SELECT 'x' AS a, COUNT(*) FROM T WHERE b = ? AND c = ? LIMIT ?"
        << QVariantList{QStringLiteral("y"), qlonglong(3), qlonglong(1)};
    QTest::newRow("order by: numbers stay, texts go")
        << "SELECT a FROM T WHERE b = 'y' AND c > 2 ORDER BY 1"
        << "SELECT a FROM T WHERE b = ? AND c > 2 ORDER BY 1" << QVariantList{QStringLiteral("y")};
    QTest::newRow("compound select keeps everything")
        << "SELECT a FROM T WHERE b = 'y' UNION SELECT a FROM U WHERE c = 1"
        << "SELECT a FROM T WHERE b = 'y' UNION SELECT a FROM U WHERE c = 1" << QVariantList{};
    QTest::newRow("quoted names, blobs, hexadecimal, huge numbers and comments stay")
        << "DELETE FROM [T 1] WHERE \"c'd\" = X'00ff' OR e = 0x1F OR f = 99999999999999999999 -- 'x'"
        << "DELETE FROM [T 1] WHERE \"c'd\" = X'00ff' OR e = 0x1F OR f = 99999999999999999999 -- 'x'" << QVariantList{};
    QTest::newRow("a text holding NUL stays")
        << QStringLiteral("DELETE FROM T WHERE a = 'x") + QChar(0) + QStringLiteral("y'")
        << QStringLiteral("DELETE FROM T WHERE a = 'x") + QChar(0) + QStringLiteral("y'") << QVariantList{};
    QTest::newRow("decimal closed after comments, a sign and an exponent; inside a call it stays")
        << "INSERT INTO T (a, b, c) VALUES (- /*x*/ 1.5 -- y\n, round(2.5), 2.5e3 /* z */)"
        << "INSERT INTO T (a, b, c) VALUES (- /*x*/ CAST(? AS REAL) -- y\n, round(2.5), CAST(? AS REAL) /* z */)"
        << QVariantList{QStringLiteral("1.5"), QStringLiteral("2.5e3")};
    QTest::newRow("decimal that nothing closes stays") << "INSERT INTO T (a) VALUES (1.5"
                                                       << "INSERT INTO T (a) VALUES (1.5" << QVariantList{};
    QTest::newRow("GROUP after values taken keeps the numbers before it")
        << "INSERT INTO T (a, b, c) VALUES (1.5, 'a', 7) ON CONFLICT DO UPDATE SET b = (SELECT MAX(x) FROM U"
           " GROUP BY y)"
        << "INSERT INTO T (a, b, c) VALUES (1.5, ?, 7) ON CONFLICT DO UPDATE SET b = (SELECT MAX(x) FROM U"
           " GROUP BY y)"
        << QVariantList{QStringLiteral("a")};
    QTest::newRow("compound select in lower and mixed case")
        << "select 'x', 1 from T where a = 'y' and b = 2 Union select 3 from U"
        << "select 'x', 1 from T where a = 'y' and b = 2 Union select 3 from U" << QVariantList{};
    QTest::newRow("lower-case from ends the result columns")
        << "select 'x', 1 from T where a = 'y' and b = 2"
        << "select 'x', 1 from T where a = ? and b = ?" << QVariantList{QStringLiteral("y"), qlonglong(2)};
    QTest::newRow("whole numbers: leading zeros, the 64-bit edge and beyond")
        << "DELETE FROM T WHERE a = 000000000000000000000000042 OR b = 9223372036854775807 OR c = 9223372036854775808"
           " OR d = 999999999999999999 OR e = 0"
        << "DELETE FROM T WHERE a = ? OR b = ? OR c = 9223372036854775808 OR d = ? OR e = ?"
        << QVariantList{qlonglong(42), qlonglong(9223372036854775807), qlonglong(999999999999999999), qlonglong(0)};
    QTest::newRow("doubled quotes at either end of a text")
        << "UPDATE T SET a = '''', b = 'it''s''', c = '''a' WHERE d = ''"
        << "UPDATE T SET a = ?, b = ?, c = ? WHERE d = ?"
        << QVariantList{QStringLiteral("'"), QStringLiteral("it's'"), QStringLiteral("'a"), QStringLiteral("")};
    QTest::newRow("words, spaces and digits beyond ASCII")
        << QStringLiteral("UPDATE \u00d1 SET a\u00a0= 'ñ', \u00d3RDER = 5 WHERE b = \u0663")
        << QStringLiteral("UPDATE \u00d1 SET a\u00a0= ?, \u00d3RDER = ? WHERE b = \u0663")
        << QVariantList{QStringLiteral("ñ"), qlonglong(5)};
    QTest::newRow("placeholders already there") << "DELETE FROM T WHERE a = ?" << QString() << QVariantList{};
    QTest::newRow("unclosed text") << "DELETE FROM T WHERE a = 'x" << QString() << QVariantList{};
    QTest::newRow("not a statement that reads or writes rows")
        << "CREATE TABLE X (a DEFAULT 'b')" << QString() << QVariantList{};
}

void TstStatementShape::shapes()
{
    QFETCH(QString, sql);
    QFETCH(QString, shape);
    QFETCH(QVariantList, values);
    const std::optional<StatementShape> got = statementShape(sql);
    if (shape.isEmpty()) {
        QVERIFY2(!got, qPrintable(got ? got->text : QString()));
        return;
    }
    QVERIFY(got);
    QCOMPARE(got->text, shape);
    QCOMPARE(got->values, values);
}

void TstStatementShape::boundValuesMeanTheLiterals_data()
{
    QTest::addColumn<QString>("values"); // the VALUES list, written into every column
    const QStringList lists = {
        "'007'",
        "007",
        "1.50",
        "-1.50",
        "0.1",
        "1e5",
        "2.0",
        "123456789012.3456",
        "-0.0",
        "1.7976931348623157e308",
        "9223372036854775807",
        "-9223372036854775807",
        "'1.50'",
        "' 12 '",
        "'ñandú €'",
        "'O''Brien'",
        "''",
        "'2026-03-01'",
        ".5",
        "3.14159265358979323846264338327950288",
    };
    for (const QString &v : lists)
        QTest::newRow(qPrintable(v)) << v;
}

void TstStatementShape::boundValuesMeanTheLiterals()
{
    QFETCH(QString, values);
    QTemporaryDir dir;
    const QString sql = QStringLiteral("INSERT INTO T (t, i, r, n, b) VALUES (%1, %1, %1, %1, %1)").arg(values);
    const std::optional<StatementShape> shape = statementShape(sql);
    QVERIFY(shape);
    QStringList asLiteral;
    QStringList asBound;
    {
        QSqlDatabase literal = tableDb(dir.filePath(QStringLiteral("literal.db")), QStringLiteral("literal"));
        QVERIFY(QSqlQuery(literal).exec(sql));
        asLiteral = storedRows(literal);
        QSqlDatabase bound = tableDb(dir.filePath(QStringLiteral("bound.db")), QStringLiteral("bound"));
        QSqlQuery q(bound);
        QVERIFY(q.prepare(shape->text));
        for (qsizetype i = 0; i < shape->values.size(); ++i)
            q.bindValue(int(i), shape->values.at(i));
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        asBound = storedRows(bound);
        // And a row found by the literal is found by the bound value.
        const QString find = QStringLiteral("SELECT COUNT(*) FROM T WHERE t = %1 AND i = %1 AND n = %1").arg(values);
        const std::optional<StatementShape> findShape = statementShape(find);
        QVERIFY(findShape);
        QSqlQuery byLiteral(bound);
        QVERIFY(byLiteral.exec(find) && byLiteral.next());
        QSqlQuery byBound(bound);
        QVERIFY(byBound.prepare(findShape->text));
        for (qsizetype i = 0; i < findShape->values.size(); ++i)
            byBound.bindValue(int(i), findShape->values.at(i));
        QVERIFY(byBound.exec() && byBound.next());
        QCOMPARE(byBound.value(0).toInt(), byLiteral.value(0).toInt());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("literal"));
    QSqlDatabase::removeDatabase(QStringLiteral("bound"));
    QCOMPARE(asBound, asLiteral);
}

// Two recordsets of one shape open at once (a walk and a lookup inside it)
// each see their own rows, also when the first is read again from its start.
void TstStatementShape::sameShapeOpenTwice()
{
    OrvaFixture f;
    Connection &orva = f.services.session.connection();
    ErrorHandling::Scope run(f.services.errors, QStringLiteral("test"));
    for (const char *code : {"A", "B"})
        QVERIFY(orva.Execute(QStringLiteral("INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES ('%1', 'd%1')")
                                 .arg(QLatin1String(code))));
    const QString byCode = QStringLiteral("SELECT DESCRIPCION FROM TA_ESTADOS WHERE CODIGO = '%1'");
    Recordset a = orva.OpenRecordset(byCode.arg(QLatin1Char('A')));
    Recordset b = orva.OpenRecordset(byCode.arg(QLatin1Char('B')));
    QCOMPARE(a.value(QStringLiteral("DESCRIPCION")).toString(), QStringLiteral("dA"));
    QCOMPARE(b.value(QStringLiteral("DESCRIPCION")).toString(), QStringLiteral("dB"));
    a.moveNext();
    QVERIFY(a.eof());
    a.moveFirst();
    QCOMPARE(a.value(QStringLiteral("DESCRIPCION")).toString(), QStringLiteral("dA"));
    a.close();
    b.close();
    Recordset c = orva.OpenRecordset(byCode.arg(QLatin1Char('B')));
    QCOMPARE(c.value(QStringLiteral("DESCRIPCION")).toString(), QStringLiteral("dB"));
}

// Over thousands of generated statements, every value taken out, put back
// in its placeholder as the literal it stands for, gives the statement
// again: no text between values is lost, doubled or moved, and every value
// is in its place.
void TstStatementShape::valuesPutBackGiveTheStatement()
{
    QRandomGenerator random(14);
    const QLatin1String cast("CAST(? AS REAL)");
    for (int n = 0; n < 3000; ++n) {
        const QString sql = generatedStatement(random);
        const std::optional<StatementShape> shape = statementShape(sql);
        QVERIFY2(shape, qPrintable(sql));
        QString back;
        qsizetype value = 0;
        for (qsizetype i = 0; i < shape->text.size(); ++i) {
            if (shape->text.at(i) != QLatin1Char('?')) {
                back += shape->text.at(i);
                continue;
            }
            QVERIFY2(value < shape->values.size(), qPrintable(sql));
            const bool decimal =
                back.endsWith(QLatin1String("CAST(")) && QStringView(shape->text).sliced(i - 5).startsWith(cast);
            if (decimal) {
                back.chop(5);
                i += cast.size() - 6;
            }
            back += literalOf(shape->values.at(value++), decimal);
        }
        QCOMPARE(value, shape->values.size());
        QCOMPARE(back, sql);

        // The same for the PostgreSQL server: each $n replaced by its literal's text.
        const std::optional<StatementShape> server = statementShape(sql, ShapeStyle::PostgreSql);
        QVERIFY2(server, qPrintable(sql));
        QString serverBack = server->text;
        for (qsizetype n = server->literals.size(); n >= 1; --n) {
            const QString placeholder = QStringLiteral("$%1").arg(n);
            QCOMPARE(serverBack.count(placeholder), 1); // $1 also counts $10..$19: replaced highest first
            serverBack.replace(placeholder, server->literals.at(n - 1).text);
        }
        QCOMPARE(serverBack, sql);
        for (const ShapeLiteral &literal : server->literals) {
            if (literal.kind == ShapeLiteral::Kind::Whole) {
                // The sign, then maybe blanks and comments, then the digits.
                QString digits = literal.text;
                digits.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/|--[^\\n]*\\n|\\s")));
                QVERIFY2(literal.whole == digits.toLongLong(), qPrintable(literal.text));
            }
        }
    }
}

// For the PostgreSQL server the literals come out as numbered placeholders,
// each kept as written; a sign after "(", ",", "=", "<" or ">" goes with its
// number, since the server cannot type a signed placeholder.
void TstStatementShape::serverShapes_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("shape"); // empty: no shape
    QTest::addColumn<QStringList>("literals");
    QTest::newRow("stock line")
        << "INSERT INTO V_MV_STOCK (IDARTICULO,CANTIDAD,IVARI,SECUENCIA,FECHA) VALUES ('   4-4',-1,242.9752,3,"
           "'2026-03-03')"
        << "INSERT INTO V_MV_STOCK (IDARTICULO,CANTIDAD,IVARI,SECUENCIA,FECHA) VALUES ($1,$2,$3,$4,$5)"
        << QStringList{"'   4-4'", "-1", "242.9752", "3", "'2026-03-03'"};
    QTest::newRow("signs after an opening, a comma and a comparison")
        << "INSERT INTO T (a, b) VALUES (- 2.5, +7) "
        << "INSERT INTO T (a, b) VALUES ($1, $2) " << QStringList{"- 2.5", "+7"};
    QTest::newRow("subtraction keeps its sign")
        << "UPDATE T SET a = a - 1 WHERE b >= -3 AND c <>-4"
        << "UPDATE T SET a = a - $1 WHERE b >= $2 AND c <>$3" << QStringList{"1", "-3", "-4"};
    QTest::newRow("quoted texts as written, doubled quotes and all")
        << "SELECT * FROM MV_ASIENTOS WHERE CABNOMBRE = 'O''Brien' AND \"numero asiento\"='17'"
        << "SELECT * FROM MV_ASIENTOS WHERE CABNOMBRE = $1 AND \"numero asiento\"=$2"
        << QStringList{"'O''Brien'", "'17'"};
    QTest::newRow("a decimal outside the values stays") << "UPDATE T SET a = 1.5 WHERE b = 'x'"
                                                        << "UPDATE T SET a = 1.5 WHERE b = $1" << QStringList{"'x'"};
    QTest::newRow("result columns and ordering stay") << "SELECT 1, 'a' FROM T WHERE b = 2 ORDER BY 1"
                                                      << "SELECT 1, 'a' FROM T WHERE b = 2 ORDER BY 1" << QStringList{};
    QTest::newRow("a dollar sign has no shape") << "SELECT * FROM T WHERE a = $$x$$" << QString() << QStringList{};
}

void TstStatementShape::serverShapes()
{
    QFETCH(QString, sql);
    QFETCH(QString, shape);
    QFETCH(QStringList, literals);
    const std::optional<StatementShape> got = statementShape(sql, ShapeStyle::PostgreSql);
    if (shape.isEmpty()) {
        QVERIFY2(!got, qPrintable(got ? got->text : QString()));
        return;
    }
    QVERIFY(got);
    QCOMPARE(got->text, shape);
    QStringList texts;
    for (const ShapeLiteral &literal : got->literals)
        texts << literal.text;
    QCOMPARE(texts, literals);
    QVERIFY(got->values.isEmpty());
}

QTEST_GUILESS_MAIN(TstStatementShape)
#include "tst_statementshape.moc"
