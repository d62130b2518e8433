// The value conversions every step shares: what the tool writes into Orva
// must be the same whichever step writes it.

#include "services/currency.h"
#include "services/dialect.h"
#include "services/svcsession.h"
#include "services/svctools.h"
#include "support/fixtures.h"

#include <QDate>
#include <QDateTime>
#include <QTest>
#include <ctime>
#include <limits>

class TstConversions : public QObject
{
    Q_OBJECT

private slots:
    void numberToSqlNumbers_data();
    void numberToSqlNumbers();
    void numberToSqlTextsAndOwnText();
    void currencyRoundsHalvesToEven_data();
    void currencyRoundsHalvesToEven();
    void currencyTextIsShortest_data();
    void currencyTextIsShortest();
    void numberFormats_data();
    void numberFormats();
    void padLeft_data();
    void padLeft();
    void dateTexts_data();
    void dateTexts();
    void dateTextsKeepMidnightInADaylightSavingGap();
    void numericValueAndToNumber_data();
    void numericValueAndToNumber();
    void conversionsOfNullAndNonNumbers();
    void removeTextAndFolderPath();
    void dialectRewrites_data();
    void dialectRewrites();
    void lookupStatementsOnSqlite();
    void buildInsertJoinsValuesUnchanged();
};

void TstConversions::numberToSqlNumbers_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("integer") << QVariant(121) << "121";
    QTest::newRow("double shortest") << QVariant(7.8512) << "7.8512";
    QTest::newRow("negative") << QVariant(-12.5) << "-12.5";
    QTest::newRow("zero") << QVariant(0.0) << "0";
    QTest::newRow("large id exact") << QVariant(qlonglong(16777217)) << "16777217";
    QTest::newRow("no exponent") << QVariant(12345678901.5) << "12345678901.5";
    QTest::newRow("small no exponent") << QVariant(0.0001) << "0.0001";
    QTest::newRow("number text") << QVariant(QStringLiteral(" 12.50")) << "12.5";
    QTest::newRow("null") << QVariant() << "0";
    QTest::newRow("empty text") << QVariant(QString()) << "0";
}

void TstConversions::numberToSqlNumbers()
{
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    QCOMPARE(SvcSession::NumberToSql(value, QStringLiteral("@")), expected);
}

void TstConversions::numberToSqlTextsAndOwnText()
{
    QCOMPARE(SvcSession::NumberToSql(QStringLiteral("O'Higgins"), QStringLiteral("'")), QStringLiteral("'O''Higgins'"));
    QCOMPARE(SvcSession::NumberToSql(QVariant(), QStringLiteral("'")), QStringLiteral("''"));
    QCOMPARE(SvcSession::NumberToSql(QStringLiteral("Ñandú"), QStringLiteral("")), QStringLiteral("Ñandú"));
    QCOMPARE(SvcSession::NumberToSql(QVariant(3), QStringLiteral("")), QStringLiteral("3"));
    QCOMPARE(quoted(QStringLiteral("D'AMICO 'x'")), QStringLiteral("'D''AMICO ''x'''"));
    // A text that is no number is never written where a number goes.
    QVERIFY_THROWS_EXCEPTION(RunTimeError, SvcSession::NumberToSql(QStringLiteral("1; DROP"), QStringLiteral("@")));
}

void TstConversions::currencyRoundsHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("net of the worked load") << 9.5 / 1.21 << "7.8512";
    QTest::newRow("vat of the worked load") << 7.8512 * 21 / 100 << "1.6488";
    QTest::newRow("half to even down") << 0.00005 << "0";
    QTest::newRow("half to even up") << 0.00015 << "0.0002";
    QTest::newRow("negative") << -2.345678 << "-2.3457";
    QTest::newRow("whole") << 121.0 << "121";
    QTest::newRow("beyond half") << 0.000051 << "0.0001";
    QTest::newRow("carry") << 9.99995 << "10";
}

void TstConversions::currencyRoundsHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(Currency::fromDouble(value).toText(), expected);
}

void TstConversions::currencyTextIsShortest_data()
{
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("smallest fraction") << qint64(5) << "0.0005";
    QTest::newRow("smallest negative") << qint64(-5) << "-0.0005";
    QTest::newRow("zeros inside the fraction") << qint64(10200) << "1.02";
    QTest::newRow("zero before the last digit") << qint64(12003) << "1.2003";
    QTest::newRow("whole negative") << qint64(-1210000) << "-121";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "922337203685477.5807";
    QTest::newRow("beyond the smallest") << std::numeric_limits<qint64>::min() + 1 << "-922337203685477.5807";
}

void TstConversions::currencyTextIsShortest()
{
    QFETCH(qint64, raw);
    QFETCH(QString, expected);
    QCOMPARE(Currency::fromRaw(raw).toText(), expected);
}

void TstConversions::numberFormats_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("expected");
    QTest::newRow("branch") << "5" << 4 << "0005";
    QTest::newRow("number") << "1234" << 8 << "00001234";
    QTest::newRow("longer keeps digits") << "123456" << 4 << "123456";
    QTest::newRow("customer") << "12" << 6 << "000012";
    QTest::newRow("blanks around") << " 7 " << 3 << "007";
    QTest::newRow("half to even") << "2.5" << 4 << "0002";
    QTest::newRow("no number unchanged") << "A12" << 4 << "A12";
    QTest::newRow("empty unchanged") << "" << 4 << "";
    QTest::newRow("zero width") << "000123" << 0 << "123";
}

void TstConversions::numberFormats()
{
    QFETCH(QString, text);
    QFETCH(int, digits);
    QFETCH(QString, expected);
    QCOMPARE(formatDigits(text, digits), expected);
}

void TstConversions::padLeft_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("code") << "1" << 4 << "   1";
    QTest::newRow("unit") << "KG" << 4 << "  KG";
    QTest::newRow("article key") << "120-3" << 25 << QString(20, QLatin1Char(' ')) + "120-3";
    QTest::newRow("longer unchanged") << "'   1'" << 4 << "'   1'";
    QTest::newRow("empty") << "" << 4 << "    ";
}

void TstConversions::padLeft()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(SvcTools::PadLeft(text, width), expected);
    if (width == 4)
        QCOMPARE(SvcTools::PadLeft(text), expected); // 4 is the default width
}

void TstConversions::dateTexts_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("date") << QVariant(QDate(2024, 3, 5)) << "2024-03-05";
    QTest::newRow("midnight date-time") << QVariant(QDateTime(QDate(2024, 3, 5), QTime(0, 0))) << "2024-03-05";
    QTest::newRow("date-time") << QVariant(QDateTime(QDate(2024, 3, 5), QTime(13, 45, 10))) << "2024-03-05 13:45:10";
    QTest::newRow("date text") << QVariant(QStringLiteral("2024-03-05")) << "2024-03-05";
    QTest::newRow("midnight text") << QVariant(QStringLiteral("2024-03-05 00:00:00")) << "2024-03-05";
    QTest::newRow("time text") << QVariant(QStringLiteral("2024-03-05 06:00:00")) << "2024-03-05 06:00:00";
    QTest::newRow("not a date") << QVariant(QStringLiteral("mañana")) << "mañana";
    QTest::newRow("T separator") << QVariant(QStringLiteral("2024-03-05T13:45:10")) << "2024-03-05 13:45:10";
    QTest::newRow("fraction of a second")
        << QVariant(QStringLiteral("2024-03-05 13:45:10.123456")) << "2024-03-05 13:45:10";
    QTest::newRow("hours and minutes") << QVariant(QStringLiteral("2024-03-05 7:05")) << "2024-03-05 07:05:00";
    QTest::newRow("day first") << QVariant(QStringLiteral("05/03/2024")) << "2024-03-05";
    QTest::newRow("day first without zeros") << QVariant(QStringLiteral("5/3/2024 6:00:00")) << "2024-03-05 06:00:00";
    QTest::newRow("day first with dashes") << QVariant(QStringLiteral("05-03-2024")) << "2024-03-05";
    QTest::newRow("year first with slashes") << QVariant(QStringLiteral("2024/3/5")) << "2024-03-05";
    QTest::newRow("two-digit year of this century") << QVariant(QStringLiteral("05/03/24")) << "2024-03-05";
    QTest::newRow("two-digit year of the last century") << QVariant(QStringLiteral("05/03/99")) << "1999-03-05";
    QTest::newRow("a time alone stays") << QVariant(QStringLiteral("14:35:10")) << "14:35:10";
    QTest::newRow("a date with words stays") << QVariant(QStringLiteral("2024-03-05 tarde")) << "2024-03-05 tarde";
    QTest::newRow("a day the month lacks stays") << QVariant(QStringLiteral("2024-02-30")) << "2024-02-30";
    QTest::newRow("a thirteenth month stays")
        << QVariant(QStringLiteral("2024-13-01 10:00:00")) << "2024-13-01 10:00:00";
    QTest::newRow("year zero stays") << QVariant(QStringLiteral("0000-01-01")) << "0000-01-01";
    QTest::newRow("an hour past the day stays")
        << QVariant(QStringLiteral("2024-03-05 25:00:00")) << "2024-03-05 25:00:00";
    QTest::newRow("signs among the digits stay") << QVariant(QStringLiteral("2024-+3-05")) << "2024-+3-05";
    QTest::newRow("blanks around a date") << QVariant(QStringLiteral(" 2024-03-05 ")) << "2024-03-05";
}

void TstConversions::dateTexts()
{
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    QCOMPARE(dateText(value), expected);
}

void TstConversions::dateTextsKeepMidnightInADaylightSavingGap()
{
    // Summer time starting at 00:00 on the first Sunday of November: local
    // midnight of 2018-11-04 does not exist there.
    const QByteArray before = qgetenv("TZ");
    qputenv("TZ", "BRT3BRST,M11.1.0/0,M2.3.0/0");
    tzset();
    const QString date = dateText(QStringLiteral("2018-11-04"));
    const QString start = startDateText(QStringLiteral("04/11/2018"));
    const QString withTime = dateText(QStringLiteral("2018-11-04 00:30:00"));
    if (before.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", before);
    tzset();
    QCOMPARE(date, QStringLiteral("2018-11-04"));
    QCOMPARE(start, QStringLiteral("2018-11-04"));
    QCOMPARE(withTime, QStringLiteral("2018-11-04 00:30:00"));
}

void TstConversions::numericValueAndToNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("leading");
    QTest::addColumn<double>("strict");
    QTest::newRow("plain") << "6" << 6.0 << 6.0;
    QTest::newRow("missing key") << " " << 0.0 << 0.0;
    QTest::newRow("leading blanks") << "  12.5" << 12.5 << 12.5;
    QTest::newRow("trailing text") << "12abc" << 12.0 << 0.0;
    QTest::newRow("no number") << "abc" << 0.0 << 0.0;
    QTest::newRow("negative") << "-3" << -3.0 << -3.0;
}

void TstConversions::numericValueAndToNumber()
{
    QFETCH(QString, text);
    QFETCH(double, leading);
    QFETCH(double, strict);
    QCOMPARE(numericValue(text), leading);
    QCOMPARE(SvcTools::ToDouble(text), strict);
    QCOMPARE(SvcTools::ToCurrency(text).toDouble(), strict);
}

void TstConversions::conversionsOfNullAndNonNumbers()
{
    QCOMPARE(SvcTools::FieldText(QVariant()), QString());
    QCOMPARE(SvcTools::FieldText(QVariant(QMetaType::fromType<QString>())), QString());
    QCOMPARE(currencyOf(QVariant(qlonglong(12500)), QStringLiteral("x")).toText(), QStringLiteral("12500"));
    QCOMPARE(currencyOf(QVariant(QStringLiteral("10.05")), QStringLiteral("x")).toText(), QStringLiteral("10.05"));
    try {
        currencyOf(QVariant(), QStringLiteral("VOL_CARGA"));
        QFAIL("a Null amount must raise an error");
    } catch (const RunTimeError &e) {
        QCOMPARE(e.error().number, int(ErrorNumber::InvalidUseOfNull));
        QVERIFY(e.error().description.contains(QStringLiteral("VOL_CARGA")));
    }
    try {
        doubleOf(QVariant(QStringLiteral("diez")), QStringLiteral("N_ITC"));
        QFAIL("a text that is no number must raise an error");
    } catch (const RunTimeError &e) {
        QCOMPARE(e.error().number, int(ErrorNumber::TypeMismatch));
    }
    QVERIFY_THROWS_EXCEPTION(RunTimeError, SvcTools::ValueText(QVariant(), QStringLiteral("PROD_EAN")));
    QCOMPARE(toInt16(2.5), qint16(2));
    QCOMPARE(toInt16(3.5), qint16(4));
}

void TstConversions::removeTextAndFolderPath()
{
    QCOMPARE(SvcTools::RemoveText(QStringLiteral("=12=3"), QStringLiteral("=")), QStringLiteral("123"));
    QCOMPARE(SvcTools::RemoveText(QStringLiteral("a'b\nc"), QStringLiteral("'"), QStringLiteral("\n")),
             QStringLiteral("abc"));
    QCOMPARE(SvcTools::FolderPath(QStringLiteral("/opt/x")), QStringLiteral("/opt/x/"));
    QCOMPARE(SvcTools::FolderPath(QStringLiteral("/opt/x/")), QStringLiteral("/opt/x/"));
    QVERIFY(sameText(QStringLiteral("ÑANDÚ"), QStringLiteral("ñandú")));
    QVERIFY(!sameText(QStringLiteral("KG "), QStringLiteral("kg")));
}

void TstConversions::dialectRewrites_data()
{
    QTest::addColumn<int>("dialect");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    const QString top = QStringLiteral("SELECT TOP 1 * FROM TA_CUENTASIVA");
    const QString brackets = QStringLiteral("SELECT * FROM MV_ASIENTOS WHERE [NUMERO ASIENTO] = 7 AND DETALLE='[x]'");
    QTest::newRow("server keeps all") << int(SqlDialect::SqlServer) << top << top;
    QTest::newRow("sqlite top") << int(SqlDialect::Sqlite) << top << "SELECT * FROM TA_CUENTASIVA LIMIT 1";
    QTest::newRow("sqlite brackets") << int(SqlDialect::Sqlite) << brackets << brackets;
    QTest::newRow("postgresql brackets") << int(SqlDialect::PostgreSql) << brackets
                                         << "SELECT * FROM MV_ASIENTOS WHERE \"numero asiento\" = 7 AND DETALLE='[x]'";
    QTest::newRow("firebird top") << int(SqlDialect::Firebird) << top << "SELECT FIRST 1 * FROM TA_CUENTASIVA";
    QTest::newRow("sqlite top in lower case after blanks")
        << int(SqlDialect::Sqlite) << "  select\n\ttop\t5 CODIGO from T"
        << "  select\n\tCODIGO from T LIMIT 5";
    QTest::newRow("sqlite TOP elsewhere kept")
        << int(SqlDialect::Sqlite) << "SELECT CODIGO FROM T WHERE X='TOP 1' ORDER BY TOP"
        << "SELECT CODIGO FROM T WHERE X='TOP 1' ORDER BY TOP";
    QTest::newRow("sqlite a column named TOPE kept") << int(SqlDialect::Sqlite) << "SELECT TOPE FROM TA_CUENTASIVA"
                                                     << "SELECT TOPE FROM TA_CUENTASIVA";
}

void TstConversions::dialectRewrites()
{
    QFETCH(int, dialect);
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QCOMPARE(adaptStatement(sql, SqlDialect(dialect)), expected);
}

void TstConversions::lookupStatementsOnSqlite()
{
    OrvaFixture f(QStringLiteral("INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES ('   2', 'CÓRDOBA');"
                                 "INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES ('   9', 'O''HIGGINS');"
                                 "INSERT INTO TA_ESTADOS (CODIGO, DESCRIPCION) VALUES ('   5', NULL);"));
    SvcSession &s = f.services.session;
    QCOMPARE(s.LookupValue(QStringLiteral("TA_ESTADOS"), QStringLiteral("CÓRDOBA"), QStringLiteral("CODIGO"),
                           QStringLiteral("DESCRIPCION")),
             QStringLiteral("   2"));
    // A key with a quote is found, not broken.
    QCOMPARE(s.LookupValue(QStringLiteral("TA_ESTADOS"), QStringLiteral("O'HIGGINS"), QStringLiteral("CODIGO"),
                           QStringLiteral("DESCRIPCION")),
             QStringLiteral("   9"));
    QCOMPARE(s.LookupValue(QStringLiteral("TA_ESTADOS"), QStringLiteral("NADA"), QStringLiteral("CODIGO"),
                           QStringLiteral("DESCRIPCION")),
             QString());
    QCOMPARE(s.LookupValue(QStringLiteral("TA_ESTADOS"), QStringLiteral("   5"), QStringLiteral("DESCRIPCION"),
                           QStringLiteral("CODIGO")),
             QString());
    QCOMPARE(s.LookupValue(QStringLiteral("TA_ESTADOS"), QStringLiteral("CÓRDOBA"), QStringLiteral("CODIGO"),
                           QStringLiteral("DESCRIPCION"), 8, QStringLiteral("CODIGO = '   3'")),
             QString());

    Recordset rs;
    QVERIFY(s.RecordExists(QStringLiteral("TA_ESTADOS"), QStringLiteral("   2"), QStringLiteral("CODIGO"), &rs));
    QCOMPARE(rs.value(QStringLiteral("descripcion")).toString(), QStringLiteral("CÓRDOBA"));
    QVERIFY(!s.RecordExists(QStringLiteral("TA_ESTADOS"), QStringLiteral("   2"), QStringLiteral("CODIGO"), nullptr, 8,
                            QStringLiteral("DESCRIPCION = 'X'")));
    QVERIFY(s.HasColumn(QStringLiteral("ta_estados"), QStringLiteral("descripcion")));
    QVERIFY(!s.HasColumn(QStringLiteral("ta_estados"), QStringLiteral("nada")));
    QVERIFY(!s.HasColumn(QStringLiteral("no_table"), QStringLiteral("codigo")));
}

void TstConversions::buildInsertJoinsValuesUnchanged()
{
    const FieldList fields = {{QStringLiteral("TC"), QStringLiteral("'  RM'")},
                              {QStringLiteral("Secuencia"), QStringLiteral("1")},
                              {QStringLiteral("NroLote"), QStringLiteral("NULL")}};
    QCOMPARE(SvcSession::BuildInsert(QStringLiteral("INSERT INTO V_MV_STOCK"), fields),
             QStringLiteral("INSERT INTO V_MV_STOCK (TC,Secuencia,NroLote) VALUES ('  RM',1,NULL)"));
}

QTEST_GUILESS_MAIN(TstConversions)
#include "tst_conversions.moc"
