// The CSV of a reconciliation: fields quoted where a spreadsheet would split
// or trim them, amounts with the locale's decimal sign and nothing lost, one
// line per day, per named document and per row left out, and a file that
// cannot be written named without touching what was there.

#include "reconcile/reconcilecsv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

Reconciliation sample()
{
    Reconciliation r;
    r.status = ReconcileStatus::Differences;
    r.days = {
        {0,
         QDate(2026, 3, 2),
         ReconcileKind::Facturas,
         2,
         2,
         Currency::fromDouble(95600),
         Currency::fromDouble(95600),
         Verdict::Reconciled,
         {}},
        {1,
         QDate(2026, 3, 3),
         ReconcileKind::Cargas,
         2,
         1,
         Currency::fromDouble(1234.5678),
         Currency::fromDouble(-0.5),
         Verdict::NotReadable,
         {{QStringLiteral("carga 7; \"turno\" noche"),
           Problem::Missing,
           Currency::fromDouble(1234.0678),
           Currency(),
           {}},
          {QStringLiteral("carga 8"), Problem::NotReadable, Currency(), Currency(),
           QStringLiteral("importe nulo (IMP_CARGA)")}}},
    };
    r.notTransferable = {{0, QDate(2026, 3, 2), ReconcileKind::Facturas, QStringLiteral("factura 1007"),
                          QStringLiteral("letter"), QStringLiteral("letra 'C': sólo se transfieren facturas A y B")}};
    return r;
}

} // namespace

class TstReconcileCsv : public QObject
{
    Q_OBJECT

private slots:
    void fields_data();
    void fields();
    void amounts_data();
    void amounts();
    void linesOfAReconciliation();
    void unwritableFileIsNamed();
};

void TstReconcileCsv::fields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << QStringLiteral("FA 0005-00001234 A, asiento 1001")
                           << QStringLiteral("FA 0005-00001234 A, asiento 1001");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("separator") << QStringLiteral("a;b") << QStringLiteral("\"a;b\"");
    QTest::newRow("quotes doubled") << QStringLiteral("el \"turno\"") << QStringLiteral("\"el \"\"turno\"\"\"");
    QTest::newRow("line break") << QStringLiteral("una\notra") << QStringLiteral("\"una\notra\"");
    QTest::newRow("carriage return") << QStringLiteral("una\rotra") << QStringLiteral("\"una\rotra\"");
    QTest::newRow("blanks kept") << QStringLiteral(" 0005 ") << QStringLiteral("\" 0005 \"");
}

void TstReconcileCsv::fields()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(csvField(text), field);
}

void TstReconcileCsv::amounts_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("spanish");
    QTest::addColumn<QString>("c");
    QTest::newRow("whole, no thousands separator")
        << 1234567.0 << QStringLiteral("1234567") << QStringLiteral("1234567");
    QTest::newRow("four decimals") << 7.8512 << QStringLiteral("7,8512") << QStringLiteral("7.8512");
    QTest::newRow("negative") << -12.5 << QStringLiteral("-12,5") << QStringLiteral("-12.5");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0") << QStringLiteral("0");
}

void TstReconcileCsv::amounts()
{
    QFETCH(double, value);
    QFETCH(QString, spanish);
    QFETCH(QString, c);
    QCOMPARE(csvAmount(Currency::fromDouble(value), QLocale(QLocale::Spanish, QLocale::Spain)), spanish);
    QCOMPARE(csvAmount(Currency::fromDouble(value), QLocale::c()), c);
}

void TstReconcileCsv::linesOfAReconciliation()
{
    const QStringList lines =
        reconciliationCsv(sample(), QLocale(QLocale::Spanish, QLocale::Spain)).split(QStringLiteral("\r\n"));
    QCOMPARE(
        lines,
        (QStringList{
            QStringLiteral("Estación;Fecha;Clase;Cantidad KTZ;Cantidad Orva;Total KTZ;Total Orva;Resultado;Documento;"
                           "Problema;Importe KTZ;Importe Orva"),
            QStringLiteral("0;2026-03-02;Facturas;2;2;95600;95600;conciliado;;;;"),
            QStringLiteral("1;2026-03-03;Cargas;2;1;1234,5678;-0,5;no legible;\"carga 7; \"\"turno\"\" noche\";"
                           "falta en Orva;1234,0678;0"),
            QStringLiteral(
                "1;2026-03-03;Cargas;2;1;1234,5678;-0,5;no legible;carga 8;no legible: importe nulo (IMP_CARGA);;"),
            QStringLiteral("0;2026-03-02;Facturas;;;;;no transferible;factura 1007;"
                           "letra 'C': sólo se transfieren facturas A y B;;"),
            QString()}));
}

void TstReconcileCsv::unwritableFileIsNamed()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("conciliacion.csv"));
    QString error;
    QVERIFY(writeReconciliationCsv(sample(), QLocale::c(), path, &error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"
                             "Estación;"));

    // A folder where the file should be: nothing written, the path named.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken.csv")));
    const QString taken = dir.filePath(QStringLiteral("taken.csv"));
    QVERIFY(!writeReconciliationCsv(sample(), QLocale::c(), taken, &error));
    QVERIFY2(error.startsWith(QStringLiteral("No se pudo escribir ") + taken), qPrintable(error));
    QVERIFY(QFileInfo(taken).isDir());
}

QTEST_GUILESS_MAIN(TstReconcileCsv)
#include "tst_reconcilecsv.moc"
