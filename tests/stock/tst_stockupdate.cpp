// The stock movements of a voucher grid: sign, quantities, skipped rows,
// lots and serials, the fields of a movement, collect-only mode, and the
// ways a call ends early.

#include "services/documenttransaction.h"
#include "services/svctools.h"
#include "stockfixture.h"

#include <QFile>
#include <QTest>

namespace {

const char *OrvaRows =
    "INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, SISTEMA, ES, Signo) VALUES "
    "('  RM', 1, 'VENTAS', 'S', NULL), (' AJE', 1, 'STOCK', 'E', 5), ('  XX', 1, 'STOCK', NULL, NULL), "
    "(' CPR', 1, 'COMPRAS', 'E', NULL);\n"
    "INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, COSTO, CUENTAPROVEEDOR) VALUES "
    "('                       A1', 'Uno', 100, '2120001'), "
    "('                       A2', 'Dos', 50, '2120002'), "
    "('                       A3', 'Tres', 7.25, NULL);\n";

const char *Defaults = "DepositoDefault=1;MotivoStockDefault=3;PIVA=21";

const QString Note = QStringLiteral("000100000001R");
const QString Date = QStringLiteral("2026-03-05");

// "article:quantity:sequence[:lot[:serial]]" of each movement, codes trimmed.
QString summary(const QList<QVariantMap> &rows)
{
    QStringList parts;
    for (const QVariantMap &row : rows) {
        QString part = row.value(QStringLiteral("IDARTICULO")).toString().trimmed() + QLatin1Char(':')
            + SvcTools::NumberText(row.value(QStringLiteral("CANTIDAD"))) + QLatin1Char(':')
            + row.value(QStringLiteral("SECUENCIA")).toString();
        const QString lot = row.value(QStringLiteral("NroLote")).toString().trimmed();
        const QString serial = row.value(QStringLiteral("NroSerie")).toString().trimmed();
        if (!lot.isEmpty() || !serial.isEmpty())
            part += QLatin1Char(':') + lot;
        if (!serial.isEmpty())
            part += QLatin1Char(':') + serial;
        parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

QString lotItem(const QString &lot, const QString &serial)
{
    return lot + QChar(0xFF) + serial;
}

} // namespace

Q_DECLARE_METATYPE(QList<TextLine>)

class TstStockUpdate : public QObject
{
    Q_OBJECT

private slots:
    void movementsOfTheGrid_data();
    void movementsOfTheGrid();
    void deliveryNoteMovementStatement();
    void optionalFields_data();
    void optionalFields();
    void accountOfTheFirstArticle_data();
    void accountOfTheFirstArticle();
    void parametersComeBackInSqlForm_data();
    void parametersComeBackInSqlForm();
    void originFromTheGrid();
    void transferWritesBothDeposits();
    void voucherSign_data();
    void voucherSign();
    void databaseMessageEndsTheUpdate();
    void runTimeErrorChoices_data();
    void runTimeErrorChoices();
};

void TstStockUpdate::movementsOfTheGrid_data()
{
    QTest::addColumn<QString>("tc");
    QTest::addColumn<QList<TextLine>>("lines");
    QTest::addColumn<QString>("expected");

    const QList<TextLine> twoArticles{{"A1", "5"}, {"A2", "2.5"}};
    QTest::newRow("outgoing") << "RM" << twoArticles << "A1:-5:1 A2:-2.5:2";
    QTest::newRow("incoming") << "AJE" << twoArticles << "A1:5:1 A2:2.5:2";
    QTest::newRow("type in small letters") << "rm" << twoArticles << "A1:-5:1 A2:-2.5:2";
    QTest::newRow("rows without quantity or article are skipped")
        << "RM" << QList<TextLine>{{"A1", "0"}, {"", "3"}, {"   ", "3"}, {"A2", "abc"}, {"A3", "1"}} << "A3:-1:1";
    QTest::newRow("incoming lots: one movement of 1 each")
        << "AJE" << QList<TextLine>{{"A1", "3", "  UN", "x", "L1|L2|L3|"}} << "A1:1:1:L1 A1:1:2:L2 A1:1:3:L3";
    QTest::newRow("incoming single lot keeps the quantity")
        << "AJE" << QList<TextLine>{{"A1", "3", "  UN", "x", "L1|"}} << "A1:3:1:L1";
    QTest::newRow("incoming serials") << "AJE" << QList<TextLine>{{"A1", "2", "  UN", "x", "", "S1|S2|"}}
                                      << "A1:1:1::S1 A1:1:2::S2";
    QTest::newRow("outgoing lot items take the quantity of column 17; 0 writes nothing")
        << "RM"
        << QList<TextLine>{{"A1", "5", "  UN", "x",
                            lotItem("L1", "S1") + "|" + lotItem("L2", "S2") + "|" + lotItem("L3", "") + "|", "2|0|3|"}}
        << "A1:-2:1:L1:S1 A1:-3:3:L3";
    QTest::newRow("type without a direction: quantity 0")
        << "XX" << QList<TextLine>{{"A1", "5", "  UN", "x", "L1|L2|"}} << "A1:0:1";
    QTest::newRow("type missing from the voucher table: quantity 0")
        << "ZZ" << QList<TextLine>{{"A1", "5"}} << "A1:0:1";
}

void TstStockUpdate::movementsOfTheGrid()
{
    QFETCH(QString, tc);
    QFETCH(QList<TextLine>, lines);
    QFETCH(QString, expected);
    EngineUnderTest t(QString::fromLatin1(OrvaRows) + configRows(QString::fromLatin1(Defaults)));
    t.engine.ActualizaStock(stockRequest(lines, tc, Note, Date));
    const QList<QVariantMap> rows = t.movements();
    QCOMPARE(summary(rows), expected);
    for (const QVariantMap &row : rows) {
        QCOMPARE(row.value(QStringLiteral("IDCOMPROBANTE")).toString(), Note);
        QCOMPARE(row.value(QStringLiteral("TC")).toString(), SvcTools::PadLeft(tc, 4));
        const QVariant lot = row.value(QStringLiteral("NroLote"));
        QVERIFY(lot.isNull() || lot.toString().size() == 25);
    }
    QCOMPARE(t.f.op.errorsSeen.size(), 0);
}

void TstStockUpdate::deliveryNoteMovementStatement()
{
    EngineUnderTest t(QString::fromLatin1(OrvaRows) + configRows(QString::fromLatin1(Defaults)));
    TextLine line{"A1", "5", "  LT", "Aceite 'Dorado' "};
    StockRequest request = stockRequest({line}, QStringLiteral("RM"), Note, Date);
    request.IdDeposito = QStringLiteral("   1");
    request.GeneraSentenciaSQL = true;
    const StockResult result = t.engine.ActualizaStock(request);
    const QString collected = QStringLiteral("previous") + result.SQLTemp;
    const bool failed = result.HayError;
    QCOMPARE(collected,
             QStringLiteral("previous\rINSERT INTO V_MV_STOCK (TC,IdComprobante,IdComplemento,Secuencia,Fecha,IdCaja,"
                            "IdDeposito,IdArticulo,Descripcion,NroLote,ControladoPor,NroSerie,IdUnidad,Cantidad,"
                            "CuentaProveedor,IdMotivoStock,PrecioVenta,Costo,Impuestos,DtoItem,Tc_Origen,"
                            "IdComprobante_Origen,Id_Origen,IVARI) VALUES ('  RM','000100000001R',0,1,'2026-03-05',"
                            "   1,'   1','                       A1','Aceite Dorado',NULL,'',NULL,'  LT',-5,"
                            "'2120001','   3',0,100,0,0,NULL,NULL,0,21)"));
    QVERIFY(!failed);
    QCOMPARE(t.movements().size(), 0);
}

void TstStockUpdate::optionalFields_data()
{
    QTest::addColumn<QString>("tc");
    QTest::addColumn<QString>("caja");
    QTest::addColumn<QString>("technician");
    QTest::addColumn<QString>("config");
    // "Field=literal" that must be there; "Field" alone must be absent.
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("technician Null") << "RM"
                                     << "1"
                                     << "Null"
                                     << "" << QStringList{"IdTecnico", "IdCaja=   1"};
    QTest::newRow("technician NULL") << "RM"
                                     << "1"
                                     << "NULL"
                                     << "" << QStringList{"IdTecnico"};
    QTest::newRow("technician null with blanks") << "RM"
                                                 << "1"
                                                 << " null "
                                                 << "" << QStringList{"IdTecnico"};
    QTest::newRow("technician 7") << "RM"
                                  << "1"
                                  << "7"
                                  << "" << QStringList{"IdTecnico='   7'"};
    QTest::newRow("no cash register") << "RM"
                                      << ""
                                      << "Null"
                                      << "" << QStringList{"IdCaja"};
    QTest::newRow("purchase voucher has no complement") << "CPR"
                                                        << "1"
                                                        << "Null"
                                                        << "" << QStringList{"IdComplemento", "Cantidad=5"};
    QTest::newRow("blank defaults are quoted blanks")
        << "RM"
        << "1"
        << "Null"
        << "PIVA=10.5" << QStringList{"IdDeposito='    '", "IdMotivoStock='    '", "IVARI=10.5"};
    QTest::newRow("equivalent units") << "RM"
                                      << "1"
                                      << "Null"
                                      << "ConfirmaUDEquiv=si" << QStringList{"CantidadUD=0", "IdUnidadBase=0"};
    QTest::newRow("no equivalent units") << "RM"
                                         << "1"
                                         << "Null"
                                         << "" << QStringList{"CantidadUD", "IdUnidadBase"};
}

void TstStockUpdate::optionalFields()
{
    QFETCH(QString, tc);
    QFETCH(QString, caja);
    QFETCH(QString, technician);
    QFETCH(QString, config);
    QFETCH(QStringList, expected);
    EngineUnderTest t(QString::fromLatin1(OrvaRows) + configRows(config));
    t.f.session.parameters.Caja = caja;
    StockRequest request = stockRequest({{"A1", "5"}}, tc, Note, Date);
    request.GeneraSentenciaSQL = true;
    request.IdTecnico = technician;
    const QMap<QString, QString> fields = insertFields(t.engine.ActualizaStock(request).SQLTemp);
    for (const QString &item : expected) {
        const QStringList pair = item.split(QLatin1Char('='));
        if (pair.size() == 1)
            QVERIFY2(!fields.contains(item), qPrintable(item));
        else
            QCOMPARE(fields.value(pair.at(0)), pair.at(1));
    }
}

void TstStockUpdate::accountOfTheFirstArticle_data()
{
    QTest::addColumn<QList<TextLine>>("lines");
    QTest::addColumn<QString>("cuenta");
    QTest::addColumn<QStringList>("accounts");
    QTest::newRow("first article's account for all")
        << QList<TextLine>{{"A1", "1"}, {"A2", "1"}} << "PorDefault" << QStringList{"2120001", "2120001"};
    QTest::newRow("first article without account")
        << QList<TextLine>{{"A3", "1"}, {"A1", "1"}} << "pordefault" << QStringList{"", ""};
    QTest::newRow("account given by the caller") << QList<TextLine>{{"A1", "1"}} << "'2999'" << QStringList{"2999"};
}

void TstStockUpdate::accountOfTheFirstArticle()
{
    QFETCH(QList<TextLine>, lines);
    QFETCH(QString, cuenta);
    QFETCH(QStringList, accounts);
    EngineUnderTest t(QString::fromLatin1(OrvaRows) + configRows(QString::fromLatin1(Defaults)));
    StockRequest request = stockRequest(lines, QStringLiteral("AJE"), Note, Date);
    request.Cuenta = cuenta;
    t.engine.ActualizaStock(request);
    QStringList written;
    for (const QVariantMap &row : t.movements())
        written << row.value(QStringLiteral("CuentaProveedor")).toString();
    QCOMPARE(written, accounts);
}

void TstStockUpdate::parametersComeBackInSqlForm_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QString>("config");
    QTest::addColumn<QStringList>("rewritten");
    // Deposit, destination, stock reason, origin type, origin voucher.
    QTest::newRow("defaults from the configuration") << QStringList{"", "", "", "", ""} << QString::fromLatin1(Defaults)
                                                     << QStringList{"'   1'", "NULL", "'   3'", "NULL", "NULL"};
    QTest::newRow("blank configuration") << QStringList{"  ", "", "", "", ""} << ""
                                         << QStringList{"'    '", "NULL", "'    '", "NULL", "NULL"};
    QTest::newRow("given values") << QStringList{" 7 ", "8", "2", "FA", "000100000009A"} << ""
                                  << QStringList{"'   7'", "'   8'", "'   2'", "'  FA'", "'000100000009A'"};
    QTest::newRow("quotes are doubled") << QStringList{"O'", "", "", "", "A'1"} << ""
                                        << QStringList{"'  O'''", "NULL", "'    '", "NULL", "'A''1'"};
}

void TstStockUpdate::parametersComeBackInSqlForm()
{
    QFETCH(QStringList, given);
    QFETCH(QString, config);
    QFETCH(QStringList, rewritten);
    EngineUnderTest t(QString::fromLatin1(OrvaRows) + configRows(config));
    StockRequest request = stockRequest({{"A1", "2"}}, QStringLiteral("AJE"), Note, Date);
    request.IdDeposito = given.at(0);
    request.IdDepositoDestino = given.at(1);
    request.IdMotivoStock = given.at(2);
    request.TCOrigen = given.at(3);
    request.ComprobanteOrigen = given.at(4);
    const StockResult result = t.engine.ActualizaStock(request);
    const QStringList p{result.IdDeposito, result.IdDepositoDestino, result.IdMotivoStock, result.TCOrigen,
                        result.ComprobanteOrigen};
    QCOMPARE(p, rewritten);
    const QVariantMap row = t.movements().value(0);
    QCOMPARE(row.value(QStringLiteral("IDDEPOSITO")).toString(),
             rewritten.at(0).mid(1, rewritten.at(0).size() - 2).replace("''", "'"));
}

void TstStockUpdate::originFromTheGrid()
{
    EngineUnderTest t(QString::fromLatin1(OrvaRows) + configRows(QString::fromLatin1(Defaults)));
    StockRequest request = stockRequest({{"A1", "2"}, {"A2", "1"}}, QStringLiteral("AJE"), Note, Date);
    request.lines[0].originType = QStringLiteral("  FA");
    request.lines[0].originVoucher = QStringLiteral("000300000125A");
    request.lines[0].originId = Currency::fromDouble(17);
    request.TCOrigen = QStringLiteral("ELDELGRID");
    request.ComprobanteOrigen = QStringLiteral("eldelgrid");
    t.engine.ActualizaStock(request);
    const QList<QVariantMap> rows = t.movements();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).value(QStringLiteral("Tc_Origen")).toString(), QStringLiteral("FA"));
    QCOMPARE(rows.at(0).value(QStringLiteral("IdComprobante_Origen")).toString(), QStringLiteral("000300000125A"));
    QCOMPARE(rows.at(0).value(QStringLiteral("Id_Origen")).toInt(), 17);
    QCOMPARE(rows.at(1).value(QStringLiteral("Tc_Origen")).toString(), QString());
}

void TstStockUpdate::transferWritesBothDeposits()
{
    EngineUnderTest t(QString::fromLatin1(OrvaRows) + configRows(QString::fromLatin1(Defaults)));
    StockRequest request = stockRequest({{"A1", "5"}}, QStringLiteral("AJE"), Note, Date);
    request.IdDeposito = QStringLiteral("1");
    request.IdDepositoDestino = QStringLiteral("2");
    request.EsTransferencia = true;
    t.engine.ActualizaStock(request);
    const QList<QVariantMap> rows = t.movements();
    QCOMPARE(summary(rows), QStringLiteral("A1:-5:1 A1:5:2"));
    QCOMPARE(rows.at(0).value(QStringLiteral("IDDEPOSITO")).toString(), QStringLiteral("   1"));
    QCOMPARE(rows.at(1).value(QStringLiteral("IDDEPOSITO")).toString(), QStringLiteral("   2"));
}

void TstStockUpdate::voucherSign_data()
{
    QTest::addColumn<QString>("tc");
    QTest::addColumn<bool>("ivaBook");
    QTest::addColumn<int>("sign");
    QTest::addColumn<QString>("message");
    QTest::newRow("outgoing") << "RM" << false << -1 << "";
    QTest::newRow("incoming") << "AJE" << false << 1 << "";
    QTest::newRow("no direction") << "XX" << false << 0
                                  << "El Tipo de Comprobante informado no Tiene informado el signo, o no afecta Stock";
    QTest::newRow("missing type") << "ZZ" << false << 0
                                  << "El Tipo de Comprobante informado no existe en la tabla de comprobantes";
    QTest::newRow("IVA book sign") << "AJE" << true << 5 << "";
    QTest::newRow("IVA book without sign") << "RM" << true << 1 << "";
}

void TstStockUpdate::voucherSign()
{
    QFETCH(QString, tc);
    QFETCH(bool, ivaBook);
    QFETCH(int, sign);
    QFETCH(QString, message);
    EngineUnderTest t(QString::fromLatin1(OrvaRows));
    QCOMPARE(int(t.engine.ObtieneSignoComprobante(tc, ivaBook)), sign);
    const QStringList expected =
        message.isEmpty() ? QStringList() : QStringList{QStringLiteral("Aviso al operador!!!|") + message};
    QCOMPARE(t.f.op.messages, expected);
}

void TstStockUpdate::databaseMessageEndsTheUpdate()
{
    EngineUnderTest t(QString::fromLatin1(OrvaRows) + configRows(QString::fromLatin1(Defaults)));
    Connection &orva = t.f.services.session.connection();
    orva.executeOrThrow(QStringLiteral("CREATE TRIGGER no_a2 BEFORE INSERT ON V_MV_STOCK "
                                       "WHEN NEW.IDARTICULO = '                       A2' "
                                       "BEGIN SELECT RAISE(ABORT, 'articulo bloqueado'); END"));
    t.f.services.errors.setRecord(QStringLiteral("remito 1-1 R"));
    DocumentTransaction document(orva, QStringLiteral("remito 1-1 R"));
    const StockResult result = t.engine.ActualizaStock(
        stockRequest({{"A1", "1"}, {"A2", "1"}, {"A3", "1"}}, QStringLiteral("RM"), Note, Date));
    const bool failed = result.HayError;
    QVERIFY(failed);
    // The caller learns which line was refused, and why.
    QCOMPARE(result.refusedLine, 1);
    QVERIFY(result.refusal.contains(QStringLiteral("articulo bloqueado")));
    QVERIFY(orva.inTransaction());
    QVERIFY(document.commit());
    QCOMPARE(summary(t.movements()), QStringLiteral("A1:-1:1"));
    QCOMPARE(t.f.op.messages.size(), 1);
    QVERIFY(t.f.op.messages.first().startsWith(QStringLiteral("Aviso al operador|")));
    QVERIFY(t.f.op.messages.first().contains(QStringLiteral("articulo bloqueado")));
    QCOMPARE(t.f.op.errorsSeen.size(), 0);
    QFile log(t.f.services.log.path());
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString logText = QString::fromUtf8(log.readAll());
    QVERIFY(logText.contains(Note));
    QVERIFY(logText.contains(QStringLiteral("remito 1-1 R")));
}

void TstStockUpdate::runTimeErrorChoices_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("expected");
    QTest::newRow("continue skips the movement") << int(ChoiceIgnore) << "A2:-1:2";
    QTest::newRow("give up ends the call") << int(ChoiceAbort) << "";
}

void TstStockUpdate::runTimeErrorChoices()
{
    QFETCH(int, choice);
    QFETCH(QString, expected);
    // With equivalent units, a base unit that is no number cannot be written.
    EngineUnderTest t(QString::fromLatin1(OrvaRows) + configRows(QStringLiteral("ConfirmaUDEquiv=SI")));
    StockRequest request = stockRequest({{"A1", "1"}, {"A2", "1"}}, QStringLiteral("RM"), Note, Date);
    request.lines[0].baseUnit = QStringLiteral("  LT");
    t.f.op.errorChoices = {choice};
    t.engine.ActualizaStock(request);
    QCOMPARE(summary(t.movements()), expected);
    QCOMPARE(t.f.op.errorsSeen.size(), 1);
    QCOMPARE(t.f.op.errorsSeen.first().procedure, QStringLiteral("ActualizaStock"));
}

QTEST_GUILESS_MAIN(TstStockUpdate)
#include "tst_stockupdate.moc"
