// Orva on a real PostgreSQL server, reached as the program reaches it: the
// settings file names the driver, start-up opens the session and chooses
// the configuration table. The statements of the steps run as written
// (brackets, TOP, quoted and unquoted numbers), keys ignore letter case, a
// statement that fails inside a document loses only itself when the work goes
// on past it (with the engine's own message), and a document transaction
// whose connection dies leaves nothing behind.

#include "serverenv.h"
#include "services/consoleoperator.h"
#include "services/documenttransaction.h"
#include "services/sharedservices.h"
#include "session/session.h"

#include <QSettings>
#include <QSqlQuery>
#include <QTemporaryDir>

class TstOrvaPostgresql : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startUpChoosesTheConfigurationTable();
    void configurationKeysIgnoreLetterCase();
    void statementsRunAsWritten_data();
    void statementsRunAsWritten();
    void documentTransaction_data();
    void documentTransaction();
    void failedCommit_data();
    void failedCommit();
    void spoiltTransactionIsNotCommitted();
    void failedStatementInsideDocument_data();
    void failedStatementInsideDocument();
    void walkWhileWritingSeesEveryRow();
    void preparedShapesFindAndWriteTheSame();
    void killedConnectionLeavesNothingHalfCommitted(); // last: it ends the session's connection

private:
    int documentRows(const QString &numero);
    RunError failureOf(const QString &sql, bool read);
    QString journalInsert(const QString &numero, int secuencia);

    Servers m_servers = Servers::load();
    QTemporaryDir m_dir;
    QString m_database;
    SharedServices m_services;
    Session m_session{m_services};
    ScriptedOperator m_op;
};

void TstOrvaPostgresql::initTestCase()
{
    REQUIRE_SERVERS(m_servers);
    m_database = m_servers.createPostgres(QStringLiteral("orva"));
    QVERIFY(!m_database.isEmpty());
    QVERIFY(m_servers.loadPostgres(
        m_database, {QStringLiteral("schema/orva.postgresql.sql"), QStringLiteral("demo/orva.demo.sql")}));

    // The settings file as an installation writes it: the port goes there,
    // since the server name handed to the library loses what follows ":".
    const QString ini = m_dir.filePath(QStringLiteral("SharedServices.ini"));
    {
        QSettings settings(ini, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Orva/Driver"), QStringLiteral("PSQL"));
        settings.setValue(QStringLiteral("Orva/Port"), m_servers.pgPort);
    }
    m_services.setOperator(&m_op);
    m_services.session.setServerSettings(ServerSettings::read(ini));
    m_session.programFolder = m_dir.path() + QLatin1Char('/');
    QString connectionText;
    QVERIFY2(m_session.IniciaSesion(connectionText,
                                    QStringLiteral("@Server=%1;@DbName=%2;@Usuario=%3;@Password=%4;")
                                        .arg(m_servers.pgHost, m_database, m_servers.pgUser, m_servers.pgPassword)),
             qPrintable(m_services.session.openError()));

    Connection &orva = m_services.session.connection();
    QVERIFY(orva.Execute(journalInsert(QStringLiteral("00001234"), 1)));
    QVERIFY(orva.Execute(
        QStringLiteral("UPDATE V_TA_CPTE SET R_ULTIMO_NRO = '00000126' WHERE CODIGO = '  RM' AND TALONARIO = 1")));
    QVERIFY(orva.Execute(
        QStringLiteral("UPDATE V_TA_CPTE SET R_ULTIMO_NRO = 00000008 WHERE CODIGO = '  rm' AND TALONARIO = 2")));
    QVERIFY(orva.Execute(
        QStringLiteral("INSERT INTO V_MV_STOCK (TC, IDCOMPROBANTE, SECUENCIA, IDDEPOSITO, IDARTICULO, CANTIDAD) "
                       "VALUES ('  RM', '000100000041R', '1', '   1', '                     10-2', -2)")));
    QVERIFY(m_op.errorsSeen.isEmpty());
}

QString TstOrvaPostgresql::journalInsert(const QString &numero, int secuencia)
{
    // A journal line as the sales step builds it: bracketed names, numbers
    // written as quoted texts into integer columns, amounts unquoted.
    return SvcSession::BuildInsert(QStringLiteral("INSERT INTO MV_ASIENTOS"),
                                   {{QStringLiteral("FECHA"), QStringLiteral("'2026-03-04'")},
                                    {QStringLiteral("MES_OPERATIVO"), QStringLiteral("'3'")},
                                    {QStringLiteral("[NUMERO ASIENTO]"), QStringLiteral("'1006'")},
                                    {QStringLiteral("CUENTA"), QStringLiteral("'1120010023'")},
                                    {QStringLiteral("SECUENCIA"), QString::number(secuencia)},
                                    {QStringLiteral("[DEBE-HABER]"), QStringLiteral("'D'")},
                                    {QStringLiteral("IMPORTE"), QStringLiteral("27600.5")},
                                    {QStringLiteral("PERIODO"), QStringLiteral("'2026'")},
                                    {QStringLiteral("TC"), QStringLiteral("'  FA'")},
                                    {QStringLiteral("SUCURSAL"), QStringLiteral("'0005'")},
                                    {QStringLiteral("NUMERO"), quoted(numero)},
                                    {QStringLiteral("LETRA"), QStringLiteral("'A'")},
                                    {QStringLiteral("TIPO_REG"), QStringLiteral("'VTAS'")},
                                    {QStringLiteral("CABNOMBRE"), quoted(QStringLiteral("Remises El Ñandú S.R.L."))},
                                    {QStringLiteral("CPTE_ORIGEN"), QStringLiteral("'000500001239A'")}});
}

int TstOrvaPostgresql::documentRows(const QString &numero)
{
    // Counted on a connection of its own: only what was committed.
    const QStringList rows = m_servers.adminRows(
        QStringLiteral("SELECT count(*) FROM mv_asientos WHERE numero = '%1'").arg(numero), m_database);
    return rows.isEmpty() ? -1 : rows.first().toInt();
}

void TstOrvaPostgresql::startUpChoosesTheConfigurationTable()
{
    QCOMPARE(m_session.config.tableName, QStringLiteral("ta_configuracion"));
    QCOMPARE(m_session.tituloClientes, QStringLiteral("1120"));
    QVERIFY(m_services.session.connection().target().describe().contains(m_database));
}

void TstOrvaPostgresql::configurationKeysIgnoreLetterCase()
{
    QCOMPARE(m_session.Cfg(QStringLiteral("ktz_fechadesde")), QStringLiteral("2026-03-01"));
    m_session.GrabaDfg(QStringLiteral("KTZ_ULTIMAFECHA"), QStringLiteral("2026-03-04"));
    m_session.GrabaDfg(QStringLiteral("ktz_UltimaFecha"), QStringLiteral(" 2026-03-05 "));
    m_session.GrabaDfg(QStringLiteral("Año"), QStringLiteral("uno"));
    m_session.GrabaDfg(QStringLiteral("AÑO"), QStringLiteral("dos"));
    QCOMPARE(m_session.Cfg(QStringLiteral("KTZ_ULTIMAFECHA")), QStringLiteral("2026-03-05"));
    QCOMPARE(m_session.Cfg(QStringLiteral("año")), QStringLiteral("dos"));
    QCOMPARE(m_session.Cfg(QStringLiteral("ANO")), QStringLiteral(" ")); // accents still count
    QCOMPARE(m_servers.adminRows(QStringLiteral("SELECT count(*) FROM ta_configuracion WHERE lower(clave) IN "
                                                "('ktz_ultimafecha', 'año')"),
                                 m_database),
             QStringList{QStringLiteral("2")});
    QVERIFY(m_op.errorsSeen.isEmpty());
}

void TstOrvaPostgresql::statementsRunAsWritten_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("rows");
    QTest::newRow("voucher check, unquoted entry")
        << "SELECT * FROM MV_ASIENTOS WHERE TC='  FA' AND SUCURSAL='0005' AND NUMERO='00001234' AND LETRA='A' "
           "AND [NUMERO ASIENTO] = 1006"
        << 1;
    QTest::newRow("customer-line check, quoted entry")
        << "SELECT * FROM MV_ASIENTOS WHERE CUENTA='1120010023' AND SECUENCIA =1 AND MES_OPERATIVO=3 AND "
           "[NUMERO ASIENTO]='1006' AND PERIODO = 2026 AND TIPO_REG='VTAS' AND CPTE_ORIGEN='000500001239A'"
        << 1;
    QTest::newRow("hyphenated name") << "SELECT [DEBE-HABER] FROM MV_ASIENTOS WHERE [DEBE-HABER] = 'd'" << 1;
    QTest::newRow("case-insensitive text")
        << "SELECT * FROM MV_ASIENTOS WHERE CABNOMBRE = 'REMISES EL ÑANDÚ S.R.L.'" << 1;
    QTest::newRow("trailing blanks count") << "SELECT * FROM MV_ASIENTOS WHERE TC = 'FA'" << 0;
    QTest::newRow("top") << "SELECT TOP 1 * FROM TA_CUENTASIVA" << 1;
    QTest::newRow("top with order") << "SELECT TOP 2 * FROM V_TA_CPTE ORDER BY CODIGO, TALONARIO" << 2;
    QTest::newRow("counter set from quoted zeros")
        << "SELECT * FROM V_TA_CPTE WHERE CODIGO = '  RM' AND R_ULTIMO_NRO = 126" << 1;
    QTest::newRow("counter set from unquoted zeros")
        << "SELECT * FROM V_TA_CPTE WHERE CODIGO = '  RM' and Talonario = 2 AND R_ULTIMO_NRO = '00000008'" << 1;
    QTest::newRow("branch with a blank") << "SELECT * FROM V_TA_CPTE WHERE A_SUC_DEFAULT = ' 5'" << 1;
    QTest::newRow("branch unquoted") << "SELECT * FROM V_TA_CPTE WHERE R_SUC_DEFAULT = 1 AND SISTEMA = 'ventas'" << 1;
    QTest::newRow("max of a text")
        << "SELECT MAX(NUMERO) AS ULTIMO From MV_ASIENTOS WHERE TC = '  FA' AND SUCURSAL= '0005' AND LETRA = 'a'" << 1;
    QTest::newRow("substring of a key") << "SELECT MAX(IDCOMPROBANTE) AS ULTIMO From V_MV_STOCK WHERE TC = '  RM' AND "
                                           "SUBSTRING(IDCOMPROBANTE, 1, 4)= '0001' "
                                           "AND SUBSTRING(IDCOMPROBANTE, 13, 1)= 'r'"
                                        << 1;
    QTest::newRow("lots in stock")
        << "SELECT * FROM STK_SERIES_Y_LOTES WHERE IdArticulo = '                     10-2' AND CANTIDAD > 0  AND "
           "IDDEPOSITO = '   1' ORDER BY NROLOTE"
        << 2;
    QTest::newRow("max of a counter") << "SELECT MAX(SECUENCIA) AS MAX_SECUENCIA FROM V_MV_STOCK WHERE TC = '  RM' AND "
                                         "IDCOMPROBANTE = '000100000041R'"
                                      << 1;
}

void TstOrvaPostgresql::statementsRunAsWritten()
{
    QFETCH(QString, sql);
    QFETCH(int, rows);
    m_op.errorsSeen.clear();
    Recordset rs = m_services.session.OpenRecordset(sql);
    QVERIFY2(m_op.errorsSeen.isEmpty(), qPrintable(m_op.errorsSeen.value(0).text()));
    int n = 0;
    for (; !rs.eof(); rs.moveNext())
        ++n;
    QCOMPARE(n, rows);
}

void TstOrvaPostgresql::documentTransaction_data()
{
    QTest::addColumn<bool>("commit");
    QTest::addColumn<int>("kept");
    QTest::newRow("committed") << true << 2;
    QTest::newRow("rolled back") << false << 0;
}

void TstOrvaPostgresql::documentTransaction()
{
    QFETCH(bool, commit);
    QFETCH(int, kept);
    const QString numero = QStringLiteral("0000%1").arg(kept == 0 ? 2001 : 2002);
    Connection &orva = m_services.session.connection();
    {
        DocumentTransaction document(orva, QStringLiteral("factura %1").arg(numero));
        QVERIFY(orva.inTransaction());
        QVERIFY(orva.Execute(journalInsert(numero, 1)));
        QVERIFY(orva.Execute(journalInsert(numero, 2)));
        QCOMPARE(documentRows(numero), 0); // nothing visible before the end
        if (commit)
            QVERIFY(document.commit());
    }
    QVERIFY(!orva.inTransaction());
    QCOMPARE(documentRows(numero), kept);
}

void TstOrvaPostgresql::failedCommit_data()
{
    QTest::addColumn<QList<int>>("choices");
    QTest::addColumn<QString>("numero");
    QTest::newRow("give up") << QList<int>{ChoiceAbort} << "00004001";
    QTest::newRow("continue") << QList<int>{ChoiceIgnore} << "00004002";
    // PostgreSQL ends a transaction whose COMMIT fails: trying the COMMIT
    // again must not pass for a commit of the document.
    QTest::newRow("retry, then continue") << QList<int>{ChoiceRetry, ChoiceIgnore} << "00004003";
}

void TstOrvaPostgresql::failedCommit()
{
    QFETCH(QList<int>, choices);
    QFETCH(QString, numero);
    // A constraint trigger checked at the commit refuses journal lines of
    // numbers 00004xxx.
    QVERIFY(m_servers.adminExec(
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION refuse_at_commit() RETURNS trigger LANGUAGE plpgsql AS "
            "$$ BEGIN IF left(NEW.numero, 5) = '00004' THEN RAISE EXCEPTION 'asiento rechazado al confirmar'; "
            "END IF; RETURN NULL; END $$; "
            "DROP TRIGGER IF EXISTS refuse_at_commit ON mv_asientos; "
            "CREATE CONSTRAINT TRIGGER refuse_at_commit AFTER INSERT ON mv_asientos "
            "DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION refuse_at_commit()"),
        m_database));
    m_op.errorsSeen.clear();
    m_op.errorChoices = choices;
    Connection &orva = m_services.session.connection();
    ErrorHandling::Scope run(m_services.errors, QStringLiteral("cmdActualizar_Click"));
    bool committed = false;
    bool gaveUp = false;
    try {
        DocumentTransaction document(orva, QStringLiteral("factura %1").arg(numero));
        QVERIFY(orva.Execute(journalInsert(numero, 1)));
        committed = document.commit();
        QVERIFY(document.failedAtCommit());
    } catch (const GiveUp &) {
        gaveUp = true;
    }
    QVERIFY(!committed);
    QCOMPARE(gaveUp, choices.last() == ChoiceAbort);
    QCOMPARE(m_op.errorsSeen.size(), choices.size());
    for (const RunError &e : m_op.errorsSeen)
        QCOMPARE(e.statement, QStringLiteral("COMMIT TRANSACTION"));
    QVERIFY2(m_op.errorsSeen.first().description.contains(QStringLiteral("asiento rechazado al confirmar")),
             qPrintable(m_op.errorsSeen.first().text()));
    QVERIFY(!orva.inTransaction());
    QCOMPARE(documentRows(numero), 0);
    // The connection takes the next document.
    {
        DocumentTransaction next(orva, QStringLiteral("factura 00005001"));
        QVERIFY(orva.Execute(journalInsert(QStringLiteral("00005001"), 1)));
        QVERIFY(next.commit());
    }
    QVERIFY(m_servers.adminExec(QStringLiteral("DELETE FROM mv_asientos WHERE numero = '00005001'"), m_database));
    QVERIFY(m_servers.adminExec(QStringLiteral("DROP TRIGGER refuse_at_commit ON mv_asientos"), m_database));
}

// A savepoint carried after a statement can fail unseen (the statement
// cancelled at that moment): PostgreSQL then answers the COMMIT with a
// rollback and no error. The document must not pass for committed.
void TstOrvaPostgresql::spoiltTransactionIsNotCommitted()
{
    const QString numero = QStringLiteral("00004101");
    m_op.errorsSeen.clear();
    m_op.errorChoices = {ChoiceIgnore};
    Connection &orva = m_services.session.connection();
    ErrorHandling::Scope run(m_services.errors, QStringLiteral("cmdActualizar_Click"));
    bool committed = true;
    {
        DocumentTransaction document(orva, QStringLiteral("factura %1").arg(numero));
        QVERIFY(orva.Execute(journalInsert(numero, 1)));
        // The statement lets the savepoint go itself, so the one carried after it fails.
        QVERIFY(orva.Execute(QStringLiteral("RELEASE SAVEPOINT traspasor_sentencia")));
        committed = document.commit();
        QVERIFY(document.failedAtCommit());
    }
    QVERIFY(!committed);
    QCOMPARE(m_op.errorsSeen.size(), 1);
    QCOMPARE(m_op.errorsSeen.first().statement, QStringLiteral("COMMIT TRANSACTION"));
    QVERIFY(!orva.inTransaction());
    QCOMPARE(documentRows(numero), 0);
    // The connection takes the next document.
    {
        DocumentTransaction next(orva, QStringLiteral("factura 00005002"));
        QVERIFY(orva.Execute(journalInsert(QStringLiteral("00005002"), 1)));
        QVERIFY(next.commit());
    }
    QCOMPARE(documentRows(QStringLiteral("00005002")), 1);
    QVERIFY(m_servers.adminExec(QStringLiteral("DELETE FROM mv_asientos WHERE numero = '00005002'"), m_database));
}

void TstOrvaPostgresql::failedStatementInsideDocument_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("read");
    QTest::addColumn<bool>("attended");
    const struct
    {
        const char *name;
        const char *sql;
        bool read;
    } cases[] = {
        {"unknown column", "INSERT INTO MV_ASIENTOS (NUMERO, NO_SUCH_COLUMN) VALUES ('00009999', 1)", false},
        {"not a number", "UPDATE MV_ASIENTOS SET IMPORTE = 'mucho' WHERE NUMERO = '00009999'", false},
        {"duplicate key", "INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('ktz_fechadesde', 'x')", false},
        {"quote left open", "INSERT INTO MV_ASIENTOS (NUMERO) VALUES ('00009999)", false},
        {"read of an unknown table", "SELECT * FROM NO_SUCH_TABLE WHERE NUMERO = '00009999'", true},
    };
    for (const auto &c : cases) {
        // Attended, every statement of the document is guarded; unattended,
        // only those under a procedure's own handler.
        QTest::addRow("%s, attended", c.name) << QString::fromUtf8(c.sql) << c.read << true;
        QTest::addRow("%s, unattended", c.name) << QString::fromUtf8(c.sql) << c.read << false;
    }
}

RunError TstOrvaPostgresql::failureOf(const QString &sql, bool read)
{
    // Under a procedure's own handler, as the stock lines of a sale are: the
    // operator's answer ends the procedure and its caller goes on.
    RunError seen;
    ErrorHandling::Scope procedure(m_services.errors, QStringLiteral("GrabaStockVenta"));
    procedure.run(
        [&] {
            if (read)
                m_services.session.OpenRecordset(sql);
            else
                m_services.session.connection().Execute(sql);
        },
        [&](const GiveUp &g) { seen = g.error; });
    return seen;
}

void TstOrvaPostgresql::failedStatementInsideDocument()
{
    QFETCH(QString, sql);
    QFETCH(bool, read);
    QFETCH(bool, attended);
    static int document = 6000;
    const QString numero = QStringLiteral("0000%1").arg(++document);
    Connection &orva = m_services.session.connection();
    m_op.errorChoices.clear(); // the operator gives up the procedure

    // Outside a transaction the statement runs alone: the engine's own message.
    const RunError alone = failureOf(sql, read);
    QVERIFY(!alone.description.isEmpty());
    QVERIFY(!orva.inTransaction());

    ConsoleOperator console(m_services.log);
    if (!attended)
        m_services.setOperator(&console);
    RunError inside;
    bool committed = false;
    {
        ErrorHandling::Scope run(m_services.errors, QStringLiteral("cmdActualizar_Click"));
        DocumentTransaction transaction(orva, QStringLiteral("factura %1").arg(numero));
        QVERIFY(orva.Execute(journalInsert(numero, 1)));
        inside = failureOf(sql, read);
        QVERIFY(orva.Execute(journalInsert(numero, 2)));
        Recordset lines = m_services.session.OpenRecordset(
            QStringLiteral("SELECT SECUENCIA FROM MV_ASIENTOS WHERE NUMERO = '%1' ORDER BY SECUENCIA").arg(numero));
        QCOMPARE(lines.value(QStringLiteral("SECUENCIA")).toInt(), 1);
        committed = transaction.commit();
    }
    m_services.setOperator(&m_op);
    QVERIFY(committed);
    QCOMPARE(inside.statement, sql);
    QCOMPARE(inside.description, alone.description);
    QCOMPARE(documentRows(numero), 2);
    QVERIFY(m_servers.adminExec(QStringLiteral("DELETE FROM mv_asientos WHERE numero = '%1'").arg(numero), m_database));
}

// A statement whose shape came before runs prepared on the server: it finds
// the same rows, with the same values, as the statement as written; a shape
// the server refuses to prepare costs the open transaction nothing.
void TstOrvaPostgresql::preparedShapesFindAndWriteTheSame()
{
    Connection &orva = m_services.session.connection();
    m_op.errorsSeen.clear();
    const auto rowsOf = [&](const QString &sql) {
        QStringList rows;
        Recordset rs = m_services.session.OpenRecordset(sql);
        for (; !rs.eof(); rs.moveNext()) {
            QStringList row;
            for (const QString &field : rs.fieldNames())
                row << field + QLatin1Char('=') + rs.value(field).toString();
            rows << row.join(QLatin1Char(' '));
        }
        return rows;
    };
    const auto preparedCount = [&] {
        QSqlQuery q(orva.database());
        return q.exec(QStringLiteral("SELECT count(*) FROM pg_prepared_statements")) && q.next() ? q.value(0).toInt()
                                                                                                 : -1;
    };
    const int before = preparedCount();
    const QStringList reads = {
        QStringLiteral("SELECT * FROM MV_ASIENTOS WHERE CUENTA='1120010023' AND SECUENCIA =1 AND MES_OPERATIVO=3 "
                       "AND [NUMERO ASIENTO]='1006' AND PERIODO = 2026 AND TIPO_REG='VTAS'"),
        QStringLiteral("SELECT * FROM V_TA_CPTE WHERE CODIGO = '  RM' AND R_ULTIMO_NRO = 126"),
        QStringLiteral("SELECT * FROM V_MV_STOCK WHERE CANTIDAD = -2 AND IDDEPOSITO = '   1'"),
        QStringLiteral("SELECT * FROM MV_ASIENTOS WHERE CABNOMBRE = 'REMISES EL ÑANDÚ S.R.L.'"),
    };
    for (const QString &sql : reads) {
        const QStringList asWritten = rowsOf(sql);
        QVERIFY2(!asWritten.isEmpty(), qPrintable(sql));
        QCOMPARE(rowsOf(sql), asWritten); // the second time through the prepared shape
    }
    QCOMPARE(preparedCount(), before + reads.size());

    {
        ErrorHandling::Scope run(m_services.errors, QStringLiteral("cmdActualizar_Click"));
        DocumentTransaction transaction(orva, QStringLiteral("factura 00007001"));
        // The server cannot type the text's placeholder: refused, inside the transaction.
        const QString untyped = QStringLiteral("SELECT count(*) AS N FROM V_TA_CPTE WHERE 'x' IS NULL");
        for (int i = 0; i < 3; ++i)
            QCOMPARE(rowsOf(untyped), QStringList{QStringLiteral("n=0")});
        for (int secuencia = 1; secuencia <= 3; ++secuencia)
            QVERIFY(orva.Execute(journalInsert(QStringLiteral("00007001"), secuencia)));
        QVERIFY(transaction.commit());
    }
    QVERIFY2(m_op.errorsSeen.isEmpty(), qPrintable(m_op.errorsSeen.value(0).text()));
    QCOMPARE(documentRows(QStringLiteral("00007001")), 3);
    // Written through the prepared shape, the lines hold what the statement as written holds.
    const QStringList lines = m_servers.adminRows(
        QStringLiteral("SELECT DISTINCT fecha || '|' || mes_operativo || '|' || importe || '|' || cabnombre FROM "
                       "mv_asientos WHERE numero IN ('00001234', '00007001')"),
        m_database);
    QCOMPARE(lines, QStringList{QStringLiteral("2026-03-04|3|27600.5000|Remises El Ñandú S.R.L.")});
    QVERIFY(m_servers.adminExec(QStringLiteral("DELETE FROM mv_asientos WHERE numero = '00007001'"), m_database));

    // A session that forgets what was prepared (as behind a connection pool):
    // the statements still find their rows, and the connection stops preparing.
    QVERIFY(QSqlQuery(orva.database()).exec(QStringLiteral("DEALLOCATE ALL")));
    const QStringList stock = rowsOf(reads.at(2));
    QCOMPARE(stock.size(), 1);
    const QString other = QStringLiteral("SELECT * FROM V_MV_STOCK WHERE CANTIDAD = -2 AND IDDEPOSITO <> '   9'");
    QCOMPARE(rowsOf(other), stock);
    QCOMPARE(rowsOf(other), stock);
    QCOMPARE(preparedCount(), 0);
    QVERIFY2(m_op.errorsSeen.isEmpty(), qPrintable(m_op.errorsSeen.value(0).text()));
}

void TstOrvaPostgresql::killedConnectionLeavesNothingHalfCommitted()
{
    m_op.errorsSeen.clear();
    Connection &orva = m_services.session.connection();

    const QString numero = QStringLiteral("00003001");
    ErrorHandling::Scope scope(m_services.errors, QStringLiteral("GrabaAsientoVenta"));
    {
        DocumentTransaction document(orva, QStringLiteral("factura 00003001"));
        QVERIFY(orva.Execute(journalInsert(numero, 1)));
        Recordset pid = m_services.session.OpenRecordset(QStringLiteral("SELECT pg_backend_pid() AS PID"));
        QVERIFY(m_servers.adminExec(
            QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid.value(QStringLiteral("pid")).toInt())));
        pid.close();

        m_op.errorChoices = {ChoiceAbort};
        try {
            orva.Execute(journalInsert(numero, 2));
            QFAIL("the second line went through a dead connection");
        } catch (const GiveUp &g) {
            QVERIFY(scope.owns(g));
            QCOMPARE(g.error.number, ErrorNumber::ConnectionFailure);
            QVERIFY(!g.error.text().contains(m_servers.pgPassword));
        }
        QCOMPARE(m_op.errorsSeen.size(), 1);
        QCOMPARE(m_op.errorsSeen.first().number, -2147467259);
    }
    // The document's rollback on the dead connection neither hangs nor
    // leaves the transaction marked open.
    QVERIFY(!orva.inTransaction());
    QCOMPARE(documentRows(numero), 0);
}

void TstOrvaPostgresql::walkWhileWritingSeesEveryRow()
{
    // As the components discharge does: one statement per lot while the
    // lots are being walked.
    Connection &orva = m_services.session.connection();
    Recordset lots =
        m_services.session.OpenRecordset(QStringLiteral("SELECT * FROM STK_SERIES_Y_LOTES ORDER BY NROLOTE"));
    QStringList seen;
    for (; !lots.eof(); lots.moveNext()) {
        const QString lot = lots.value(QStringLiteral("NroLote")).toString();
        seen << lot;
        QVERIFY(
            orva.Execute(QStringLiteral("INSERT INTO V_MV_STOCK (TC, IDCOMPROBANTE, NroLote, CANTIDAD) VALUES ('  PE', "
                                        "'000100000016X', %1, -1)")
                             .arg(quoted(lot))));
    }
    QCOMPARE(seen,
             (QStringList{QStringLiteral("L2512-0003"), QStringLiteral("L2601-0012"), QStringLiteral("L2602-0047"),
                          QStringLiteral("L2602-0050")}));
}

QTEST_GUILESS_MAIN(TstOrvaPostgresql)
#include "tst_orvapostgresql.moc"
