// Journal entries of sales documents on real SQLite files: every column of
// the worked invoice, the exact statements, which lines are written and how
// they are numbered, the IVA account by customer condition, customers met
// first in a sale, the duplicate checks, entry numbers of large ids, shifts,
// and a failing line with the operator continuing or giving up.

#include "sales/journalstatements.h"
#include "salesfixture.h"

#include <QTest>
#include <ctime>

using namespace salestest;

namespace {

// The worked invoice: 121 = 100 net + 21 IVA, customer 12 (registered).
QString workedInvoice(const QString &amounts = QStringLiteral("121, 100, 0, 21"))
{
    return invoice(QStringLiteral("1001, '2026-03-02', 5, 1234, 'A', %1, 21, 12, 'Transportes D''Onofrio', "
                                  "'30-71234567-8', 'MAÑANA'")
                       .arg(amounts))
        + invoiceLine(QStringLiteral("1001, 10, 2, 'LT', 'ACEITE', 2, 50, 1, 10.5"));
}

QString registeredCustomer()
{
    return customer(QStringLiteral("1120000012"), QStringLiteral("'   1'"));
}

// Makes Orva reject journal lines to account, so the operator is asked.
void rejectAccount(RunFixture &f, const QString &account)
{
    queryRows(f.orvaPath,
              QStringLiteral("CREATE TRIGGER reject_line BEFORE INSERT ON MV_ASIENTOS WHEN NEW.CUENTA = '%1' "
                             "BEGIN SELECT RAISE(ABORT, 'rechazado'); END")
                  .arg(account));
}

const QString workedOrigin = QStringLiteral("000500001234A");

} // namespace

class TstJournalEntry : public QObject
{
    Q_OBJECT

private slots:
    void workedInvoiceColumns();
    void statementsAreExact();
    void linesWritten_data();
    void linesWritten();
    void ivaAccountByCondition_data();
    void ivaAccountByCondition();
    void customerMetFirstInASale();
    void customerAccountOfASale_data();
    void customerAccountOfASale();
    void documentDates_data();
    void documentDates();
    void documentDateInADaylightSavingGap();
    void duplicates_data();
    void duplicates();
    void secondRunWritesNothing();
    void loadSharingAnInvoiceIdIsStillWritten();
    void entryNumberIsTheExactId_data();
    void entryNumberIsTheExactId();
    void shiftOfAnInvoice_data();
    void shiftOfAnInvoice();
    void failingLine_data();
    void failingLine();
};

void TstJournalEntry::workedInvoiceColumns()
{
    RunFixture f(orvaBase() + registeredCustomer(), workedInvoice());
    QVERIFY(runSales(f));
    const QList<QVariantMap> rows = f.orvaRows(QStringLiteral("SELECT * FROM MV_ASIENTOS ORDER BY SECUENCIA"));
    QCOMPARE(rows.size(), 3);

    // What every line of the entry repeats.
    const QVariantMap common{
        {"FECHA", "2026-03-02"},
        {"FECHASUBDIARIO", "2026-03-02"},
        {"MES_OPERATIVO", "3"},
        {"NUMERO ASIENTO", "1001"},
        {"CABIMPORTE", "121"},
        {"PERIODO", "2026"},
        {"TC", "FA"},
        {"SUCURSAL", "0005"},
        {"NUMERO", "00001234"},
        {"LETRA", "A"},
        {"TIPO_REG", "VTAS"},
        {"DETALLE", "*KTZ*FA 000500001234A"},
        {"MONEDA", "   1"},
        {"COTIZACION", "1"},
        {"IDCAJAS", "   5"},
        {"CPTE_ORIGEN", "000500001234A"},
        {"CABCUENTA", "1120000012"},
        {"CABNOMBRE", "Transportes D'Onofrio"},
        {"LIVA_TOTAL", "121"},
        {"CABCUIT", "30-71234567-8"},
        {"Transmision", "999"},
    };
    // What changes from line to line; only the first carries the IVA book.
    const QList<QVariantMap> lines{
        {{"CUENTA", "1120000012"},
         {"SECUENCIA", "1"},
         {"DEBE-HABER", "D"},
         {"IMPORTE", "121"},
         {"LIVA_IMPNETONGRAV", "0"},
         {"LIVA_IMPNETOGRAV", "100"},
         {"LIVA_IMPIVA", "21"},
         {"LIVA_ALICIVA", "21"},
         {"CABCONDIVA", "   1"},
         {"LIVA_TIPO", "Ventas"}},
        {{"CUENTA", "4110101"},
         {"SECUENCIA", "2"},
         {"DEBE-HABER", "H"},
         {"IMPORTE", "100"},
         {"LIVA_IMPNETONGRAV", "0"},
         {"LIVA_IMPNETOGRAV", "0"},
         {"LIVA_IMPIVA", "0"},
         {"LIVA_ALICIVA", "0"},
         {"CABCONDIVA", ""},
         {"LIVA_TIPO", ""}},
        {{"CUENTA", "2110101"},
         {"SECUENCIA", "3"},
         {"DEBE-HABER", "H"},
         {"IMPORTE", "21"},
         {"LIVA_IMPNETONGRAV", "0"},
         {"LIVA_IMPNETOGRAV", "0"},
         {"LIVA_IMPIVA", "0"},
         {"LIVA_ALICIVA", "0"},
         {"CABCONDIVA", ""},
         {"LIVA_TIPO", ""}},
    };
    for (int i = 0; i < 3; ++i) {
        QVariantMap expected = common;
        expected.insert(lines[i]);
        QCOMPARE(rows[i].size(), 31);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            const QVariant actual = rows[i].value(it.key());
            QVERIFY2(!actual.isNull() || it.value().toString().isEmpty(), qPrintable(it.key()));
            QCOMPARE(actual.toString(), it.value().toString());
        }
        // Empty book texts are empty texts, not SQL NULL.
        QVERIFY(!rows[i].value("CABCONDIVA").isNull());
    }
    QCOMPARE(f.context.counters.CantVen, 1);
    QCOMPARE(f.context.counters.CantVenAct, 3);
    QVERIFY(f.op.errorsSeen.isEmpty());
}

void TstJournalEntry::statementsAreExact()
{
    RunFixture f(orvaBase() + registeredCustomer(), workedInvoice());
    queryRows(f.orvaPath,
              QStringLiteral("CREATE TRIGGER reject_all BEFORE INSERT ON MV_ASIENTOS BEGIN "
                             "SELECT RAISE(ABORT, 'rechazado'); END"));
    f.op.errorChoices = {ChoiceIgnore, ChoiceIgnore, ChoiceIgnore};
    QVERIFY(runSales(f));
    QCOMPARE(f.op.errorsSeen.size(), 3);
    const QString columns = QStringLiteral(
        "INSERT INTO MV_ASIENTOS (FECHA,FECHASUBDIARIO,MES_OPERATIVO,[NUMERO ASIENTO],CUENTA,SECUENCIA,CABIMPORTE,"
        "[DEBE-HABER],IMPORTE,PERIODO,TC,SUCURSAL,NUMERO,LETRA,TIPO_REG,DETALLE,MONEDA,COTIZACION,IDCAJAS,CPTE_ORIGEN, "
        "CABCUENTA,CABNOMBRE,LIVA_TOTAL,LIVA_IMPNETONGRAV,LIVA_IMPNETOGRAV,LIVA_IMPIVA,LIVA_ALICIVA,CABCONDIVA,"
        "LIVA_TIPO,CABCUIT,Transmision)  VALUES(");
    QCOMPARE(f.op.errorsSeen[0].statement,
             columns
                 + "'2026-03-02','2026-03-02','3',1001,'1120000012',1,121,'D',121,'2026','FA','0005','00001234','A',"
                   "'VTAS','*KTZ*FA 000500001234A','   1',1,'   5','000500001234A','1120000012',"
                   "'Transportes D''Onofrio',121,0,100,21,21,'   1','Ventas','30-71234567-8',999)");
    // A failed line still takes its number, as the operator went past it.
    QCOMPARE(f.op.errorsSeen[1].statement,
             columns
                 + "'2026-03-02','2026-03-02','3',1001,'4110101',2,121,'H',100,'2026','FA','0005','00001234','A',"
                   "'VTAS','*KTZ*FA 000500001234A','   1',1,'   5','000500001234A','1120000012',"
                   "'Transportes D''Onofrio',121,0,0,0,0,'','','30-71234567-8',999)");
    QVERIFY(f.op.errorsSeen[0].record.contains(QStringLiteral("factura 1001")));
    QCOMPARE(f.op.errorsSeen[0].procedure, QStringLiteral("GrabaAsientoVenta"));
    QCOMPARE(f.context.counters.CantVenAct, 3);

    // The two checks, with a customer account and a name holding a quote.
    JournalHeader h;
    h.month = QStringLiteral("3");
    h.entryNumber = QStringLiteral("16777217");
    h.period = QStringLiteral("2026");
    h.voucher =
        VoucherIdentity{QStringLiteral("FA"), QStringLiteral("0005"), QStringLiteral("00001234"), QStringLiteral("A")};
    h.customerAccount = QStringLiteral("1120'000012");
    QCOMPARE(voucherCheckStatement(h),
             QStringLiteral("SELECT * FROM MV_ASIENTOS WHERE TC='FA' AND SUCURSAL='0005' AND NUMERO='00001234' "
                            "AND LETRA='A' AND [NUMERO ASIENTO] = 16777217"));
    QCOMPARE(customerLineCheckStatement(h),
             QStringLiteral("SELECT * FROM MV_ASIENTOS WHERE CUENTA='1120''000012' AND SECUENCIA =1 AND "
                            "MES_OPERATIVO=3 AND [NUMERO ASIENTO]='16777217' AND PERIODO = 2026 AND TIPO_REG='VTAS' "
                            "AND CPTE_ORIGEN='000500001234A'"));
}

void TstJournalEntry::linesWritten_data()
{
    QTest::addColumn<QString>("amounts"); // TOTAL, NETO_GRAV, IMP_NGRAV, FOUT_TOTIVA
    QTest::addColumn<QString>("orvaChange");
    QTest::addColumn<QStringList>("lines"); // CUENTA|side|IMPORTE in SECUENCIA order
    QTest::addColumn<int>("stockRows");

    const QString d = QStringLiteral("1120000012|D|");
    QTest::newRow("net and IVA") << "121, 100, 0, 21" << QString()
                                 << QStringList{d + "121", "4110101|H|100", "2110101|H|21"} << 1;
    QTest::newRow("with non-taxed") << "130.5, 100, 9.5, 21" << QString()
                                    << QStringList{d + "130.5", "4110101|H|100", "4110101|H|9.5", "2110101|H|21"} << 1;
    QTest::newRow("no IVA accounts") << "121, 100, 0, 21"
                                     << "DELETE FROM TA_CUENTASIVA" << QStringList{d + "121", "4110101|H|100"} << 1;
    QTest::newRow("blank sales account") << "121, 100, 0, 21"
                                         << "UPDATE V_TA_INPUT_VENTAS SET REPUESTOS = '   '"
                                         << QStringList{d + "121", "2110101|H|21"} << 1;
    QTest::newRow("no sales account row")
        << "121, 100, 0, 21"
        << "DELETE FROM V_TA_INPUT_VENTAS" << QStringList{d + "121", "2110101|H|21"} << 1;
    // The first line written, whichever it is, brings the stock lines.
    QTest::newRow("total 0") << "0, 100, 0, 21" << QString() << QStringList{"4110101|H|100", "2110101|H|21"} << 1;
    QTest::newRow("all 0") << "0, 0, 0, 0" << QString() << QStringList() << 0;
    QTest::newRow("credit note amounts") << "-121, -100, 0, -21" << QString() << QStringList() << 0;
    QTest::newRow("null amounts") << "NULL, NULL, NULL, NULL" << QString() << QStringList() << 0;
}

void TstJournalEntry::linesWritten()
{
    QFETCH(QString, amounts);
    QFETCH(QString, orvaChange);
    QFETCH(QStringList, lines);
    QFETCH(int, stockRows);
    RunFixture f(orvaBase() + registeredCustomer(), workedInvoice(amounts));
    if (!orvaChange.isEmpty())
        f.execOrva(orvaChange);
    QVERIFY(runSales(f));
    QStringList written;
    QStringList numbers;
    for (const QVariantMap &row : f.orvaRows(QStringLiteral("SELECT * FROM MV_ASIENTOS ORDER BY SECUENCIA"))) {
        written << row.value("CUENTA").toString() + "|" + row.value("DEBE-HABER").toString() + "|"
                + row.value("IMPORTE").toString();
        numbers << row.value("SECUENCIA").toString();
    }
    QCOMPARE(written, lines);
    QStringList expectedNumbers;
    for (int i = 1; i <= lines.size(); ++i)
        expectedNumbers << QString::number(i);
    QCOMPARE(numbers, expectedNumbers);
    QCOMPARE(count(f, "SELECT COUNT(*) FROM V_MV_STOCK"), stockRows);
    QCOMPARE(f.context.counters.CantVenAct, lines.size());
    QVERIFY(f.op.errorsSeen.isEmpty());
}

void TstJournalEntry::ivaAccountByCondition_data()
{
    QTest::addColumn<QString>("iva"); // the customer's IVA column as SQL
    QTest::addColumn<QString>("ivaAccount");
    QTest::addColumn<QString>("bookCondition");

    QTest::newRow("registered") << "'   1'"
                                << "2110101"
                                << "   1";
    QTest::newRow("not registered") << "'   2'"
                                    << "2110102"
                                    << "   2";
    QTest::newRow("final consumer") << "'   3'"
                                    << "2110103"
                                    << "   3";
    QTest::newRow("small taxpayer") << "'   5'"
                                    << "2110104"
                                    << "   5";
    QTest::newRow("exempt (4)") << "'4'"
                                << "2110101"
                                << "4";
    QTest::newRow("the text Null") << "'nULL'"
                                   << "2110101"
                                   << "";
}

void TstJournalEntry::ivaAccountByCondition()
{
    QFETCH(QString, iva);
    QFETCH(QString, ivaAccount);
    QFETCH(QString, bookCondition);
    RunFixture f(orvaBase() + customer(QStringLiteral("1120000012"), iva), workedInvoice());
    QVERIFY(runSales(f));
    QCOMPARE(journalColumn(f, "CUENTA", workedOrigin), (QStringList{"1120000012", "4110101", ivaAccount}));
    QCOMPARE(journalColumn(f, "CABCONDIVA", workedOrigin), (QStringList{bookCondition, "", ""}));
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MA_CUENTAS"), 1); // nothing created
}

void TstJournalEntry::customerMetFirstInASale()
{
    // Customer 10023 is keyed by its last four digits; Orva does not know it.
    RunFixture f(orvaBase(),
                 invoice("7, '2026-03-02', 5, 1, 'B', 121, 100, 0, 21, 21, 10023, 'Remises El Ñandú D''Amico', "
                         "'30-1', 'TARDE'")
                     + invoice("8, '2026-03-03', 5, 2, 'B', 60.5, 50, 0, 10.5, 21, 10023, 'Otro nombre', '30-1', "
                               "'TARDE'"));
    QVERIFY(runSales(f));
    const QList<QVariantMap> accounts = f.orvaRows("SELECT * FROM MA_CUENTAS");
    QCOMPARE(accounts.size(), 1);
    const QVariantMap a = accounts.first();
    QCOMPARE(a.value("CODIGO").toString(), QStringLiteral("1120000023"));
    QCOMPARE(a.value("DESCRIPCION").toString(), QStringLiteral("Remises El Ñandú D'Amico"));
    QCOMPARE(a.value("TITULO").toString() + a.value("AJUSTE").toString() + a.value("LIBRO_IVA_VENTAS").toString()
                 + a.value("LIBRO_IVA_COMPRAS").toString() + a.value("DADA_DE_BAJA").toString(),
             QStringLiteral("00100"));
    QCOMPARE(a.value("TIPOVISTA").toString(), QStringLiteral("CL"));
    QVERIFY(a.value("MEDIODEPAGO").isNull());
    const QVariantMap d = f.orvaRows("SELECT * FROM MA_CUENTASADIC").first();
    QCOMPARE(d.value("CODIGO").toString(), QStringLiteral("1120000023"));
    for (const char *blank : {"CALLE", "LOCALIDAD", "CPOSTAL", "TELEFONO", "OBSERVACIONES"})
        QCOMPARE(d.value(blank).toString(), QString());
    for (const char *one : {"PROVINCIA", "IDCOND_CPRA_VTA", "PAIS", "IDMOTIVOVTA"})
        QCOMPARE(d.value(one).toString(), QStringLiteral("   1"));
    QCOMPARE(d.value("IVA").toString(), QStringLiteral("   3"));
    QCOMPARE(d.value("DOCUMENTO_TIPO").toString(), QStringLiteral("   3"));
    QCOMPARE(d.value("NUMERO_DOCUMENTO").toString(), QStringLiteral("0"));
    QCOMPARE(d.value("CLASE").toInt(), 2);
    // The created customer is a final consumer; the second invoice finds it.
    QCOMPARE(journalColumn(f, "CUENTA", "000500000001B"), (QStringList{"1120000023", "4110101", "2110103"}));
    QCOMPARE(journalColumn(f, "CABCONDIVA", "000500000001B"), (QStringList{"   3", "", ""}));
    QCOMPARE(journalColumn(f, "CUENTA", "000500000002B"), (QStringList{"1120000023", "4110101", "2110103"}));
    QCOMPARE(journalColumn(f, "CABNOMBRE", "000500000002B").first(), QStringLiteral("Otro nombre"));
}

void TstJournalEntry::customerAccountOfASale_data()
{
    QTest::addColumn<QString>("config"); // run on Orva before the session starts
    QTest::addColumn<QString>("cliCod"); // CLI_COD as SQL
    QTest::addColumn<QString>("account");

    QTest::newRow("six digits") << QString() << "12"
                                << "1120000012";
    QTest::newRow("last four characters") << QString() << "12345678"
                                          << "1120005678";
    // The prefix is the one held trimmed since start-up.
    QTest::newRow("prefix trimmed") << "UPDATE TA_CONFIGURACION SET VALOR = ' 1120 ' WHERE CLAVE = 'TITULOCLIENTES';"
                                    << "12"
                                    << "1120000012";
    QTest::newRow("three digits") << "UPDATE TA_CONFIGURACION SET VALOR = '3' WHERE CLAVE = 'Digitos_Cuenta';"
                                  << "7"
                                  << "1120007";
    QTest::newRow("more digits than configured")
        << "UPDATE TA_CONFIGURACION SET VALOR = '3' WHERE CLAVE = 'Digitos_Cuenta';"
        << "1234"
        << "11201234";
    QTest::newRow("not a number") << QString() << "'A7'"
                                  << "1120A7";
}

void TstJournalEntry::customerAccountOfASale()
{
    QFETCH(QString, config);
    QFETCH(QString, cliCod);
    QFETCH(QString, account);
    RunFixture f(orvaBase() + config,
                 simpleInvoice(1, "2026-03-02", 1).replace("12, 'Cliente'", cliCod + ", 'Cliente'"));
    QVERIFY(runSales(f));
    QVERIFY(f.op.errorsSeen.isEmpty());
    QCOMPARE(journalColumn(f, "CUENTA", "000500000001B").value(0), account);
    QCOMPARE(journalColumn(f, "CABCUENTA", "000500000001B"), (QStringList{account, account, account}));
    // Orva did not know the customer: it is created under the same code.
    QCOMPARE(f.orvaValue("SELECT CODIGO FROM MA_CUENTAS").toString(), account);
    QCOMPARE(f.orvaValue("SELECT CODIGO FROM MA_CUENTASADIC").toString(), account);
}

void TstJournalEntry::documentDates_data()
{
    QTest::addColumn<QString>("stored"); // FOUT_FECHA as KTZ holds it
    QTest::addColumn<QString>("date");   // FECHA, FECHASUBDIARIO, the stock row's FECHA, LastSalesDate
    QTest::addColumn<QString>("month");

    QTest::newRow("date") << "2026-03-02"
                          << "2026-03-02"
                          << "3";
    QTest::newRow("timestamp at midnight") << "2026-03-02 00:00:00"
                                           << "2026-03-02"
                                           << "3";
    QTest::newRow("timestamp with a time") << "2026-12-02 10:30:00"
                                           << "2026-12-02 10:30:00"
                                           << "12";
    QTest::newRow("timestamp with T and a fraction") << "2026-10-02T10:30:00.250"
                                                     << "2026-10-02 10:30:00"
                                                     << "10";
}

void TstJournalEntry::documentDates()
{
    QFETCH(QString, stored);
    QFETCH(QString, date);
    QFETCH(QString, month);
    RunFixture f(orvaBase() + registeredCustomer(), workedInvoice().replace("'2026-03-02'", "'" + stored + "'"));
    QVERIFY(runSales(f));
    QCOMPARE(journalColumn(f, "FECHA", workedOrigin), (QStringList{date, date, date}));
    QCOMPARE(journalColumn(f, "FECHASUBDIARIO", workedOrigin), (QStringList{date, date, date}));
    QCOMPARE(journalColumn(f, "MES_OPERATIVO", workedOrigin), (QStringList{month, month, month}));
    QCOMPARE(f.orvaValue("SELECT FECHA FROM V_MV_STOCK").toString(), date);
    QCOMPARE(f.context.LastSalesDate, date);
}

void TstJournalEntry::documentDateInADaylightSavingGap()
{
    // Summer time starting at 00:00 on the first Sunday of November: local
    // midnight of 2018-11-04 does not exist there, the documents' date does.
    struct TimeZone
    {
        QByteArray before = qgetenv("TZ");
        TimeZone()
        {
            qputenv("TZ", "BRT3BRST,M11.1.0/0,M2.3.0/0");
            tzset();
        }
        ~TimeZone()
        {
            if (before.isNull())
                qunsetenv("TZ");
            else
                qputenv("TZ", before);
            tzset();
        }
    } zone;
    RunFixture f(orvaBase() + registeredCustomer()
                     + "UPDATE TA_CONFIGURACION SET VALOR = '2018-11-04' WHERE CLAVE = 'KTZ_FECHADESDE';",
                 workedInvoice().replace("'2026-03-02'", "'2018-11-04'")
                     + simpleLoad(7, "2018-11-04", 80211, "00:30:00"));
    QVERIFY(runSales(f));
    QCOMPARE(journalColumn(f, "FECHA", workedOrigin), (QStringList{"2018-11-04", "2018-11-04", "2018-11-04"}));
    QCOMPARE(journalColumn(f, "MES_OPERATIVO", workedOrigin), (QStringList{"11", "11", "11"}));
    QCOMPARE(journalColumn(f, "FECHA", "000300080211B").value(0), QStringLiteral("2018-11-04"));
    QCOMPARE(journalColumn(f, "IDCAJAS", "000300080211B").value(0), QStringLiteral("   7"));
    QCOMPARE(f.orvaValue("SELECT FECHA FROM V_MV_STOCK WHERE IDCOMPROBANTE = '000500001234A'").toString(),
             QStringLiteral("2018-11-04"));
    QCOMPARE(f.context.LastSalesDate, QStringLiteral("2018-11-04"));
}

void TstJournalEntry::duplicates_data()
{
    QTest::addColumn<QString>("orvaRows");
    QTest::addColumn<int>("linesWritten");

    const QString line = QStringLiteral(
        "INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, [NUMERO ASIENTO], CUENTA, SECUENCIA, MES_OPERATIVO, "
        "PERIODO, TIPO_REG, CPTE_ORIGEN) VALUES (%1);");
    QTest::newRow("voucher with its entry number")
        << line.arg("'FA', '0005', '00001234', 'A', 1001, '9', 1, 1, 2025, 'VTAS', 'x'") << 0;
    QTest::newRow("voucher under another entry number")
        << line.arg("'FA', '0005', '00001234', 'A', 1000, '9', 1, 1, 2025, 'VTAS', 'x'") << 3;
    QTest::newRow("voucher of another type")
        << line.arg("'FX', '0005', '00001234', 'A', 1001, '9', 1, 1, 2025, 'VTAS', 'x'") << 3;
    QTest::newRow("customer line of the voucher")
        << line.arg("'FX', '', '', '', 1001, '1120000012', 1, 3, 2026, 'VTAS', '000500001234A'") << 0;
    QTest::newRow("customer line of another voucher")
        << line.arg("'FX', '', '', '', 1001, '1120000012', 1, 3, 2026, 'VTAS', '000300001234B'") << 3;
    QTest::newRow("customer line of another month")
        << line.arg("'FX', '', '', '', 1001, '1120000012', 1, 4, 2026, 'VTAS', '000500001234A'") << 3;
    QTest::newRow("customer line of another period")
        << line.arg("'FX', '', '', '', 1001, '1120000012', 1, 3, 2025, 'VTAS', '000500001234A'") << 3;
}

void TstJournalEntry::duplicates()
{
    QFETCH(QString, orvaRows);
    QFETCH(int, linesWritten);
    RunFixture f(orvaBase() + registeredCustomer() + orvaRows, workedInvoice());
    QVERIFY(runSales(f));
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MV_ASIENTOS") - 1, linesWritten);
    QCOMPARE(f.context.counters.CantVenAct, linesWritten);
    QCOMPARE(count(f, "SELECT COUNT(*) FROM V_MV_STOCK"), linesWritten > 0 ? 1 : 0);
    // A recognised document is still committed and moves the date on.
    QCOMPARE(f.context.LastSalesDate, QStringLiteral("2026-03-02"));
    QVERIFY(!f.context.orva().inTransaction());
}

void TstJournalEntry::secondRunWritesNothing()
{
    RunFixture f(orvaBase(),
                 workedInvoice() + simpleInvoice(1002, "2026-03-03", 77) + simpleLoad(1001, "2026-03-03", 80211));
    QVERIFY(runSales(f));
    const int lines = count(f, "SELECT COUNT(*) FROM MV_ASIENTOS");
    const int stock = count(f, "SELECT COUNT(*) FROM V_MV_STOCK");
    const int customers = count(f, "SELECT COUNT(*) FROM MA_CUENTAS");
    QCOMPARE(lines, 10);
    QCOMPARE(f.context.counters.CantVenAct, 10);
    f.session.GrabaDfg("KTZ_ULTIMAFECHA", f.context.LastSalesDate);
    f.context.counters.reset();
    QVERIFY(runSales(f));
    QCOMPARE(f.context.counters.CantVen, 2); // the last day is selected again
    QCOMPARE(f.context.counters.CantVenAct, 0);
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MV_ASIENTOS"), lines);
    QCOMPARE(count(f, "SELECT COUNT(*) FROM V_MV_STOCK"), stock);
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MA_CUENTAS"), customers);
}

void TstJournalEntry::loadSharingAnInvoiceIdIsStillWritten()
{
    // Invoice 1002 and load 1002: same id, same final-consumer customer,
    // same month. Ids of the two tables run independently.
    RunFixture f(orvaBase(),
                 invoice("1002, '2026-03-02', 5, 1235, 'B', 121, 100, 0, 21, 21, 1, 'CONSUMIDOR FINAL', '0', "
                         "'TARDE'")
                     + simpleLoad(1002, "2026-03-02", 80212));
    QVERIFY(runSales(f));
    QCOMPARE(journalColumn(f, "[NUMERO ASIENTO]", "000500001235B"), (QStringList{"1002", "1002", "1002"}));
    QCOMPARE(journalColumn(f, "[NUMERO ASIENTO]", "000300080212B"), (QStringList{"1002", "1002", "1002", "1002"}));
    QCOMPARE(journalColumn(f, "CUENTA", "000300080212B").first(), QStringLiteral("1120000001"));
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MA_CUENTAS"), 1);
}

void TstJournalEntry::entryNumberIsTheExactId_data()
{
    QTest::addColumn<qint64>("id");
    QTest::newRow("small") << qint64(1234);
    QTest::newRow("last plain single") << qint64(9999999);
    QTest::newRow("first inexact single") << qint64(16777217);
    QTest::newRow("nine digits") << qint64(123456789);
    QTest::newRow("beyond 32 bits") << qint64(4294967301);
}

void TstJournalEntry::entryNumberIsTheExactId()
{
    QFETCH(qint64, id);
    RunFixture f(orvaBase() + registeredCustomer(), simpleInvoice(id, "2026-03-02", 1));
    QVERIFY(runSales(f));
    QCOMPARE(journalColumn(f, "[NUMERO ASIENTO]", "000500000001B"),
             (QStringList{QString::number(id), QString::number(id), QString::number(id)}));
    // The checks find the entry again by the same digits.
    f.context.counters.reset();
    QVERIFY(runSales(f));
    QCOMPARE(f.context.counters.CantVenAct, 0);
    QCOMPARE(count(f, "SELECT COUNT(*) FROM MV_ASIENTOS"), 3);
}

void TstJournalEntry::shiftOfAnInvoice_data()
{
    QTest::addColumn<QString>("shiftName");
    QTest::addColumn<QString>("shift");
    QTest::newRow("MAÑANA") << "MAÑANA"
                            << "   5";
    QTest::newRow("mañana") << "mañana"
                            << "   5";
    QTest::newRow("Mañana") << "Mañana"
                            << "   5";
    QTest::newRow("TARDE") << "TARDE"
                           << "   6";
    QTest::newRow("noche") << "noche"
                           << "   7";
    QTest::newRow("made up") << "PLAYA"
                             << "    ";
    QTest::newRow("padded") << "TARDE "
                            << "    ";
    QTest::newRow("null") << ""
                          << "    ";
}

void TstJournalEntry::shiftOfAnInvoice()
{
    QFETCH(QString, shiftName);
    QFETCH(QString, shift);
    // The invoice before it had a known shift, which must not carry over.
    const QString turno = shiftName.isEmpty() ? QStringLiteral("NULL") : "'" + shiftName + "'";
    RunFixture f(orvaBase() + registeredCustomer(),
                 invoice("1, '2026-03-02', 5, 1, 'A', 121, 100, 0, 21, 21, 12, 'C', '1', 'NOCHE'")
                     + invoice("2, '2026-03-03', 5, 2, 'A', 121, 100, 0, 21, 21, 12, 'C', '1', " + turno));
    QVERIFY(runSales(f));
    QCOMPARE(journalColumn(f, "IDCAJAS", "000500000001A").first(), QStringLiteral("   7"));
    QCOMPARE(journalColumn(f, "IDCAJAS", "000500000002A"), (QStringList{shift, shift, shift}));
}

void TstJournalEntry::failingLine_data()
{
    QTest::addColumn<int>("choice");
    QTest::newRow("give up") << int(ChoiceAbort);
    QTest::newRow("continue") << int(ChoiceIgnore);
}

void TstJournalEntry::failingLine()
{
    QFETCH(int, choice);
    // The second invoice is for a customer Orva does not know (a final
    // consumer once created), and its IVA line is rejected.
    RunFixture f(orvaBase() + registeredCustomer(),
                 workedInvoice() + simpleInvoice(1002, "2026-03-03", 77).replace("12, 'Cliente'", "99, 'Nuevo'")
                     + invoiceLine("1002, 10, 2, 'LT', 'ACEITE', 1, 50, 1, 10.5"));
    rejectAccount(f, QStringLiteral("2110103"));
    f.op.errorChoices = {choice};
    const bool finished = runSales(f);
    QCOMPARE(f.op.errorsSeen.size(), 1);
    QVERIFY(f.op.errorsSeen[0].record.contains(QStringLiteral("factura 1002")));
    if (choice == ChoiceAbort) {
        QVERIFY(!finished);
        // Giving up undid the open document, its customer creation and
        // stock lines included.
        QVERIFY(!f.context.orva().inTransaction());
        QCOMPARE(count(f, "SELECT COUNT(*) FROM MV_ASIENTOS WHERE CPTE_ORIGEN = '000500000077B'"), 0);
        QCOMPARE(count(f, "SELECT COUNT(*) FROM V_MV_STOCK WHERE IDCOMPROBANTE = '000500000077B'"), 0);
        QCOMPARE(count(f, "SELECT COUNT(*) FROM MA_CUENTAS WHERE CODIGO = '1120000099'"), 0);
        QCOMPARE(f.context.LastSalesDate, QStringLiteral("2026-03-02"));
    } else {
        QVERIFY(finished);
        QCOMPARE(journalColumn(f, "CUENTA", "000500000077B"), (QStringList{"1120000099", "4110101"}));
        QCOMPARE(count(f, "SELECT COUNT(*) FROM V_MV_STOCK WHERE IDCOMPROBANTE = '000500000077B'"), 1);
        QCOMPARE(f.context.LastSalesDate, QStringLiteral("2026-03-03"));
    }
    // The first invoice was committed before.
    QCOMPARE(journalColumn(f, "CUENTA", workedOrigin).size(), 3);
}

QTEST_GUILESS_MAIN(TstJournalEntry)
#include "tst_journalentry.moc"
