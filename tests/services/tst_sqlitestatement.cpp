// A statement prepared on the SQLite engine directly must be indistinguishable
// from Qt's own query: the rows it writes, the values it reads back (type and
// value), the error it reports. And the engine's connection must still close
// while statements are prepared on it.

#include "services/connection.h"
#include "services/errorhandling.h"
#include "services/recordset.h"
#include "services/sqlitestatement.h"
#include "services/statementshape.h"
#include "support/fixtures.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString tableT = QStringLiteral("CREATE TABLE T (t TEXT, i INTEGER, r REAL, n NUMERIC, b, u TEXT UNIQUE)");

QSqlDatabase openDb(const QString &path, const QString &name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.open();
    return db;
}

// What Qt's query reads: the type's name, null or not, the value as text.
QString described(const QVariant &v)
{
    return QStringLiteral("%1/%2/%3")
        .arg(QString::fromLatin1(v.typeName()), v.isNull() ? QStringLiteral("null") : QStringLiteral("set"),
             v.typeId() == QMetaType::QByteArray ? QString::fromLatin1(v.toByteArray().toHex()) : v.toString());
}

QString described(const QSqlError &e)
{
    return QStringLiteral("%1|%2|%3|%4").arg(e.driverText(), e.databaseText(), e.nativeErrorCode()).arg(int(e.type()));
}

} // namespace

class TstSqliteStatement : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatQtReads_data();
    void readsWhatQtReads();
    void writesWhatQtWrites_data();
    void writesWhatQtWrites();
    void textsBoundAtEveryRun();
    void refusedAsQtRefuses();
    void connectionClosesWithStatementsLent();
    void fieldsFollowTheColumnsOfEachRun();
};

void TstSqliteStatement::readsWhatQtReads_data()
{
    QTest::addColumn<QString>("value"); // an SQL expression stored in every column
    for (const char *v :
         {"NULL", "0", "-7", "9223372036854775807", "1.5", "-0.0", "1e300", "0.1", "''", "'007'", "'ñandú €'",
          "'O''Brien'", "' 12 '", "'2026-03-01 07:04:00'", "X''", "X'00ff10'", "'a' || char(0) || 'b'"})
        QTest::newRow(v) << QString::fromUtf8(v);
}

void TstSqliteStatement::readsWhatQtReads()
{
    QFETCH(QString, value);
    QTemporaryDir dir;
    {
        QSqlDatabase db = openDb(dir.filePath(QStringLiteral("t.db")), QStringLiteral("t"));
        QSqlQuery setup(db);
        QVERIFY(setup.exec(tableT));
        QVERIFY2(setup.exec(QStringLiteral("INSERT INTO T VALUES (%1, %1, %1, %1, %1, NULL)").arg(value)),
                 qPrintable(setup.lastError().text()));
        const QString select =
            QStringLiteral("SELECT t, i, r, n, b, t AS Alias, %1 AS e FROM T WHERE rowid = ?").arg(value);
        QSqlQuery qt(db);
        qt.setForwardOnly(true);
        qt.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        QVERIFY(qt.prepare(select));
        qt.bindValue(0, qlonglong(1));
        QVERIFY(qt.exec() && qt.next());
        SqliteStatement direct;
        QVERIFY(direct.prepare(SqliteStatement::handleOf(db), select));
        direct.bind({qlonglong(1)});
        QVERIFY(direct.exec());
        QVERIFY(direct.next());
        QCOMPARE(direct.columnCount(), 7);
        for (int c = 0; c < 7; ++c) {
            QCOMPARE(direct.columnName(c), qt.record().fieldName(c));
            QCOMPARE(described(direct.value(c)), described(qt.value(c)));
        }
        QVERIFY(!direct.next());
        QVERIFY(!qt.next());
        // Run again, with a value that finds nothing.
        direct.bind({qlonglong(2)});
        QVERIFY(direct.exec());
        QVERIFY(!direct.next());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("t"));
}

void TstSqliteStatement::writesWhatQtWrites_data()
{
    QTest::addColumn<QVariantList>("values");
    QTest::newRow("shape values") << QVariantList{QStringLiteral("007"), qlonglong(7), QStringLiteral("1.50"),
                                                  QStringLiteral("ñandú €"), QStringLiteral("O'Brien")};
    QTest::newRow("empty and null texts")
        << QVariantList{QStringLiteral(""), QString(), QString(), QStringLiteral(" "), QStringLiteral("")};
    QTest::newRow("numbers of every width")
        << QVariantList{qlonglong(-9223372036854775807LL), 42, 1.25, true, QByteArray("\x00\x01", 2)};
}

void TstSqliteStatement::writesWhatQtWrites()
{
    QFETCH(QVariantList, values);
    const QString insert = QStringLiteral("INSERT INTO T (t, i, r, n, b) VALUES (?, ?, CAST(? AS REAL), ?, ?)");
    const QString rows = QStringLiteral("SELECT quote(t), typeof(t), quote(i), typeof(i), quote(r), typeof(r), "
                                        "quote(n), typeof(n), quote(b), typeof(b) FROM T ORDER BY rowid");
    QTemporaryDir dir;
    QStringList written[2];
    {
        for (int way = 0; way < 2; ++way) {
            QSqlDatabase db = openDb(dir.filePath(QStringLiteral("w%1.db").arg(way)), QStringLiteral("w"));
            QVERIFY(QSqlQuery(db).exec(tableT));
            if (way == 0) {
                QSqlQuery q(db);
                QVERIFY(q.prepare(insert));
                for (int i = 0; i < values.size(); ++i)
                    q.bindValue(i, values.at(i));
                QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
            } else {
                SqliteStatement s;
                QVERIFY(s.prepare(SqliteStatement::handleOf(db), insert));
                s.bind(values);
                QVERIFY2(s.exec(), qPrintable(s.lastError().text()));
                QVERIFY(!s.next());
            }
            QSqlQuery read(db);
            QVERIFY(read.exec(rows));
            while (read.next())
                for (int c = 0; c < 10; ++c)
                    written[way] << read.value(c).toString();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("w"));
        }
    }
    QCOMPARE(written[1], written[0]);
}

// One statement run again and again: each run's texts (longer and shorter,
// in ASCII or not, with a NUL inside, empty or null) are the ones stored,
// whatever the runs before them bound.
void TstSqliteStatement::textsBoundAtEveryRun()
{
    const QList<QStringList> runs = {
        {QStringLiteral("a"), QStringLiteral("bb"), QStringLiteral("ccc")},
        {QStringLiteral("a much longer text than before, in ASCII"), QStringLiteral("x"), QString()},
        {QStringLiteral("ñandú"), QStringLiteral("plain"), QStringLiteral("after ñ")},
        {QString(), QStringLiteral(""), QStringLiteral("z")},
        {QStringLiteral("nul") + QChar(0) + QStringLiteral("inside"), QStringLiteral("€"), QStringLiteral("q")},
        {QStringLiteral("ab"), QStringLiteral("c"), QStringLiteral("d")},
    };
    QTemporaryDir dir;
    {
        QSqlDatabase db = openDb(dir.filePath(QStringLiteral("b.db")), QStringLiteral("b"));
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("CREATE TABLE B (run INTEGER, x, y, z)")));
        SqliteStatement s;
        QVERIFY(s.prepare(SqliteStatement::handleOf(db), QStringLiteral("INSERT INTO B VALUES (?, ?, ?, ?)")));
        for (int run = 0; run < runs.size(); ++run) {
            s.bind(QVariantList{qlonglong(run), runs[run][0], runs[run][1], runs[run][2]});
            QVERIFY2(s.exec(), qPrintable(s.lastError().text()));
        }
        s.finalize();
        QSqlQuery read(db);
        QVERIFY(read.exec(QStringLiteral("SELECT run, quote(hex(x)), typeof(x), quote(hex(y)), typeof(y), "
                                         "quote(hex(z)), typeof(z) FROM B ORDER BY run")));
        for (const QStringList &texts : runs) {
            QVERIFY(read.next());
            for (int c = 0; c < 3; ++c) {
                const QString &text = texts.at(c);
                QCOMPARE(read.value(2 + 2 * c).toString(),
                         text.isNull() ? QStringLiteral("null") : QStringLiteral("text"));
                QCOMPARE(read.value(1 + 2 * c).toString(),
                         QStringLiteral("'%1'").arg(QString::fromLatin1(text.toUtf8().toHex().toUpper())));
            }
        }
        QVERIFY(!read.next());
        read = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("b"));
}

void TstSqliteStatement::refusedAsQtRefuses()
{
    // The same refusals (a unique key, a NOT NULL column, a failed check)
    // give the same error through both, and the statement runs again after.
    QTemporaryDir dir;
    {
        QSqlDatabase db = openDb(dir.filePath(QStringLiteral("e.db")), QStringLiteral("e"));
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("CREATE TABLE E (k INTEGER PRIMARY KEY, v TEXT NOT NULL "
                                                  "CHECK (v <> 'bad'))")));
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("INSERT INTO E VALUES (1, 'a')")));
        const QString insert = QStringLiteral("INSERT INTO E VALUES (?, ?)");
        SqliteStatement direct;
        QVERIFY(direct.prepare(SqliteStatement::handleOf(db), insert));
        QSqlQuery qt(db);
        QVERIFY(qt.prepare(insert));
        const QList<QVariantList> refused = {
            {qlonglong(1), QStringLiteral("b")}, {qlonglong(2), QString()}, {qlonglong(3), QStringLiteral("bad")}};
        for (const QVariantList &values : refused) {
            direct.bind(values);
            QVERIFY(!direct.exec());
            for (int i = 0; i < values.size(); ++i)
                qt.bindValue(i, values.at(i));
            QVERIFY(!qt.exec());
            QVERIFY(direct.lastError().isValid());
            QCOMPARE(described(direct.lastError()), described(qt.lastError()));
        }
        direct.bind({qlonglong(4), QStringLiteral("d")});
        QVERIFY2(direct.exec(), qPrintable(direct.lastError().text()));
        QVERIFY(!direct.lastError().isValid());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("e"));
}

void TstSqliteStatement::connectionClosesWithStatementsLent()
{
    // A recordset still on its row when a second connection object opens the
    // same connection anew: the engine's first connection really closes (the
    // file can leave its write-ahead log, which another open connection
    // would refuse), and the recordset reads no further row.
    OrvaFixture f;
    Connection &orva = f.services.session.connection();
    ErrorHandling::Scope run(f.services.errors, QStringLiteral("test"));
    QVERIFY(orva.Execute(QStringLiteral("INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES ('A', 'dA')")));
    Recordset lent = orva.OpenRecordset(QStringLiteral("SELECT DESCRIPCION FROM TA_ESTADOS WHERE CODIGO = 'A'"));
    QCOMPARE(lent.value(QStringLiteral("descripcion")).toString(), QStringLiteral("dA"));
    {
        SharedServices second;
        second.session.DbName = f.orvaPath;
        second.session.Open(true, 3, QString());
        QVERIFY(second.session.Connected());
        QSqlQuery mode(second.session.connection().database());
        QVERIFY(mode.exec(QStringLiteral("PRAGMA journal_mode=delete")) && mode.next());
        QCOMPARE(mode.value(0).toString(), QStringLiteral("delete"));
    }
    lent.moveNext();
    QVERIFY(lent.eof());
}

void TstSqliteStatement::fieldsFollowTheColumnsOfEachRun()
{
    // The same statement shape read again and again (prepared once): fields
    // are found in any case at every run, and a column that another program
    // adds meanwhile (the engine prepares the statement again) is found too,
    // while the columns before it keep their places.
    OrvaFixture f;
    Connection &orva = f.services.session.connection();
    ErrorHandling::Scope run(f.services.errors, QStringLiteral("test"));
    QVERIFY(orva.Execute(QStringLiteral("CREATE TABLE T2 (Codigo TEXT, Nombre TEXT)")));
    QVERIFY(orva.Execute(QStringLiteral("INSERT INTO T2 VALUES ('1', 'uno')")));
    QVERIFY(orva.Execute(QStringLiteral("INSERT INTO T2 VALUES ('2', 'dos')")));
    const auto read = [&orva](const QString &code) {
        return orva.OpenRecordset(QStringLiteral("SELECT * FROM T2 WHERE Codigo = '%1'").arg(code));
    };
    for (const QString &code : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1")}) {
        const Recordset rs = read(code);
        QCOMPARE(rs.value(QStringLiteral("CODIGO")).toString(), code);
        QCOMPARE(rs.value(QStringLiteral("codigo")).toString(), code);
        QCOMPARE(rs.value(QStringLiteral("Codigo")).toString(), code);
        QVERIFY(!rs.hasField(QStringLiteral("EXTRA")));
        QVERIFY_THROWS_EXCEPTION(RunTimeError, rs.value(QStringLiteral("Codig")));
    }
    {
        QSqlDatabase other = openDb(f.orvaPath, QStringLiteral("other"));
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("ALTER TABLE T2 ADD COLUMN Extra TEXT DEFAULT 'x'")));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    const Recordset after = read(QStringLiteral("2"));
    QCOMPARE(after.fieldNames(),
             (QStringList{QStringLiteral("Codigo"), QStringLiteral("Nombre"), QStringLiteral("Extra")}));
    QCOMPARE(after.value(QStringLiteral("EXTRA")).toString(), QStringLiteral("x"));
    QCOMPARE(after.value(QStringLiteral("NOMBRE")).toString(), QStringLiteral("dos"));
}

QTEST_GUILESS_MAIN(TstSqliteStatement)
#include "tst_sqlitestatement.moc"
