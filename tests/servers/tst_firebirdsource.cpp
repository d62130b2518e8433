// KTZ databases on a real Firebird server, read through the source
// connection as the steps read them: texts of UTF8, WIN1252 and NONE
// (Windows-1252 bytes) databases, CHAR padding, exact decimals, dates and
// the statements of the steps exactly as they are written.

#include "run/sourceconnection.h"
#include "serverenv.h"
#include "services/sharedservices.h"
#include "services/sqlscript.h"
#include "services/svcsession.h"
#include "services/svctools.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <memory>

namespace {

const char *const rows[] = {
    "INSERT INTO T_CLIENTES (T_CLI_CTA, T_CLI_EMP, T_CLI_NOM, T_CLI_LOC, T_CLI_PRO) "
    "VALUES (35, 'ninguna', 'María José Ñañez', 'Godoy Cruz', 'Mendoza')",
    "INSERT INTO FAC_OUT (ID, FOUT_FECHA, FOUT_PVENTA, FOUT_NUM, FOUT_TIPO, TOTAL, CLI_COD, CLI_NAME, FOUT_TURNO) "
    "VALUES (1002, '2026-03-02', 5, 1235, 'B', 63800, 1, 'CONSUMIDOR FINAL', 'TARDE')",
    "INSERT INTO FAC_OUT (ID, FOUT_FECHA, FOUT_PVENTA, FOUT_NUM, FOUT_TIPO, TOTAL, CLI_COD, CLI_NAME, FOUT_TURNO) "
    "VALUES (1003, '2026-03-03', 5, 1236, 'B', 12500, 35, 'María José Ñañez', 'MAÑANA')",
    "INSERT INTO FAC_OUT (ID, FOUT_FECHA, FOUT_PVENTA, FOUT_NUM, FOUT_TIPO, TOTAL, CLI_COD, CLI_NAME, FOUT_TURNO) "
    "VALUES (1007, '2026-03-04', 5, 15, 'C', 6800, 1, 'CONSUMIDOR FINAL', 'NOCHE')",
    "INSERT INTO FACT_OUT (FCOUT_ID, FCOUT_PROD_ID, FCOUT_RUB, FCOUT_UNID, FCOUT_DESCR, FCOUT_CANT, FCOUT_PVENTA, "
    "FCOUT_TOTAL) "
    "VALUES (1003, 10, 2, 'LT', 'ACEITE SEMISINTÉTICO 10W40', 0.5, 12500, 6250)",
    "INSERT INTO PRODUCTO (PROD_ID, PROD_RUB, PROD_DESCRIP, PROD_MEDIDA, PROD_IMPINT, IVA_TIPO) "
    "VALUES (10, 2, 'ACEITE SEMISINTÉTICO 10W40', 'LT', 350, 'GRAVADO')",
    "INSERT INTO PROD_PRECIO (ID_PROD, ID_LISTA, PVENTA) VALUES (10, 1, 689.9)",
    "INSERT INTO T_CARGAS (ID, F_COMP, T_TIPOCARGA, N_COMP, IMP_CARGA, VOL_CARGA, HORA, N_PV) "
    "VALUES (1001, '2026-03-02', 3, 80211, 8623.75, 12.5, '2026-03-02 00:00:00', 689.9)",
    "INSERT INTO T_CARGAS (ID, F_COMP, T_TIPOCARGA, N_COMP, IMP_CARGA, VOL_CARGA, HORA, N_PV) "
    "VALUES (1003, '2026-03-02', 3, 80213, 10376.1, 15.04, '2026-03-02 13:59:59', 689.9)",
    "INSERT INTO EXTRA (ID, CODIGO, IMPORTE, NOTA) VALUES (1, 'AÑ', 12345678901234.5678, NULL)",
};

const char *const charsets[] = {"UTF8", "WIN1252", "NONE"};

} // namespace

class TstFirebirdSource : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void texts_data() { charsetRows(); }
    void texts();
    void charPaddingIsTheColumnsOwn_data() { charsetRows(); }
    void charPaddingIsTheColumnsOwn();
    void decimalsStayExact_data() { charsetRows(); }
    void decimalsStayExact();
    void datesGiveThePlatformText_data() { charsetRows(); }
    void datesGiveThePlatformText();
    void countWithOrderRunsAsWritten_data() { charsetRows(); }
    void countWithOrderRunsAsWritten();
    void serverWithPortForms_data();
    void serverWithPortForms();

private:
    void charsetRows();
    Connection &open(const QString &charset);

    Servers m_servers = Servers::load();
    QTemporaryDir m_odbc;
    SharedServices m_services;
    ScriptedOperator m_op;
    QHash<QString, QString> m_paths;
    std::map<QString, std::unique_ptr<Connection>> m_connections;
};

void TstFirebirdSource::charsetRows()
{
    QTest::addColumn<QString>("charset");
    for (const char *cs : charsets)
        QTest::newRow(cs) << QString::fromLatin1(cs);
}

void TstFirebirdSource::initTestCase()
{
    REQUIRE_SERVERS(m_servers);
    // No ODBC driver of the connection text's name: the Firebird client is used.
    usePrivateOdbcDrivers(m_odbc.path(), {});
    m_services.setOperator(&m_op);
    QStringList statements = splitSqlScript(sourceFileText(QStringLiteral("schema/ktz.firebird.sql")));
    statements << QStringLiteral(
        "CREATE TABLE EXTRA (ID INTEGER, CODIGO CHAR(6), IMPORTE NUMERIC(18,4), NOTA VARCHAR(20))")
               << QStringLiteral("COMMIT");
    for (const char *row : rows)
        statements << QString::fromUtf8(row);
    const QString run = QUuid::createUuid().toString(QUuid::Id128).left(8);
    for (const char *cs : charsets) {
        const QString charset = QString::fromLatin1(cs);
        const QString path =
            m_servers.createFirebird(QStringLiteral("src_%1_%2.fdb").arg(charset.toLower(), run), charset, statements);
        QVERIFY2(!path.isEmpty(), cs);
        m_paths.insert(charset, path);
    }
}

Connection &TstFirebirdSource::open(const QString &charset)
{
    auto &slot = m_connections[charset];
    if (!slot) {
        slot = std::make_unique<Connection>(m_services.errors, QStringLiteral("ktz-") + charset);
        const QString text =
            QStringLiteral("Driver={Easysoft IB6 ODBC};Server=%1;Database=%2;Uid=%3;Pwd=%4")
                .arg(m_servers.fbServer(), m_paths.value(charset), m_servers.fbUser, m_servers.fbPassword);
        const ConnectionSpec target = sourceConnectionSpec(text);
        if (target.driver != QLatin1String("QIBASE") || !slot->open(target))
            qFatal("cannot open %s: %s", qPrintable(target.describe()), qPrintable(slot->openError()));
    }
    return *slot;
}

void TstFirebirdSource::texts()
{
    QFETCH(QString, charset);
    Connection &ktz = open(charset);
    Recordset customers = ktz.OpenRecordset(QStringLiteral("SELECT * FROM T_CLIENTES"));
    QVERIFY(customers.hasRows());
    QCOMPARE(customers.value(QStringLiteral("T_CLI_NOM")).toString(), QStringLiteral("María José Ñañez"));
    QCOMPARE(customers.value(QStringLiteral("T_CLI_EMP")).toString(), QStringLiteral("ninguna"));

    // The invoice lines as the stock step selects them: a join, a star, and
    // an integer column compared with a quoted, blank-led text.
    Recordset lines = ktz.OpenRecordset(
        QStringLiteral("SELECT  FAC_OUT.CLI_NAME ,FAC_OUT.FOUT_PVENTA , FAC_OUT.FOUT_NUM , "
                       "FAC_OUT.FOUT_TIPO,FAC_OUT.FOUT_FECHA,FACT_OUT.* "
                       "FROM FACT_OUT INNER JOIN FAC_OUT ON FACT_OUT.FCOUT_ID = FAC_OUT.ID "
                       "WHERE FAC_OUT.FOUT_PVENTA=' 5' AND FAC_OUT.FOUT_NUM=1236 AND FAC_OUT.FOUT_TIPO='B'"));
    QVERIFY(lines.hasRows());
    QCOMPARE(lines.value(QStringLiteral("CLI_NAME")).toString(), QStringLiteral("María José Ñañez"));
    QCOMPARE(lines.value(QStringLiteral("FCOUT_DESCR")).toString(), QStringLiteral("ACEITE SEMISINTÉTICO 10W40"));
    QCOMPARE(lines.value(QStringLiteral("FOUT_TIPO")).toString(), QStringLiteral("B"));
    QCOMPARE(lines.value(QStringLiteral("FOUT_PVENTA")).toInt(), 5);
    lines.moveNext();
    QVERIFY(lines.eof());

    Recordset articles = ktz.OpenRecordset(QStringLiteral(
        "SELECT PRODUCTO.*, PROD_PRECIO.PVENTA AS PRECIOVENTA FROM PRODUCTO INNER JOIN PROD_PRECIO ON "
        "PRODUCTO.PROD_ID = PROD_PRECIO.ID_PROD WHERE IVA_TIPO <> 'SHOP' AND IVA_TIPO <> 'CIGARRILLOS'"));
    QVERIFY(articles.hasRows());
    QCOMPARE(articles.value(QStringLiteral("PROD_DESCRIP")).toString(), QStringLiteral("ACEITE SEMISINTÉTICO 10W40"));
    QCOMPARE(SvcSession::NumberToSql(articles.value(QStringLiteral("PRECIOVENTA")), QStringLiteral("@")),
             QStringLiteral("689.9"));

    Recordset invoice = ktz.OpenRecordset(QStringLiteral("SELECT * FROM FAC_OUT WHERE ID = '1003'"));
    QCOMPARE(invoice.value(QStringLiteral("FOUT_TURNO")).toString(), QStringLiteral("MAÑANA"));
    QVERIFY(m_op.errorsSeen.isEmpty());
}

void TstFirebirdSource::charPaddingIsTheColumnsOwn()
{
    QFETCH(QString, charset);
    Connection &ktz = open(charset);
    Recordset rs = ktz.OpenRecordset(QStringLiteral("SELECT * FROM EXTRA"));
    QCOMPARE(rs.value(QStringLiteral("CODIGO")).toString(), QStringLiteral("AÑ    "));
    QVERIFY(rs.isNull(QStringLiteral("NOTA")));
    Recordset one = ktz.OpenRecordset(QStringLiteral("SELECT CODIGO AS COD FROM EXTRA"));
    QCOMPARE(one.value(QStringLiteral("COD")).toString(), QStringLiteral("AÑ    "));
}

void TstFirebirdSource::decimalsStayExact()
{
    QFETCH(QString, charset);
    Connection &ktz = open(charset);
    Recordset rs = ktz.OpenRecordset(QStringLiteral("SELECT * FROM EXTRA"));
    // Eighteen digits: more than a double holds.
    QCOMPARE(currencyOf(rs.value(QStringLiteral("IMPORTE")), QStringLiteral("IMPORTE")).raw(), 123456789012345678LL);
    QCOMPARE(SvcTools::FieldText(rs.value(QStringLiteral("IMPORTE"))), QStringLiteral("12345678901234.5678"));

    Recordset line = ktz.OpenRecordset(QStringLiteral("SELECT * FROM FACT_OUT"));
    QCOMPARE(line.value(QStringLiteral("FCOUT_CANT")), QVariant(0.5));
    QCOMPARE(SvcSession::NumberToSql(line.value(QStringLiteral("FCOUT_PVENTA")), QStringLiteral("@")),
             QStringLiteral("12500"));
    QCOMPARE(currencyOf(line.value(QStringLiteral("FCOUT_TOTAL")), QStringLiteral("FCOUT_TOTAL")).toText(),
             QStringLiteral("6250"));
}

void TstFirebirdSource::datesGiveThePlatformText()
{
    QFETCH(QString, charset);
    Connection &ktz = open(charset);
    Recordset loads = ktz.OpenRecordset(
        QStringLiteral("SELECT * FROM T_CARGAS WHERE N_COMP > 0 AND F_COMP >= '2026-03-01' ORDER BY F_COMP ASC, ID"));
    QCOMPARE(dateText(loads.value(QStringLiteral("F_COMP"))), QStringLiteral("2026-03-02"));
    QCOMPARE(dateText(loads.value(QStringLiteral("HORA"))), QStringLiteral("2026-03-02"));
    loads.moveNext();
    QCOMPARE(dateText(loads.value(QStringLiteral("HORA"))), QStringLiteral("2026-03-02 13:59:59"));
}

void TstFirebirdSource::countWithOrderRunsAsWritten()
{
    QFETCH(QString, charset);
    Connection &ktz = open(charset);
    Recordset invoices = ktz.OpenRecordset(QStringLiteral(
        "SELECT COUNT(*) AS RECORDCOUNT FROM FAC_OUT  WHERE (FOUT_TIPO = 'A' OR FOUT_TIPO ='B') AND FOUT_FECHA>= "
        "'2026-03-01' AND FOUT_NUM > 0 ORDER BY FOUT_FECHA ASC"));
    QCOMPARE(invoices.value(QStringLiteral("RecordCount")).toInt(), 2);
    Recordset loads = ktz.OpenRecordset(QStringLiteral("SELECT COUNT(*) AS RECORDCOUNT FROM T_CARGAS  WHERE N_COMP > 0 "
                                                       "AND F_COMP >= '2026-03-01' ORDER BY F_COMP ASC"));
    QCOMPARE(loads.value(QStringLiteral("RecordCount")).toInt(), 2);
    QVERIFY(m_op.errorsSeen.isEmpty());
}

void TstFirebirdSource::serverWithPortForms_data()
{
    QTest::addColumn<QString>("server");
    QTest::newRow("host/port") << m_servers.fbServer();
    QTest::newRow("host:port") << QStringLiteral("%1:%2").arg(m_servers.fbHost).arg(m_servers.fbPort);
}

void TstFirebirdSource::serverWithPortForms()
{
    QFETCH(QString, server);
    const ConnectionSpec target =
        sourceConnectionSpec(QStringLiteral("Driver={Easysoft IB6 ODBC};Server=%1;Database=%2;Uid=SYSDBA;Pwd=%3")
                                 .arg(server, m_paths.value(QStringLiteral("UTF8")), m_servers.fbPassword));
    Connection ktz(m_services.errors, QStringLiteral("ktz-port"));
    QVERIFY2(ktz.open(target), qPrintable(ktz.openError()));
    QCOMPARE(ktz.OpenRecordset(QStringLiteral("SELECT * FROM RUBRO")).isEmpty(), true);
}

QTEST_GUILESS_MAIN(TstFirebirdSource)
#include "tst_firebirdsource.moc"
