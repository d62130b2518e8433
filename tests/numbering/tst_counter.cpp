// The range check of a voucher number and the counter update of its book,
// on a real Orva SQLite file.

#include "bookrows.h"
#include "numbering/numbering.h"
#include "support/fixtures.h"

#include <QFile>
#include <QTest>

class TstCounter : public QObject
{
    Q_OBJECT

private slots:
    void validation_data();
    void validation();
    void counterUpdate_data();
    void counterUpdate();
    void updateStampsTheMoment();
    void givingUpLeavesNormally();
};

namespace {

const QString advice = QStringLiteral("\r\rVerifique los datos desde la TABLA DE COMPROBANTES y vuelta a Intentarlo");

// Books 1 (1..100) and 2 (101..200) of branch 1 for letter R.
QString twoRanges()
{
    return book(QStringLiteral("  RM"), 1, QStringLiteral("R"), QStringLiteral("R"), 1, 1, 1, 100)
        + book(QStringLiteral("  RM"), 2, QStringLiteral("R"), QStringLiteral("R"), 1, 101, 101, 200);
}

// Every book's R counter as "table:talonario=counter", in a fixed order.
QString counters(OrvaFixture &f)
{
    QStringList all;
    for (const QVariantMap &row :
         f.orvaRows(QStringLiteral("SELECT 'V' AS T, TALONARIO, SISTEMA, R_ULTIMO_NRO FROM V_TA_CPTE UNION ALL "
                                   "SELECT 'G', TALONARIO, SISTEMA, R_ULTIMO_NRO FROM TA_Comprobantes "
                                   "ORDER BY 1, 2, 3")))
        all << QStringLiteral("%1:%2=%3")
                   .arg(row.value(QStringLiteral("T")).toString(), row.value(QStringLiteral("TALONARIO")).toString(),
                        row.value(QStringLiteral("R_ULTIMO_NRO")).toString());
    return all.join(QLatin1Char(' '));
}

QString logText(OrvaFixture &f)
{
    QFile log(f.dir.filePath(QStringLiteral("traspasor.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

} // namespace

void TstCounter::validation_data()
{
    QTest::addColumn<QString>("books");
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<bool>("verdict");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("after");

    QTest::newRow("letter not valid") << twoRanges() << 7 << "00000150"
                                      << "Z" << false
                                      << " La letra Informada no es Valida, la misma debe ser A,B,C,E,R,X,M" << 7;
    QTest::newRow("number in the second book") << twoRanges() << 0 << "00000150"
                                               << "R" << true << "" << 2;
    QTest::newRow("letter compared without case") << twoRanges() << 0 << "00000050"
                                                  << "r" << true << "" << 1;
    QTest::newRow("beyond every book, earlier book read again")
        << twoRanges() << 2 << "00000250"
        << "R" << false
        << "\rEl Número de comprobante (250) no respeta el parametro NRO HASTA del comprobante (200) , Nro de "
           "Control: 2"
            + advice
        << 2;
    QTest::newRow("below the lower bound")
        << book("  RM", 4, "R", "R", 1, 60, 50, 100) << 4 << "00000010"
        << "R" << false
        << "\rEl Número de comprobante (10) no respeta el parametro NRO DESDE del comprobante (50) , Nro de "
           "Control: 4"
            + advice
        << 4;
    QTest::newRow("number 0") << twoRanges() << 1 << "00000000"
                              << "R" << false << advice << 1;
    QTest::newRow("no book configured") << book("  FA", 1, "R", "R", 1, 1, 1, 200) << 9 << "00000150"
                                        << "R" << false << "Debe configurar la numeracióN de Comprobantes" << 9;
    QTest::newRow("external book takes any number")
        << book("  RM", 3, "R", "R", 1, 1, 1, 100, ", Externo", ", 1") << 3 << "00009999"
        << "R" << true << "" << 3;
    QTest::newRow("free numbering takes any number")
        << book("  RM", 3, "R", "R", 1, 1, 0, 0, ", Modificanumeracion", ", 1") << 3 << "00009999"
        << "R" << true << "" << 3;
    QTest::newRow("other branch holds no book") << book("  RM", 1, "R", "R", 2, 1, 1, 100) << 0 << "00000050"
                                                << "R" << false << "Debe configurar la numeracióN de Comprobantes" << 0;
}

void TstCounter::validation()
{
    QFETCH(QString, books);
    QFETCH(int, before);
    QFETCH(QString, number);
    QFETCH(QString, letter);
    QFETCH(bool, verdict);
    QFETCH(QString, message);
    QFETCH(int, after);
    OrvaFixture f(books);
    Numbering numbering(f.services, f.session.config);
    numbering.TalonarioActual = qint16(before);
    QString got = QStringLiteral("left over");
    QCOMPARE(numbering.ValidaNumeracion(QStringLiteral("RM"), QStringLiteral("0001"), number, letter, got, {}),
             verdict);
    QCOMPARE(got, message);
    QCOMPARE(int(numbering.TalonarioActual), after);
}

void TstCounter::counterUpdate_data()
{
    QTest::addColumn<QString>("books");
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("statementOnly");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("counters");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("logged");

    const QString branch3 = book("  RM", 1, "R", "R", 3, 100, 1, 99999999);
    const QString branch1 = book("  RM", 2, "R", "R", 1, 41, 1, 99999999);
    const QString noBook =
        QStringLiteral("ATENCION|Error en grabación del Comprobante, no se ha encontrado el comprobante configurado");

    QTest::newRow("note R 3-125 moves its book to 126") << branch3 + branch1 << 0 << "VENTAS"
                                                        << "00000126" << false << ""
                                                        << "V:1=126 V:2=41"
                                                        << ""
                                                        << "";
    QTest::newRow("statement only: nothing written")
        << branch3 + branch1 << 0 << " VENTAS "
        << "00000126" << true
        << " UPDATE V_TA_CPTE SET R_ULTIMO_NRO = 00000126 WHERE CODIGO = '  RM' AND SISTEMA = 'VENTAS' AND "
           "TALONARIO=1"
        << "V:1=100 V:2=41"
        << ""
        << "";
    QTest::newRow("counter never moves backwards") << book("  RM", 1, "R", "R", 3, 200, 1, 99999999) << 0 << "VENTAS"
                                                   << "00000126" << false << ""
                                                   << "V:1=200"
                                                   << ""
                                                   << "no retrocede";
    QTest::newRow("no statement for a counter already there")
        << book("  RM", 1, "R", "R", 3, 126, 1, 99999999) << 0 << "VENTAS"
        << "00000126" << true << ""
        << "V:1=126"
        << ""
        << "no retrocede";
    QTest::newRow("last book holding the number is moved")
        << book("  RM", 1, "R", "R", 3, 100, 1, 1000) + book("  RM", 2, "R", "R", 3, 110, 100, 200) << 0 << "VENTAS"
        << "00000150" << false << ""
        << "V:1=100 V:2=150"
        << ""
        << "";
    QTest::newRow("no book holds the number: the earlier book stays")
        << book("  RM", 1, "R", "R", 3, 100, 1, 1000) << 1 << "VENTAS"
        << "00005000" << false << ""
        << "V:1=100"
        << ""
        << "Ningún talonario";
    QTest::newRow("general table when the view has no book of the system")
        << bookRow("V_TA_CPTE", "  RM", 1, "STOCK", "R", "R", 3, 100, 1, 99999999)
            + bookRow("TA_Comprobantes", "  RM", 1, "VENTAS", "R", "R", 3, 100, 1, 99999999)
        << 0 << "VENTAS"
        << "00000126" << false << ""
        << "G:1=126 V:1=100"
        << ""
        << "";
    QTest::newRow("general table statement")
        << bookRow("V_TA_CPTE", "  RM", 1, "STOCK", "R", "R", 3, 100, 1, 99999999)
            + bookRow("TA_Comprobantes", "  RM", 1, "VENTAS", "R", "R", 3, 100, 1, 99999999)
        << 0 << "VENTAS"
        << "00000126" << true
        << " UPDATE V_TA_CPTE SET R_ULTIMO_NRO = 00000126 WHERE CODIGO = '  RM' AND SISTEMA = 'VENTAS' AND "
           "TALONARIO =1"
        << "G:1=100 V:1=100"
        << ""
        << "";
    QTest::newRow("general book of another branch")
        << bookRow("V_TA_CPTE", "  RM", 1, "STOCK", "R", "R", 3, 100, 1, 99999999)
            + bookRow("TA_Comprobantes", "  RM", 1, "VENTAS", "R", "R", 4, 100, 1, 99999999)
        << 0 << "VENTAS"
        << "00000126" << false << ""
        << "G:1=100 V:1=100"
        << ""
        << "otra sucursal";
    QTest::newRow("system without a book") << branch3 << 0 << "COMPRAS"
                                           << "00000126" << false << ""
                                           << "V:1=100" << noBook << "";
    QTest::newRow("type without a book") << book("  FA", 1, "R", "R", 3, 100, 1, 99999999) << 0 << "VENTAS"
                                         << "00000126" << false << ""
                                         << "V:1=100" << noBook << "";
}

void TstCounter::counterUpdate()
{
    QFETCH(QString, books);
    QFETCH(int, before);
    QFETCH(QString, system);
    QFETCH(QString, number);
    QFETCH(bool, statementOnly);
    QFETCH(QString, statement);
    QFETCH(QString, counters);
    QFETCH(QString, message);
    QFETCH(QString, logged);
    OrvaFixture f(books);
    Numbering numbering(f.services, f.session.config);
    numbering.TalonarioActual = qint16(before);
    QString got = QStringLiteral("left over");
    numbering.ConsultaComprobante(QStringLiteral("RM"), system, QStringLiteral("0003"), number, QStringLiteral("R"),
                                  statementOnly, got);
    QCOMPARE(got, statementOnly ? statement : QStringLiteral("left over"));
    QCOMPARE(::counters(f), counters);
    QCOMPARE(f.op.messages.join(QLatin1Char('\n')), message);
    QVERIFY(f.op.errorsSeen.isEmpty());
    if (!logged.isEmpty())
        QVERIFY2(logText(f).contains(logged), qPrintable(logText(f)));
}

void TstCounter::updateStampsTheMoment()
{
    OrvaFixture f(book(QStringLiteral("  RM"), 1, QStringLiteral("R"), QStringLiteral("R"), 3, 100, 1, 99999999));
    Numbering numbering(f.services, f.session.config);
    QString statement;
    const QDateTime before = QDateTime::currentDateTime();
    numbering.ConsultaComprobante(QStringLiteral("RM"), QStringLiteral("VENTAS"), QStringLiteral("0003"),
                                  QStringLiteral("00000126"), QStringLiteral("R"), false, statement);
    const QString stamp = f.orvaValue(QStringLiteral("SELECT fechahora_modificacion FROM V_TA_CPTE")).toString();
    const QDateTime stamped = QDateTime::fromString(stamp, QStringLiteral("dd-MM-yy HH:mm")).addYears(100);
    QVERIFY2(stamped.isValid(), qPrintable(stamp));
    QVERIFY(qAbs(stamped.secsTo(before)) < 120);
}

void TstCounter::givingUpLeavesNormally()
{
    // "A,B" passes the letter check but names no column: the book query fails.
    OrvaFixture f(book(QStringLiteral("  RM"), 1, QStringLiteral("R"), QStringLiteral("R"), 3, 100, 1, 99999999));
    Numbering numbering(f.services, f.session.config);
    numbering.TalonarioActual = 1;
    QString statement;
    numbering.ConsultaComprobante(QStringLiteral("RM"), QStringLiteral("VENTAS"), QStringLiteral("0003"),
                                  QStringLiteral("00000126"), QStringLiteral("A,B"), true, statement);
    QCOMPARE(f.op.errorsSeen.size(), 1);
    QCOMPARE(f.op.errorsSeen.first().procedure, QStringLiteral("ConsultaComprobante"));
    QVERIFY(statement.isEmpty());
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT R_ULTIMO_NRO FROM V_TA_CPTE")).toInt(), 100);
}

QTEST_GUILESS_MAIN(TstCounter)
#include "tst_counter.moc"
