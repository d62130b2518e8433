// The customer step on real SQLite files: the account and detail rows of a
// new customer, the account name, tax-condition and province rules, when a
// stored customer is rewritten, customers sharing an account, the exact
// statements, counters and progress, and a customer without province.

#include "customers/customertransfer.h"
#include "support/fixtures.h"

#include <QTest>

namespace {

// Customer accounts hang from title 1120 with six digits.
const QString orvaBase =
    QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('Digitos_Cuenta', '6', 'DATOS'),"
                   " ('TITULOCLIENTES', '1120', 'DATOS');"
                   "INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES ('   1', 'BUENOS AIRES'), ('   3', 'CÓRDOBA'),"
                   " ('   4', 'SANTA FE'), ('0', 'SIN PROVINCIA');");

// A KTZ customer: number, then EMP, NOM, DIR, LOC, CP, PRO, TEL, CUIT, DNI, CONTRIB as SQL values.
QString customer(const QString &values)
{
    return QStringLiteral("INSERT INTO T_CLIENTES (T_CLI_CTA, T_CLI_EMP, T_CLI_NOM, T_CLI_DIR, T_CLI_LOC, T_CLI_CP, "
                          "T_CLI_PRO, T_CLI_TEL, T_CLI_CUIT, T_CLI_DNI, T_CLI_CONTRIB) VALUES (")
        + values + QStringLiteral(");\n");
}

// Customer 12 as the tests start from.
const QString customer12 = customer(QStringLiteral(
    "12, 'Transportes D''Onofrio S.R.L.', 'Juan', 'Av. O''Higgins 2150', 'Córdoba', '5000', ' Córdoba ', "
    "'0351 468-2210', '30-71234567-8', '22.345.678', 'RESP. INSCRIP.'"));

// Its rows in Orva as the transfer writes them.
const QString stored12 = QStringLiteral(
    "INSERT INTO MA_CUENTAS VALUES ('1120000012', 'Transportes D''Onofrio S.R.L.', 0, 0, 1, 0, 'CL', 0, '   2');"
    "INSERT INTO MA_CUENTASADIC VALUES ('1120000012', 'Av. O''Higgins 2150', 'Córdoba', '5000', '   3', "
    "'0351 468-2210', '30-71234567-8', '   1', '   1', '   1', '22.345.678', '   1', '   1', 2);");

// Runs the step under the run's handler, as the run driver does; false when
// the operator gave up.
bool runStep(RunFixture &f)
{
    CustomerTransfer step;
    return runStepAsDriver(f, step, TransferKind::Clientes);
}

QVariantMap account(RunFixture &f, const QString &code = QStringLiteral("1120000012"))
{
    return f.orvaRows(QStringLiteral("SELECT * FROM MA_CUENTAS WHERE CODIGO = '%1'").arg(code)).value(0);
}

QVariantMap detail(RunFixture &f, const QString &code = QStringLiteral("1120000012"))
{
    return f.orvaRows(QStringLiteral("SELECT * FROM MA_CUENTASADIC WHERE CODIGO = '%1'").arg(code)).value(0);
}

} // namespace

class TstCustomerTransfer : public QObject
{
    Q_OBJECT

private slots:
    void newCustomerGetsAccountAndDetails();
    void accountCode_data();
    void accountCode();
    void accountName_data();
    void accountName();
    void taxCondition_data();
    void taxCondition();
    void province_data();
    void province();
    void storedCustomer_data();
    void storedCustomer();
    void customersSharingTheLastFourDigits();
    void statementsAreExact();
    void progressCountersAndStop();
    void nullProvinceGoesToTheOperator_data();
    void nullProvinceGoesToTheOperator();
};

void TstCustomerTransfer::newCustomerGetsAccountAndDetails()
{
    RunFixture f(orvaBase,
                 customer12
                     + customer(QStringLiteral("35, 'ninguna', 'María José Ñañez', NULL, NULL, NULL, 'SANTA FE', NULL, "
                                               "NULL, NULL, ' monotributo '")));
    QVERIFY(runStep(f));
    QVERIFY(f.op.errorsSeen.isEmpty());
    QCOMPARE(f.context.counters.CantCli, 2);
    QCOMPARE(f.context.counters.CantCliAct, 4);

    const QVariantMap a = account(f);
    QCOMPARE(a.value(QStringLiteral("DESCRIPCION")).toString(), QStringLiteral("Transportes D'Onofrio S.R.L."));
    QCOMPARE(a.value(QStringLiteral("TITULO")).toInt(), 0);
    QCOMPARE(a.value(QStringLiteral("AJUSTE")).toInt(), 0);
    QCOMPARE(a.value(QStringLiteral("LIBRO_IVA_VENTAS")).toInt(), 1);
    QCOMPARE(a.value(QStringLiteral("LIBRO_IVA_COMPRAS")).toInt(), 0);
    QCOMPARE(a.value(QStringLiteral("TIPOVISTA")).toString(), QStringLiteral("CL"));
    QCOMPARE(a.value(QStringLiteral("DADA_DE_BAJA")).toInt(), 0);
    QVERIFY(a.value(QStringLiteral("MEDIODEPAGO")).isNull());

    const QVariantMap d = detail(f);
    const QList<QPair<const char *, QString>> expected = {
        {"CALLE", QStringLiteral("Av. O'Higgins 2150")},
        {"LOCALIDAD", QStringLiteral("Córdoba")},
        {"CPOSTAL", QStringLiteral("5000")},
        {"PROVINCIA", QStringLiteral("   3")},
        {"TELEFONO", QStringLiteral("0351 468-2210")},
        {"NUMERO_DOCUMENTO", QStringLiteral("30-71234567-8")},
        {"IVA", QStringLiteral("   1")},
        {"DOCUMENTO_TIPO", QStringLiteral("   1")},
        {"IDCOND_CPRA_VTA", QStringLiteral("   1")},
        {"OBSERVACIONES", QStringLiteral("22.345.678")},
        {"PAIS", QStringLiteral("   1")},
        {"IDMOTIVOVTA", QStringLiteral("   1")},
        {"CLASE", QStringLiteral("2")},
    };
    for (const auto &[column, value] : expected)
        QCOMPARE(d.value(QLatin1String(column)).toString(), value);

    // Null KTZ texts are stored as empty texts.
    const QVariantMap d35 = detail(f, QStringLiteral("1120000035"));
    QCOMPARE(account(f, QStringLiteral("1120000035")).value(QStringLiteral("DESCRIPCION")).toString(),
             QStringLiteral("María José Ñañez"));
    for (const char *column : {"CALLE", "LOCALIDAD", "CPOSTAL", "TELEFONO", "NUMERO_DOCUMENTO", "OBSERVACIONES"}) {
        QVERIFY2(!d35.value(QLatin1String(column)).isNull(), column);
        QCOMPARE(d35.value(QLatin1String(column)).toString(), QString());
    }
    QCOMPARE(d35.value(QStringLiteral("IVA")).toString(), QStringLiteral("   5"));

    // Unchanged since: a second run writes nothing.
    f.context.counters.reset();
    QVERIFY(runStep(f));
    QCOMPARE(f.context.counters.CantCli, 2);
    QCOMPARE(f.context.counters.CantCliAct, 0);
}

void TstCustomerTransfer::accountCode_data()
{
    QTest::addColumn<QString>("config"); // run on Orva before the session starts
    QTest::addColumn<QString>("number"); // T_CLI_CTA as SQL
    QTest::addColumn<QString>("code");

    QTest::newRow("six digits") << QString() << QStringLiteral("12") << QStringLiteral("1120000012");
    QTest::newRow("last four characters") << QString() << QStringLiteral("12345678") << QStringLiteral("1120005678");
    QTest::newRow("last four with a zero first")
        << QString() << QStringLiteral("10023") << QStringLiteral("1120000023");
    QTest::newRow("prefix as configured, blanks kept")
        << QStringLiteral("UPDATE TA_CONFIGURACION SET VALOR = '1120 ' WHERE CLAVE = 'TITULOCLIENTES';")
        << QStringLiteral("12") << QStringLiteral("1120 000012");
    QTest::newRow("no prefix configured")
        << QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE CLAVE = 'TITULOCLIENTES';") << QStringLiteral("12")
        << QStringLiteral(" 000012");
    QTest::newRow("no digits configured")
        << QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE CLAVE = 'Digitos_Cuenta';") << QStringLiteral("12")
        << QStringLiteral("112012");
}

void TstCustomerTransfer::accountCode()
{
    QFETCH(QString, config);
    QFETCH(QString, number);
    QFETCH(QString, code);
    RunFixture f(
        orvaBase + config,
        customer(QStringLiteral("%1, 'Acme', 'J', 'a', 'b', 'c', 'SANTA FE', 'd', 'e', 'f', 'OTROS'").arg(number)));
    QVERIFY(runStep(f));
    QVERIFY(f.op.errorsSeen.isEmpty());
    // The account and its details share the code.
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT CODIGO FROM MA_CUENTAS WHERE DESCRIPCION = 'Acme'")).toString(), code);
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT CODIGO FROM MA_CUENTASADIC WHERE CALLE = 'a'")).toString(), code);
    QCOMPARE(f.context.counters.CantCliAct, 2);
}

void TstCustomerTransfer::accountName_data()
{
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("name");

    QTest::newRow("company") << QStringLiteral("'Acme S.A.'") << QStringLiteral("Acme S.A.");
    QTest::newRow("NINGUNA") << QStringLiteral("'NINGUNA'") << QStringLiteral("Juan Pérez");
    QTest::newRow("ninguna in lower case") << QStringLiteral("'Ninguna'") << QStringLiteral("Juan Pérez");
    QTest::newRow("NINGUNA with a blank") << QStringLiteral("'NINGUNA '") << QStringLiteral("NINGUNA ");
    QTest::newRow("no company") << QStringLiteral("NULL") << QString();
}

void TstCustomerTransfer::accountName()
{
    QFETCH(QString, company);
    QFETCH(QString, name);
    RunFixture f(orvaBase,
                 customer(QStringLiteral("12, %1, 'Juan Pérez', 'a', 'b', 'c', 'SANTA FE', 'd', 'e', 'f', "
                                         "'OTROS'")
                              .arg(company)));
    QVERIFY(runStep(f));
    const QVariant stored = account(f).value(QStringLiteral("DESCRIPCION"));
    QVERIFY(!stored.isNull());
    QCOMPARE(stored.toString(), name);
}

void TstCustomerTransfer::taxCondition_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("iva");
    QTest::addColumn<QString>("documentType");

    QTest::newRow("final consumer") << QStringLiteral("'CONSUMIDOR FINAL'") << QStringLiteral("   3")
                                    << QStringLiteral("   3");
    QTest::newRow("final consumer, mixed case")
        << QStringLiteral("'Consumidor Final'") << QStringLiteral("   3") << QStringLiteral("   3");
    QTest::newRow("others") << QStringLiteral("'otros'") << QStringLiteral("   3") << QStringLiteral("   3");
    QTest::newRow("registered") << QStringLiteral("'Resp. Inscrip.'") << QStringLiteral("   1")
                                << QStringLiteral("   1");
    QTest::newRow("small taxpayer with blanks")
        << QStringLiteral("' monotributo '") << QStringLiteral("   5") << QStringLiteral("   1");
    QTest::newRow("exempt") << QStringLiteral("'EXENTO'") << QStringLiteral("   3") << QStringLiteral("   1");
    QTest::newRow("registered without the dot")
        << QStringLiteral("'RESP. INSCRIP'") << QStringLiteral("   3") << QStringLiteral("   1");
    QTest::newRow("empty") << QStringLiteral("''") << QStringLiteral("   3") << QStringLiteral("   1");
    QTest::newRow("null") << QStringLiteral("NULL") << QStringLiteral("   3") << QStringLiteral("   1");
}

void TstCustomerTransfer::taxCondition()
{
    QFETCH(QString, condition);
    QFETCH(QString, iva);
    QFETCH(QString, documentType);
    RunFixture f(
        orvaBase,
        customer(QStringLiteral("12, 'Acme', 'Juan', 'a', 'b', 'c', 'SANTA FE', 'd', 'e', 'f', %1").arg(condition)));
    QVERIFY(runStep(f));
    const QVariantMap d = detail(f);
    QCOMPARE(d.value(QStringLiteral("IVA")).toString(), iva);
    QCOMPARE(d.value(QStringLiteral("DOCUMENTO_TIPO")).toString(), documentType);
}

void TstCustomerTransfer::province_data()
{
    QTest::addColumn<QString>("province");
    QTest::addColumn<QString>("code");

    QTest::newRow("found") << QStringLiteral("'SANTA FE'") << QStringLiteral("   4");
    QTest::newRow("lower case, accent and blanks") << QStringLiteral("'  córdoba '") << QStringLiteral("   3");
    QTest::newRow("missing from Orva") << QStringLiteral("'SALTA'") << QStringLiteral("   1");
    QTest::newRow("code 0") << QStringLiteral("'Sin Provincia'") << QStringLiteral("   1");
    QTest::newRow("empty") << QStringLiteral("''") << QStringLiteral("   1");
}

void TstCustomerTransfer::province()
{
    QFETCH(QString, province);
    QFETCH(QString, code);
    RunFixture f(
        orvaBase,
        customer(QStringLiteral("12, 'Acme', 'Juan', 'a', 'b', 'c', %1, 'd', 'e', 'f', 'OTROS'").arg(province)));
    QVERIFY(runStep(f));
    QCOMPARE(detail(f).value(QStringLiteral("PROVINCIA")).toString(), code);
}

void TstCustomerTransfer::storedCustomer_data()
{
    // Orva rows of customer 12 changed by the statements given, the KTZ row,
    // the statements counted, and expected Orva values afterwards.
    QTest::addColumn<QString>("orvaChange");
    QTest::addColumn<QString>("ktz");
    QTest::addColumn<int>("written");
    QTest::addColumn<QVariantMap>("after");

    const auto ktz12 = [](const QString &from, const QString &to) {
        QString k = customer12;
        return k.replace(from, to);
    };
    QTest::newRow("unchanged") << QString() << customer12 << 0
                               << QVariantMap{{"MEDIODEPAGO", "   2"}, {"TELEFONO", "0351 468-2210"}};
    QTest::newRow("case-only differences")
        << QString()
        << ktz12("'Av. O''Higgins 2150', 'Córdoba'", "'AV. O''HIGGINS 2150', 'córdoba'")
               .replace("'Transportes D''Onofrio S.R.L.'", "'TRANSPORTES D''ONOFRIO S.R.L.'")
        << 0 << QVariantMap{{"CALLE", "Av. O'Higgins 2150"}, {"DESCRIPCION", "Transportes D'Onofrio S.R.L."}};
    QTest::newRow("rename clears the payment method")
        << QString() << ktz12("'Transportes D''Onofrio S.R.L.'", "'Transportes D''Onofrio S.A.'") << 1
        << QVariantMap{{"DESCRIPCION", "Transportes D'Onofrio S.A."}, {"MEDIODEPAGO", QVariant()}, {"TIPOVISTA", "CL"}};
    QTest::newRow("trailing blank in the phone")
        << QString() << ktz12("'0351 468-2210'", "'0351 468-2210 '") << 1
        << QVariantMap{{"TELEFONO", "0351 468-2210 "}, {"MEDIODEPAGO", "   2"}};
    QTest::newRow("a note typed in Orva is replaced")
        << QStringLiteral("UPDATE MA_CUENTASADIC SET OBSERVACIONES = 'moroso';") << customer12 << 1
        << QVariantMap{{"OBSERVACIONES", "22.345.678"}};
    QTest::newRow("country changed in Orva stays")
        << QStringLiteral("UPDATE MA_CUENTASADIC SET PAIS = '   7', CLASE = 5;") << customer12 << 0
        << QVariantMap{{"PAIS", "   7"}, {"CLASE", 5}};
    QTest::newRow("until a compared column differs")
        << QStringLiteral("UPDATE MA_CUENTASADIC SET PAIS = '   7', IDCOND_CPRA_VTA = '   2', IDMOTIVOVTA = '   9', "
                          "CLASE = 5;")
        << ktz12("'5000'", "'5001'") << 1
        << QVariantMap{{"PAIS", "   1"},
                       {"IDCOND_CPRA_VTA", "   1"},
                       {"IDMOTIVOVTA", "   1"},
                       {"CLASE", 2},
                       {"CPOSTAL", "5001"}};
    QTest::newRow("a null KTZ value is no difference")
        << QString() << ktz12("'0351 468-2210'", "NULL") << 0 << QVariantMap{{"TELEFONO", "0351 468-2210"}};
    QTest::newRow("a null Orva value is no difference")
        << QStringLiteral("UPDATE MA_CUENTASADIC SET TELEFONO = NULL; UPDATE MA_CUENTAS SET DESCRIPCION = NULL;")
        << customer12 << 0 << QVariantMap{{"TELEFONO", QVariant()}, {"DESCRIPCION", QVariant()}};
    QTest::newRow("province moved") << QString() << ktz12("' Córdoba '", "'SANTA FE'") << 1
                                    << QVariantMap{{"PROVINCIA", "   4"}};
}

void TstCustomerTransfer::storedCustomer()
{
    QFETCH(QString, orvaChange);
    QFETCH(QString, ktz);
    QFETCH(int, written);
    QFETCH(QVariantMap, after);
    RunFixture f(orvaBase + stored12 + orvaChange, ktz);
    QVERIFY(runStep(f));
    QVERIFY(f.op.errorsSeen.isEmpty());
    QCOMPARE(f.context.counters.CantCliAct, written);
    QVariantMap row = account(f);
    row.insert(detail(f));
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const QVariant actual = row.value(it.key());
        QVERIFY2(actual.isNull() == it.value().isNull(), qPrintable(it.key()));
        QCOMPARE(actual.toString(), it.value().toString());
    }
}

void TstCustomerTransfer::customersSharingTheLastFourDigits()
{
    RunFixture f(orvaBase,
                 customer(QStringLiteral("10023, 'Remises El Ñandú', 'N', 'Sarmiento 1120', 'San Nicolás', '2900', "
                                         "'BUENOS AIRES', '1', '30-1', '', 'RESP. INSCRIP.'"))
                     + customer(QStringLiteral("20023, 'Fletes Güemes', 'E', 'Belgrano 1450', 'Salta', '4400', "
                                               "'SALTA', '2', '30-2', '', 'OTROS'")));
    QVERIFY(runStep(f));
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS")).toInt(), 1);
    QCOMPARE(f.context.counters.CantCli, 2);
    QCOMPARE(f.context.counters.CantCliAct, 4);
    QCOMPARE(account(f, QStringLiteral("1120000023")).value(QStringLiteral("DESCRIPCION")).toString(),
             QStringLiteral("Fletes Güemes"));
    const QVariantMap d = detail(f, QStringLiteral("1120000023"));
    QCOMPARE(d.value(QStringLiteral("CALLE")).toString(), QStringLiteral("Belgrano 1450"));
    QCOMPARE(d.value(QStringLiteral("IVA")).toString(), QStringLiteral("   3"));
}

void TstCustomerTransfer::statementsAreExact()
{
    // Orva rejects every write, the operator continues each time: the
    // statements arrive in order and each is still counted.
    const auto rejectWrites = [](RunFixture &f, const QString &table) {
        for (const char *verb : {"INSERT", "UPDATE"})
            queryRows(f.orvaPath,
                      QStringLiteral("CREATE TRIGGER reject_%1_%2 BEFORE %2 ON %1 BEGIN "
                                     "SELECT RAISE(ABORT, 'rechazado'); END")
                          .arg(table, QLatin1String(verb)));
    };
    const auto statements = [](const RunFixture &f) {
        QStringList seen;
        for (const RunError &e : f.op.errorsSeen)
            seen << e.statement;
        return seen;
    };

    // One fixture at a time: they share the connection names.
    {
        RunFixture fresh(orvaBase,
                         customer(QStringLiteral("12, 'NINGUNA', 'Juan D''Amico', 'O''Higgins 1', NULL, "
                                                 "'5000', 'SANTA FE', '0351', '20-1', '22.345', 'MONOTRIBUTO'")));
        rejectWrites(fresh, QStringLiteral("MA_CUENTAS"));
        rejectWrites(fresh, QStringLiteral("MA_CUENTASADIC"));
        fresh.op.errorChoices = {ChoiceIgnore, ChoiceIgnore};
        QVERIFY(runStep(fresh));
        QCOMPARE(
            statements(fresh),
            QStringList({QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO,DESCRIPCION,TITULO,AJUSTE,LIBRO_IVA_VENTAS,"
                                        "LIBRO_IVA_COMPRAS,TIPOVISTA,DADA_DE_BAJA,MEDIODEPAGO) VALUES('1120000012',"
                                        "'Juan D''Amico','0','0','1','0','CL','0',NULL)"),
                         QStringLiteral("INSERT INTO MA_CUENTASADIC (CODIGO,CALLE,LOCALIDAD,CPOSTAL,PROVINCIA,"
                                        "TELEFONO,NUMERO_DOCUMENTO,IVA,DOCUMENTO_TIPO,IDCOND_CPRA_VTA,OBSERVACIONES,"
                                        "PAIS,IDMOTIVOVTA,CLASE) VALUES('1120000012','O''Higgins 1','','5000','   4',"
                                        "'0351','20-1','   5','   1','   1','22.345','   1','   1',2)")}));
        QCOMPARE(fresh.context.counters.CantCliAct, 2);
    }

    RunFixture known(orvaBase + stored12,
                     customer(QStringLiteral("12, 'Fletes D''Amico', 'J', 'Calle 2', 'Salta', '4400', 'SALTA', "
                                             "'0387', '30-2', '', 'OTROS'")));
    rejectWrites(known, QStringLiteral("MA_CUENTAS"));
    rejectWrites(known, QStringLiteral("MA_CUENTASADIC"));
    known.op.errorChoices = {ChoiceIgnore, ChoiceIgnore};
    QVERIFY(runStep(known));
    QCOMPARE(statements(known),
             QStringList({QStringLiteral("UPDATE MA_CUENTAS SET DESCRIPCION = 'Fletes D''Amico', MEDIODEPAGO =NULL "
                                         "WHERE CODIGO = '1120000012'"),
                          QStringLiteral("UPDATE MA_CUENTASADIC SET CALLE= 'Calle 2', LOCALIDAD='Salta', CPOSTAL= "
                                         "'4400', PROVINCIA= '   1', TELEFONO= '0387', NUMERO_DOCUMENTO= '30-2',IVA="
                                         "'   3', DOCUMENTO_TIPO= '   3', IDCOND_CPRA_VTA='   1',OBSERVACIONES='', "
                                         "PAIS='   1',IDMOTIVOVTA='   1',CLASE=2 WHERE CODIGO = '1120000012'")}));
    QCOMPARE(known.context.counters.CantCliAct, 2);
}

void TstCustomerTransfer::progressCountersAndStop()
{
    {
        RunFixture empty(orvaBase, {});
        QVERIFY(runStep(empty));
        QCOMPARE(empty.context.counters.CantCli, 0);
        QCOMPARE(empty.context.progress.status(), QStringLiteral("Actualizando Clientes"));
        QCOMPARE(empty.context.progress.line(), QStringLiteral("Actualizando 1 de 100 registros"));
        QCOMPARE(empty.orvaValue(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS")).toInt(), 0);
    }
    const QString two = customer(QStringLiteral("1, 'A', 'a', '', '', '', 'SANTA FE', '', '', '', 'OTROS'"))
        + customer(QStringLiteral("2, 'B', 'b', '', '', '', 'SANTA FE', '', '', '', 'OTROS'"));
    {
        RunFixture f(orvaBase, two);
        QStringList linesAtYield;
        f.context.onYield = [&] { linesAtYield << f.context.progress.line(); };
        QVERIFY(runStep(f));
        QCOMPARE(linesAtYield,
                 QStringList({QStringLiteral("Actualizando 0 de 2 registros"),
                              QStringLiteral("Actualizando 2 de 2 registros")}));
        QCOMPARE(f.context.progress.line(), QStringLiteral("Actualizando 3 de 2 registros"));
        QCOMPARE(f.context.counters.CantCli, 2);
        QCOMPARE(f.context.counters.CantCliAct, 4);
    }
    RunFixture f(orvaBase, two);
    int yields = 0;
    f.context.onYield = [&] {
        if (++yields == 2)
            f.context.PARAR = true;
    };
    QVERIFY_THROWS_EXCEPTION(RunCancelled, runStep(f));
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS WHERE CODIGO LIKE '1120%'")).toInt(), 1);
    QCOMPARE(f.context.counters.CantCliAct, 2);
}

void TstCustomerTransfer::nullProvinceGoesToTheOperator_data()
{
    QTest::addColumn<int>("choice");
    QTest::newRow("continue") << int(ChoiceIgnore);
    QTest::newRow("give up") << int(ChoiceAbort);
}

void TstCustomerTransfer::nullProvinceGoesToTheOperator()
{
    QFETCH(int, choice);
    RunFixture f(orvaBase,
                 customer(QStringLiteral("1, 'Bueno', 'b', '', '', '', 'SANTA FE', '', '', '', 'OTROS'"))
                     + customer(QStringLiteral("12, 'Acme', 'J', 'a', 'b', 'c', NULL, 'd', 'e', 'f', 'OTROS'")));
    f.op.errorChoices = {choice};
    QCOMPARE(runStep(f), choice == ChoiceIgnore);
    QCOMPARE(f.op.errorsSeen.size(), 1);
    const RunError &e = f.op.errorsSeen.first();
    QCOMPARE(e.number, int(ErrorNumber::InvalidUseOfNull));
    QCOMPARE(e.record, QStringLiteral("cliente 12"));
    QCOMPARE(e.procedure, QStringLiteral("ObtieneCodigosCliente"));
    // The account is written before the details, and what was written stays.
    QCOMPARE(account(f).value(QStringLiteral("DESCRIPCION")).toString(), QStringLiteral("Acme"));
    QCOMPARE(detail(f, QStringLiteral("1120000001")).value(QStringLiteral("PROVINCIA")).toString(),
             QStringLiteral("   4"));
    if (choice == ChoiceIgnore) {
        QCOMPARE(detail(f).value(QStringLiteral("PROVINCIA")).toString(), QStringLiteral("   1"));
        QCOMPARE(f.context.counters.CantCliAct, 4);
    } else {
        QVERIFY(detail(f).isEmpty());
        QCOMPARE(f.context.counters.CantCliAct, 3);
    }
}

QTEST_GUILESS_MAIN(TstCustomerTransfer)
#include "tst_customertransfer.moc"
