// How an Orva SQLite file keeps its commits (write-ahead log or rollback
// journal, from the settings file); the values a run reads only once: held
// during a run, read again after the tool writes their table, never held
// outside a run; and where a failed statement can be followed by others of
// its transaction (there a PostgreSQL transaction needs its savepoint).

#include "services/consoleoperator.h"
#include "services/runcache.h"
#include "services/sharedservices.h"
#include "services/sqlitejournal.h"
#include "support/fixtures.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

namespace {

QString journalModeOf(Connection &c)
{
    QSqlQuery q(c.database());
    return q.exec(QStringLiteral("PRAGMA journal_mode")) && q.next() ? q.value(0).toString() : QString();
}

QString synchronousOf(Connection &c)
{
    QSqlQuery q(c.database());
    return q.exec(QStringLiteral("PRAGMA synchronous")) && q.next() ? q.value(0).toString() : QString();
}

// One statement through a connection of its own: another program's change.
void executeOnOwnConnection(const QString &path, const QString &sql)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(sql));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
}

// The stock engine's cost lookup, as it reads an article's column.
QString heldCost(OrvaFixture &f, const QString &code)
{
    const QString table = QStringLiteral("V_MA_ARTICULOS");
    return f.services.session.LookupHeldValue(table, table, code, QStringLiteral("COSTO"),
                                              QStringLiteral("IDARTICULO"));
}

QByteArray logText(OrvaFixture &f)
{
    QFile log(f.dir.filePath(QStringLiteral("traspasor.log")));
    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
}

} // namespace

class TstRunValues : public QObject
{
    Q_OBJECT

private slots:
    void journalSetting_data();
    void journalSetting();
    void fileThatCannotSwitchKeepsItsMode();
    void writtenTable_data();
    void writtenTable();
    void configurationHeldDuringARunOnly();
    void ownWriteDropsWhatWasHeld();
    void skippedReadIsNotHeld();
    void goingOnAfterAFailure_data();
    void goingOnAfterAFailure();
};

void TstRunValues::journalSetting_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("synchronous"); // 1 NORMAL, 2 FULL
    QTest::newRow("no settings file") << QString() << "wal"
                                      << "1";
    QTest::newRow("Journal=wal") << "[Orva]\nJournal=wal\n"
                                 << "wal"
                                 << "1";
    QTest::newRow("Journal=rollback") << "[Orva]\nJournal=rollback\n"
                                      << "delete"
                                      << "2";
    QTest::newRow("Journal=DELETE") << "[Orva]\nJournal=DELETE\n"
                                    << "delete"
                                    << "2";
}

void TstRunValues::journalSetting()
{
    QFETCH(QString, ini);
    QFETCH(QString, mode);
    QFETCH(QString, synchronous);
    OrvaFixture f;
    QString iniPath;
    if (!ini.isEmpty()) {
        iniPath = f.dir.filePath(QStringLiteral("SharedServices.ini"));
        QFile file(iniPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini.toUtf8());
    }
    // A second session on the same file, as the program opens it.
    SharedServices services;
    services.session.setServerSettings(ServerSettings::read(iniPath));
    services.session.DbName = f.orvaPath;
    services.session.Open(true, 3, QString());
    QVERIFY(services.session.Connected());
    QCOMPARE(journalModeOf(services.session.connection()), mode);
    QCOMPARE(synchronousOf(services.session.connection()), synchronous);
}

void TstRunValues::fileThatCannotSwitchKeepsItsMode()
{
    // A file opened read only cannot take the log: it keeps its rollback
    // journal, the log says why, and statements still run.
    OrvaFixture f;
    f.services.session.connection().close();
    ConnectionSpec readOnlyTarget;
    readOnlyTarget.driver = QStringLiteral("QSQLITE");
    readOnlyTarget.databaseName = f.orvaPath;
    readOnlyTarget.options = QStringLiteral("QSQLITE_OPEN_READONLY");
    // The fixture's file was switched to the log when the session opened it:
    // put it back first, through a writable connection.
    {
        ConnectionSpec writableTarget;
        writableTarget.driver = QStringLiteral("QSQLITE");
        writableTarget.databaseName = f.orvaPath;
        Connection writable(f.services.errors, QStringLiteral("writable"));
        QVERIFY(writable.open(writableTarget));
        QCOMPARE(useSqliteJournal(writable, SqliteJournal::Rollback, f.services.log), QStringLiteral("delete"));
    }
    Connection readOnly(f.services.errors, QStringLiteral("readonly"));
    QVERIFY(readOnly.open(readOnlyTarget));
    QCOMPARE(useSqliteJournal(readOnly, SqliteJournal::WriteAheadLog, f.services.log), QStringLiteral("delete"));
    QVERIFY(logText(f).contains("sigue con el modo de diario 'delete'"));
    Recordset rs = readOnly.OpenRecordset(QStringLiteral("SELECT COUNT(*) AS n FROM TA_CONFIGURACION"));
    QVERIFY(rs.hasRows());
}

void TstRunValues::writtenTable_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("table");
    QTest::newRow("insert") << "INSERT INTO V_MA_ARTICULOS (IDARTICULO) VALUES ('x')"
                            << "V_MA_ARTICULOS";
    QTest::newRow("insert without blank") << "insert into TA_CONFIGURACION(Grupo) VALUES ('DATOS')"
                                          << "TA_CONFIGURACION";
    QTest::newRow("update, leading blank") << " UPDATE V_TA_CPTE SET R_ULTIMO_NRO = 3"
                                           << "V_TA_CPTE";
    QTest::newRow("delete") << "DELETE FROM MV_ASIENTOS WHERE 1=0"
                            << "MV_ASIENTOS";
    QTest::newRow("bracketed name") << "INSERT INTO [MV ASIENTOS] VALUES (1)"
                                    << "MV ASIENTOS";
    QTest::newRow("select") << "SELECT * FROM V_MA_ARTICULOS"
                            << "";
}

void TstRunValues::writtenTable()
{
    QFETCH(QString, statement);
    QFETCH(QString, table);
    QCOMPARE(RunCache::writtenTable(statement), table);
}

void TstRunValues::configurationHeldDuringARunOnly()
{
    OrvaFixture f(
        QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('PERIODO', '2026', 'DATOS');"));
    Connection &orva = f.services.session.connection();
    RunCache &cache = orva.runCache();
    // Outside a run every read goes to the table: another program's change shows at once.
    QCOMPARE(f.session.Cfg(QStringLiteral("PERIODO")), QStringLiteral("2026"));
    executeOnOwnConnection(f.orvaPath, QStringLiteral("UPDATE TA_CONFIGURACION SET VALOR = '2027'"));
    QCOMPARE(f.session.Cfg(QStringLiteral("PERIODO")), QStringLiteral("2027"));
    {
        const RunCache::Hold run(cache);
        const qint64 before = orva.counts().reads;
        QCOMPARE(f.session.Cfg(QStringLiteral("PERIODO")), QStringLiteral("2027"));
        QCOMPARE(f.session.Cfg(QStringLiteral("PERIODO")), QStringLiteral("2027"));
        QCOMPARE(f.session.Cfg(QStringLiteral("NO_EXISTE")), QStringLiteral(" "));
        QCOMPARE(f.session.Cfg(QStringLiteral("NO_EXISTE")), QStringLiteral(" "));
        QCOMPARE(orva.counts().reads - before, 2); // one read per key
    }
    // The run is over: what it held is forgotten.
    executeOnOwnConnection(f.orvaPath, QStringLiteral("UPDATE TA_CONFIGURACION SET VALOR = '2028'"));
    const RunCache::Hold next(cache);
    QCOMPARE(f.session.Cfg(QStringLiteral("PERIODO")), QStringLiteral("2028"));
}

void TstRunValues::ownWriteDropsWhatWasHeld()
{
    OrvaFixture f(QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, COSTO) VALUES ('                "
                                 "     10-2', 'ACEITE', 100);"));
    const RunCache::Hold run(f.services.session.connection().runCache());
    // GrabaDfg's own write: the next Cfg reads the new value.
    f.session.GrabaDfg(QStringLiteral("KTZ_ULTIMAFECHA"), QStringLiteral("2026-03-05"));
    QCOMPARE(f.session.Cfg(QStringLiteral("KTZ_ULTIMAFECHA")), QStringLiteral("2026-03-05"));
    f.session.GrabaDfg(QStringLiteral("KTZ_ULTIMAFECHA"), QStringLiteral("2026-03-06"));
    QCOMPARE(f.session.Cfg(QStringLiteral("KTZ_ULTIMAFECHA")), QStringLiteral("2026-03-06"));

    // The cost after the article step rewrote it.
    QCOMPARE(heldCost(f, QStringLiteral("                     10-2")), QStringLiteral("100"));
    f.execOrva(QStringLiteral("UPDATE V_MA_ARTICULOS SET COSTO = 120 WHERE IDARTICULO = '                     10-2'"));
    QCOMPARE(heldCost(f, QStringLiteral("                     10-2")), QStringLiteral("120"));
    // A write to another table leaves the article held.
    const qint64 before = f.services.session.connection().counts().reads;
    f.execOrva(QStringLiteral("UPDATE TA_ESTADOS SET DESCRIPCION = 'X' WHERE 1 = 0"));
    QCOMPARE(heldCost(f, QStringLiteral("                     10-2")), QStringLiteral("120"));
    QCOMPARE(f.services.session.connection().counts().reads, before);
}

void TstRunValues::skippedReadIsNotHeld()
{
    // The operator goes on past a failed read: nothing is known, so nothing
    // is held and the next call reads again.
    OrvaFixture f(
        QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('PERIODO', '2026', 'DATOS');"));
    const RunCache::Hold run(f.services.session.connection().runCache());
    f.session.config.tableName = QStringLiteral("NO_SUCH_TABLE");
    f.op.errorChoices = {5};
    QCOMPARE(f.session.Cfg(QStringLiteral("PERIODO")), QString());
    f.session.config.tableName = QStringLiteral("TA_CONFIGURACION");
    QCOMPARE(f.session.Cfg(QStringLiteral("PERIODO")), QStringLiteral("2026"));
}

void TstRunValues::goingOnAfterAFailure_data()
{
    QTest::addColumn<bool>("interactive");
    QTest::addColumn<QString>("scopes"); // outermost first: H handler, N name only, I ignore errors
    QTest::addColumn<bool>("goesOn");
    QTest::newRow("unattended, under the run's handler") << false << "HNN" << false;
    QTest::newRow("unattended, run's handler only") << false << "H" << false;
    QTest::newRow("unattended, in a region that ignores errors") << false << "HNI" << true;
    QTest::newRow("unattended, under a procedure's own handler") << false << "HNH" << true;
    QTest::newRow("unattended, no handler at all") << false << "" << true;
    QTest::newRow("operator, under the run's handler") << true << "HNN" << true;
}

void TstRunValues::goingOnAfterAFailure()
{
    QFETCH(bool, interactive);
    QFETCH(QString, scopes);
    QFETCH(bool, goesOn);
    Log log;
    ErrorHandling errors(log);
    ConsoleOperator console(log);
    ScriptedOperator scripted;
    errors.setOperator(interactive ? static_cast<Operator *>(&scripted) : &console);
    std::vector<std::unique_ptr<ErrorHandling::Scope>> open;
    for (const QChar c : scopes) {
        const ErrorHandling::Mode mode = c == QLatin1Char('H') ? ErrorHandling::Mode::Handle
            : c == QLatin1Char('N')                            ? ErrorHandling::Mode::NameOnly
                                                               : ErrorHandling::Mode::IgnoreAll;
        open.push_back(std::make_unique<ErrorHandling::Scope>(errors, QStringLiteral("p"), mode));
    }
    QCOMPARE(errors.mayGoOnAfterFailure(), goesOn);
    while (!open.empty())
        open.pop_back(); // inner scopes end first
}

QTEST_GUILESS_MAIN(TstRunValues)
#include "tst_runvalues.moc"
