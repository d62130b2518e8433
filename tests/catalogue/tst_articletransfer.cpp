// The article step on real SQLite files: which KTZ rows are transferred, what
// a new article looks like in Orva, when a stored article is rewritten, how
// categories and units follow the written articles, the exact statements,
// the counters and progress lines, and bad input going to the operator.

#include "catalogue/articletransfer.h"
#include "support/fixtures.h"

#include <QTest>
#include <algorithm>

namespace {

const QString productColumns = QStringLiteral(
    "INSERT INTO PRODUCTO (PROD_ID, PROD_RUB, PROD_EAN, PROD_DESCRIP, PROD_MEDIDA, PROD_IMPINT, PROD_IVA, "
    "PROD_COSTO, IVA_TIPO) VALUES ");

// A KTZ article with one price row.
QString product(const QString &values, const QString &price = QStringLiteral("100"))
{
    const QString id = values.section(QLatin1Char(','), 0, 0).trimmed();
    return productColumns + QLatin1Char('(') + values + QStringLiteral(");\n")
        + QStringLiteral("INSERT INTO PROD_PRECIO (ID_PROD, ID_LISTA, PVENTA) VALUES (%1, 1, %2);\n").arg(id, price);
}

// A stored Orva article.
QString stored(const QString &values)
{
    return QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, CODIGOBARRA, DESCRIPCION, IDRUBRO, IDUNIDAD, "
                          "PRECIO2, TASAIVA, IMPUESTOS, COSTO) VALUES (")
        + values + QStringLiteral(");\n");
}

QString padded(const QString &text, int width)
{
    return text.rightJustified(width, QLatin1Char(' '));
}

// Runs the step under the run's handler, as the run driver does; false when
// the operator gave up.
bool runStep(RunFixture &f)
{
    ArticleTransfer step;
    return runStepAsDriver(f, step, TransferKind::Articulos);
}

// Makes Orva reject every insert and update of table, so that the operator
// sees (and the test reads) the exact statement.
void rejectWrites(RunFixture &f, const QString &table)
{
    for (const char *verb : {"INSERT", "UPDATE"})
        queryRows(f.orvaPath,
                  QStringLiteral("CREATE TRIGGER reject_%1_%2 BEFORE %2 ON %1 BEGIN "
                                 "SELECT RAISE(ABORT, 'rechazado'); END")
                      .arg(table, QLatin1String(verb)));
}

QStringList statementsSeen(const RunFixture &f)
{
    QStringList statements;
    for (const RunError &e : f.op.errorsSeen)
        statements << e.statement;
    return statements;
}

} // namespace

class TstArticleTransfer : public QObject
{
    Q_OBJECT

private slots:
    void sourceFilter_data();
    void sourceFilter();
    void newArticleIsInsertedWithItsCategoryAndUnit();
    void changeTest_data();
    void changeTest();
    void movedCategoryGetsANewKey();
    void categoryMissingFromKtzStillKeysTheArticle();
    void categoryAndUnitNames_data();
    void categoryAndUnitNames();
    void statementsAreExact();
    void progressAndCounters();
    void stopEndsBeforeTheNextArticle();
    void nullCodeGoesToTheOperator_data();
    void nullCodeGoesToTheOperator();
};

void TstArticleTransfer::sourceFilter_data()
{
    QTest::addColumn<QString>("ktz");
    QTest::addColumn<int>("counted");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<double>("price");

    QTest::newRow("taxed") << product(QStringLiteral("1, 2, '77', 'A', 'UN', 10, 21, 5, 'GRAVADO'")) << 1
                           << QStringList{QStringLiteral("1-2")} << 90.0;
    QTest::newRow("shop") << product(QStringLiteral("1, 2, '77', 'A', 'UN', 10, 21, 5, 'SHOP'")) << 0 << QStringList()
                          << 0.0;
    QTest::newRow("cigarettes") << product(QStringLiteral("1, 2, '77', 'A', 'UN', 10, 21, 5, 'CIGARRILLOS'")) << 0
                                << QStringList() << 0.0;
    QTest::newRow("no tax class") << product(QStringLiteral("1, 2, '77', 'A', 'UN', 10, 21, 5, NULL")) << 0
                                  << QStringList() << 0.0;
    QTest::newRow("no price row") << productColumns + QStringLiteral("(1, 2, '77', 'A', 'UN', 10, 21, 5, 'GRAVADO');")
                                  << 0 << QStringList() << 0.0;
    // Each price row is a row of its own; the last differing one sets the price.
    QTest::newRow("two price rows") << product(QStringLiteral("1, 2, '77', 'A', 'UN', 10, 21, 5, 'GRAVADO'"),
                                               QStringLiteral("100"))
            + QStringLiteral("INSERT INTO PROD_PRECIO (ID_PROD, ID_LISTA, PVENTA) VALUES (1, 2, 120.5);")
                                    << 2 << QStringList{QStringLiteral("1-2")} << 110.5;
}

void TstArticleTransfer::sourceFilter()
{
    QFETCH(QString, ktz);
    QFETCH(int, counted);
    QFETCH(QStringList, keys);
    QFETCH(double, price);
    RunFixture f({}, ktz + QStringLiteral("INSERT INTO RUBRO VALUES (2, 'LUBRICANTES');"));
    QVERIFY(runStep(f));
    QCOMPARE(f.context.counters.CantArt, counted);
    QCOMPARE(f.context.counters.CantArtAct, counted);
    QStringList written;
    for (const QVariantMap &row : f.orvaRows(QStringLiteral("SELECT IDARTICULO FROM V_MA_ARTICULOS")))
        written << row.value(QStringLiteral("IDARTICULO")).toString().trimmed();
    QCOMPARE(written, keys);
    if (!keys.isEmpty())
        QCOMPARE(f.orvaValue(QStringLiteral("SELECT PRECIO2 FROM V_MA_ARTICULOS")).toDouble(), price);
    QVERIFY(f.op.errorsSeen.isEmpty());
}

void TstArticleTransfer::newArticleIsInsertedWithItsCategoryAndUnit()
{
    RunFixture f({},
                 product(QStringLiteral("123, 4, '7790001000123', 'Aceite D''Oro Ñandú ', 'KG', 350, 10.5, "
                                        "7900.25, 'GRAVADO'"),
                         QStringLiteral("12500.75"))
                     + QStringLiteral("INSERT INTO RUBRO VALUES (4, 'Accesorios y Repuestos');"));
    QVERIFY(runStep(f));

    const QList<QVariantMap> rows = f.orvaRows(QStringLiteral("SELECT * FROM V_MA_ARTICULOS"));
    QCOMPARE(rows.size(), 1);
    const QVariantMap a = rows.first();
    QCOMPARE(a.value(QStringLiteral("IDARTICULO")).toString(), padded(QStringLiteral("123-4"), 25));
    QCOMPARE(a.value(QStringLiteral("CODIGOBARRA")).toString(), padded(QStringLiteral("7790001000123"), 25));
    QCOMPARE(a.value(QStringLiteral("PRECIO2")).toDouble(), 12150.75);
    QCOMPARE(a.value(QStringLiteral("TASAIVA")).toDouble(), 10.5);
    QCOMPARE(a.value(QStringLiteral("IMPUESTOS")).toDouble(), 350.0);
    QCOMPARE(a.value(QStringLiteral("COSTO")).toDouble(), 7900.25);
    QCOMPARE(a.value(QStringLiteral("IDRUBRO")).toString(), QStringLiteral("   4"));
    QCOMPARE(a.value(QStringLiteral("DESCRIPCION")).toString(), QStringLiteral("Aceite D'Oro Ñandú "));
    QCOMPARE(a.value(QStringLiteral("IDUNIDAD")).toString(), QStringLiteral("  KG"));
    QVERIFY(a.value(QStringLiteral("CUENTAPROVEEDOR")).isNull());

    const QVariantMap rubro = f.orvaRows(QStringLiteral("SELECT * FROM V_TA_RUBROS")).value(0);
    QCOMPARE(rubro.value(QStringLiteral("IDRUBRO")).toString(), QStringLiteral("   4"));
    QCOMPARE(rubro.value(QStringLiteral("DESCRIPCION")).toString(), QStringLiteral("Accesorios y Repuestos"));
    const QVariantMap unit = f.orvaRows(QStringLiteral("SELECT * FROM V_TA_UNIDAD")).value(0);
    QCOMPARE(unit.value(QStringLiteral("IDUNIDAD")).toString(), QStringLiteral("  KG"));
    QCOMPARE(unit.value(QStringLiteral("DESCRIPCION")).toString(), QStringLiteral("KG"));
    QCOMPARE(f.context.counters.CantArt, 1);
    QCOMPARE(f.context.counters.CantArtAct, 1);

    // Nothing changed since: a second run writes nothing.
    f.context.counters.reset();
    QVERIFY(runStep(f));
    QCOMPARE(f.context.counters.CantArt, 1);
    QCOMPARE(f.context.counters.CantArtAct, 0);
}

void TstArticleTransfer::changeTest_data()
{
    // The stored row of article 5-2 and the KTZ article (price 100 unless said).
    QTest::addColumn<QString>("orva");
    QTest::addColumn<QString>("ktz");
    QTest::addColumn<bool>("rewritten");

    const QString key = QStringLiteral("'") + padded(QStringLiteral("5-2"), 25) + QLatin1Char('\'');
    const auto row = [&](const QString &rest) {
        return stored(key + QStringLiteral(", '") + padded("77", 25) + "', " + rest);
    };
    const QString same = row(QStringLiteral("'Filtro de aire', '   2', '  UN', 90, 21, 10, 50"));

    QTest::newRow("unchanged") << same << product(QStringLiteral("5, 2, '77', 'Filtro de aire', 'UN', 10, 21, 50, 'G'"))
                               << false;
    QTest::newRow("description differs in case only")
        << same << product(QStringLiteral("5, 2, '77', 'FILTRO DE AIRE', 'UN', 10, 21, 50, 'G'")) << false;
    QTest::newRow("trailing blank") << same
                                    << product(QStringLiteral("5, 2, '77', 'Filtro de aire ', 'UN', 10, 21, 50, 'G'"))
                                    << true;
    QTest::newRow("price") << same
                           << product(QStringLiteral("5, 2, '77', 'Filtro de aire', 'UN', 10, 21, 50, 'G'"),
                                      QStringLiteral("100.01"))
                           << true;
    QTest::newRow("barcode, cost, rate and unit only")
        << same << product(QStringLiteral("5, 2, '99', 'Filtro de aire', 'LT', 10, 10.5, 75, 'G'")) << false;
    QTest::newRow("internal taxes with the same net price")
        << same << product(QStringLiteral("5, 2, '77', 'Filtro de aire', 'UN', 20, 21, 50, 'G'"), QStringLiteral("110"))
        << false;
    QTest::newRow("stored price null") << row(QStringLiteral("'Filtro de aire', '   2', '  UN', NULL, 21, 10, 50"))
                                       << product(QStringLiteral("5, 2, '77', 'Filtro de aire', 'UN', 10, 21, 50, 'G'"))
                                       << false;
    QTest::newRow("stored description null")
        << row(QStringLiteral("NULL, '   2', '  UN', 90, 21, 10, 50"))
        << product(QStringLiteral("5, 2, '77', 'Otro', 'UN', 10, 21, 50, 'G'")) << false;
    QTest::newRow("KTZ description null")
        << same << product(QStringLiteral("5, 2, '77', NULL, 'UN', 10, 21, 50, 'G'")) << false;
    QTest::newRow("KTZ price null") << same
                                    << product(QStringLiteral("5, 2, '77', 'Filtro de aire', 'UN', 10, 21, 50, 'G'"),
                                               QStringLiteral("NULL"))
                                    << false;
    // An unchanged article is not visited further: its Null unit is no error.
    QTest::newRow("unchanged with a null unit")
        << same << product(QStringLiteral("5, 2, '77', 'Filtro de aire', NULL, 10, 21, 50, 'G'")) << false;
}

void TstArticleTransfer::changeTest()
{
    QFETCH(QString, orva);
    QFETCH(QString, ktz);
    QFETCH(bool, rewritten);
    RunFixture f(orva, ktz + QStringLiteral("INSERT INTO RUBRO VALUES (2, 'FILTROS');"));
    QVERIFY(runStep(f));
    QVERIFY(f.op.errorsSeen.isEmpty());
    QCOMPARE(f.context.counters.CantArtAct, rewritten ? 1 : 0);
    // Category and unit are visited only for a written article.
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM V_TA_RUBROS")).toInt(), rewritten ? 1 : 0);
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM V_TA_UNIDAD")).toInt(), rewritten ? 1 : 0);

    // The update writes every column again; otherwise the row stays as it was.
    const QVariantMap a = f.orvaRows(QStringLiteral("SELECT * FROM V_MA_ARTICULOS")).value(0);
    const QVariantMap k = queryRows(f.ktzPath,
                                    QStringLiteral("SELECT PRODUCTO.*, PVENTA FROM PRODUCTO, PROD_PRECIO "
                                                   "WHERE PROD_ID = ID_PROD"))
                              .value(0);
    if (rewritten) {
        QCOMPARE(a.value(QStringLiteral("DESCRIPCION")).toString(), k.value(QStringLiteral("PROD_DESCRIP")).toString());
        QCOMPARE(a.value(QStringLiteral("PRECIO2")).toDouble(),
                 k.value(QStringLiteral("PVENTA")).toDouble() - k.value(QStringLiteral("PROD_IMPINT")).toDouble());
        QCOMPARE(a.value(QStringLiteral("COSTO")).toDouble(), k.value(QStringLiteral("PROD_COSTO")).toDouble());
    } else {
        QCOMPARE(a.value(QStringLiteral("CODIGOBARRA")).toString(), padded(QStringLiteral("77"), 25));
        QCOMPARE(a.value(QStringLiteral("COSTO")).toDouble(), 50.0);
        QCOMPARE(a.value(QStringLiteral("IDUNIDAD")).toString(), QStringLiteral("  UN"));
    }
}

void TstArticleTransfer::movedCategoryGetsANewKey()
{
    RunFixture f(stored(QStringLiteral("'") + padded(QStringLiteral("5-2"), 25)
                        + QStringLiteral("', '77', 'Filtro', '   2', '  UN', 90, 21, 10, 50")),
                 product(QStringLiteral("5, 3, '77', 'Filtro', 'UN', 10, 21, 50, 'G'"), QStringLiteral("95")));
    QVERIFY(runStep(f));
    const QList<QVariantMap> rows =
        f.orvaRows(QStringLiteral("SELECT IDARTICULO, IDRUBRO, PRECIO2 FROM V_MA_ARTICULOS ORDER BY IDARTICULO"));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].value(QStringLiteral("IDARTICULO")).toString(), padded(QStringLiteral("5-2"), 25));
    QCOMPARE(rows[0].value(QStringLiteral("PRECIO2")).toDouble(), 90.0);
    QCOMPARE(rows[1].value(QStringLiteral("IDARTICULO")).toString(), padded(QStringLiteral("5-3"), 25));
    QCOMPARE(rows[1].value(QStringLiteral("IDRUBRO")).toString(), QStringLiteral("   3"));
    QCOMPARE(rows[1].value(QStringLiteral("PRECIO2")).toDouble(), 85.0);
}

void TstArticleTransfer::categoryMissingFromKtzStillKeysTheArticle()
{
    RunFixture f({}, product(QStringLiteral("8, 9, '77', 'Sin rubro', 'UN', 0, 21, 1, 'G'")));
    QVERIFY(runStep(f));
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM V_TA_RUBROS")).toInt(), 0);
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT IDRUBRO FROM V_MA_ARTICULOS")).toString(), QStringLiteral("   9"));
}

void TstArticleTransfer::categoryAndUnitNames_data()
{
    // Stored rows of category '   2' and unit '  KG', the KTZ names, and the
    // names Orva holds afterwards (the article is always new, so both are visited).
    QTest::addColumn<QString>("orva");
    QTest::addColumn<QString>("ktzCategory");
    QTest::addColumn<QString>("ktzUnit");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("unit");

    const QString both = QStringLiteral("INSERT INTO V_TA_RUBROS VALUES ('   2', 'Filtros');"
                                        "INSERT INTO V_TA_UNIDAD VALUES ('  KG', 'kg');");
    QTest::newRow("missing: inserted") << QString() << QStringLiteral("'Filtros'") << QStringLiteral("'KG'")
                                       << QStringLiteral("Filtros") << QStringLiteral("KG");
    QTest::newRow("case only: kept") << both << QStringLiteral("'FILTROS'") << QStringLiteral("'KG'")
                                     << QStringLiteral("Filtros") << QStringLiteral("kg");
    QTest::newRow("trailing blank: renamed") << both << QStringLiteral("'Filtros '") << QStringLiteral("'KG'")
                                             << QStringLiteral("Filtros ") << QStringLiteral("kg");
    QTest::newRow("quotes and Spanish letters")
        << both << QStringLiteral("'Lubricantes D''Ángelo Ñ'") << QStringLiteral("'KG'")
        << QStringLiteral("Lubricantes D'Ángelo Ñ") << QStringLiteral("kg");
    QTest::newRow("null name: inserted empty")
        << QString() << QStringLiteral("NULL") << QStringLiteral("'KG'") << QString() << QStringLiteral("KG");
    QTest::newRow("null name: never renamed") << both << QStringLiteral("NULL") << QStringLiteral("'KG'")
                                              << QStringLiteral("Filtros") << QStringLiteral("kg");
}

void TstArticleTransfer::categoryAndUnitNames()
{
    QFETCH(QString, orva);
    QFETCH(QString, ktzCategory);
    QFETCH(QString, ktzUnit);
    QFETCH(QString, category);
    QFETCH(QString, unit);
    RunFixture f(orva,
                 product(QStringLiteral("5, 2, '77', 'Filtro', %1, 0, 21, 1, 'G'").arg(ktzUnit))
                     + QStringLiteral("INSERT INTO RUBRO VALUES (2, %1);").arg(ktzCategory));
    QVERIFY(runStep(f));
    const QList<QVariantMap> rubros = f.orvaRows(QStringLiteral("SELECT * FROM V_TA_RUBROS"));
    QCOMPARE(rubros.size(), 1);
    QCOMPARE(rubros[0].value(QStringLiteral("IDRUBRO")).toString(), QStringLiteral("   2"));
    QCOMPARE(rubros[0].value(QStringLiteral("DESCRIPCION")).toString(), category);
    QVERIFY(!rubros[0].value(QStringLiteral("DESCRIPCION")).isNull());
    const QList<QVariantMap> units = f.orvaRows(QStringLiteral("SELECT * FROM V_TA_UNIDAD"));
    QCOMPARE(units.size(), 1);
    QCOMPARE(units[0].value(QStringLiteral("IDUNIDAD")).toString(), QStringLiteral("  KG"));
    QCOMPARE(units[0].value(QStringLiteral("DESCRIPCION")).toString(), unit);
}

void TstArticleTransfer::statementsAreExact()
{
    // Orva rejects every write, the operator continues each time: the
    // statements arrive in order, and each article is still counted.
    const QString ktz =
        product(QStringLiteral("123, 4, '779', 'Aceite D''Oro', 'KG', 1.5, 21, 7900, 'G'"), QStringLiteral("12500"))
        + product(QStringLiteral("7, 4, '55', 'Grasa', 'KG', 0, 10.5, 3, 'G'"), QStringLiteral("9"))
        + QStringLiteral("INSERT INTO RUBRO VALUES (4, 'Acc''s');");
    const QString orva = stored(QStringLiteral("'") + padded(QStringLiteral("7-4"), 25)
                                + QStringLiteral("', '55', 'Grasa', '   4', '  KG', 8, 21, 0, 3"))
        + QStringLiteral("INSERT INTO V_TA_RUBROS VALUES ('   4', 'Viejo');"
                         "INSERT INTO V_TA_UNIDAD VALUES ('  KG', 'Kilo');");
    RunFixture f(orva, ktz);
    for (const char *table : {"V_MA_ARTICULOS", "V_TA_RUBROS", "V_TA_UNIDAD"})
        rejectWrites(f, QLatin1String(table));
    f.op.errorChoices = QList<int>(6, ChoiceIgnore);
    QVERIFY(runStep(f));

    const QString key123 = padded(QStringLiteral("123-4"), 25), key7 = padded(QStringLiteral("7-4"), 25);
    const QStringList expected = {
        QStringLiteral("UPDATE V_TA_RUBROS SET DESCRIPCION='Acc''s' WHERE IDRUBRO='   4'"),
        QStringLiteral("UPDATE V_TA_UNIDAD SET DESCRIPCION='KG' WHERE IDUNIDAD='  KG'"),
        QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO,CODIGOBARRA,PRECIO2,TASAIVA,IMPUESTOS,COSTO,IDRUBRO,"
                       "DESCRIPCION,IDUNIDAD) VALUES('%1','%2',12498.5,21,1.5,7900,'   4','Aceite D''Oro','  KG')")
            .arg(key123, padded(QStringLiteral("779"), 25)),
        QStringLiteral("UPDATE V_TA_RUBROS SET DESCRIPCION='Acc''s' WHERE IDRUBRO='   4'"),
        QStringLiteral("UPDATE V_TA_UNIDAD SET DESCRIPCION='KG' WHERE IDUNIDAD='  KG'"),
        QStringLiteral("UPDATE V_MA_ARTICULOS SET CODIGOBARRA = '%1', PRECIO2=9, TASAIVA= 10.5, IMPUESTOS= 0, "
                       "COSTO= 3, IDRUBRO= '   4',DESCRIPCION='Grasa', IDUNIDAD= '  KG' WHERE IDARTICULO = '%2'")
            .arg(padded(QStringLiteral("55"), 25), key7),
    };
    // KTZ returns the articles in its own order: compare article by article,
    // the new one (its statements ending in the insert) first.
    const QStringList seen = statementsSeen(f);
    QCOMPARE(seen.size(), expected.size());
    QList<QStringList> perArticle = {seen.mid(0, 3), seen.mid(3, 3)};
    std::sort(perArticle.begin(), perArticle.end(),
              [](const QStringList &a, const QStringList &b) { return a.last() < b.last(); });
    QCOMPARE(perArticle.first() + perArticle.last(), expected);
    QCOMPARE(f.context.counters.CantArtAct, 2);
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT DESCRIPCION FROM V_TA_RUBROS")).toString(), QStringLiteral("Viejo"));
}

void TstArticleTransfer::progressAndCounters()
{
    {
        RunFixture empty({}, {});
        QVERIFY(runStep(empty));
        QCOMPARE(empty.context.counters.CantArt, 0);
        QCOMPARE(empty.context.progress.status(), QStringLiteral("Actualizando Artículos"));
        QCOMPARE(empty.context.progress.line(), QStringLiteral("Actualizando 1 de 100 registros"));
        QCOMPARE(empty.context.progress.state().maximum, 100.0f);
    }
    RunFixture f({},
                 product(QStringLiteral("1, 2, '1', 'A', 'UN', 0, 21, 1, 'G'"))
                     + product(QStringLiteral("2, 2, '2', 'B', 'UN', 0, 21, 1, 'G'"))
                     + product(QStringLiteral("3, 2, '3', 'C', 'UN', 0, 21, 1, 'G'")));
    QStringList linesAtYield;
    f.context.onYield = [&] { linesAtYield << f.context.progress.line(); };
    QVERIFY(runStep(f));
    QCOMPARE(
        linesAtYield,
        QStringList({QStringLiteral("Actualizando 0 de 3 registros"), QStringLiteral("Actualizando 2 de 3 registros"),
                     QStringLiteral("Actualizando 3 de 3 registros")}));
    QCOMPARE(f.context.progress.line(), QStringLiteral("Actualizando 4 de 3 registros"));
    QCOMPARE(f.context.progress.state().value, 3.0f);
    QCOMPARE(f.context.counters.CantArt, 3);
    QCOMPARE(f.context.counters.CantArtAct, 3);
}

void TstArticleTransfer::stopEndsBeforeTheNextArticle()
{
    RunFixture f({},
                 product(QStringLiteral("1, 2, '1', 'A', 'UN', 0, 21, 1, 'G'"))
                     + product(QStringLiteral("2, 2, '2', 'B', 'UN', 0, 21, 1, 'G'")));
    int yields = 0;
    f.context.onYield = [&] {
        if (++yields == 2)
            f.context.PARAR = true;
    };
    bool cancelled = false;
    try {
        runStep(f);
    } catch (const RunCancelled &) {
        cancelled = true;
    }
    QVERIFY(cancelled);
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM V_MA_ARTICULOS")).toInt(), 1);
    QCOMPARE(f.context.counters.CantArtAct, 1);
}

void TstArticleTransfer::nullCodeGoesToTheOperator_data()
{
    QTest::addColumn<QString>("values");
    QTest::addColumn<QList<int>>("choices");
    QTest::addColumn<QString>("record");
    QTest::addColumn<int>("errors");
    QTest::addColumn<bool>("gaveUp");

    QTest::newRow("unit, continue") << QStringLiteral("7, 2, '55', 'Grasa', NULL")
                                    << QList<int>{ChoiceIgnore, ChoiceIgnore} << QStringLiteral("artículo 7, rubro 2")
                                    << 2 << false;
    QTest::newRow("unit, give up") << QStringLiteral("7, 2, '55', 'Grasa', NULL") << QList<int>{ChoiceAbort}
                                   << QStringLiteral("artículo 7, rubro 2") << 1 << true;
    QTest::newRow("barcode, continue") << QStringLiteral("7, 2, NULL, 'Grasa', 'KG'") << QList<int>{ChoiceIgnore}
                                       << QStringLiteral("artículo 7, rubro 2") << 1 << false;
    QTest::newRow("category, continue") << QStringLiteral("7, NULL, '55', 'Grasa', 'KG'") << QList<int>{ChoiceIgnore}
                                        << QStringLiteral("artículo 7, rubro ") << 1 << false;
}

void TstArticleTransfer::nullCodeGoesToTheOperator()
{
    QFETCH(QString, values);
    QFETCH(QList<int>, choices);
    QFETCH(QString, record);
    QFETCH(int, errors);
    QFETCH(bool, gaveUp);
    // Article 1 is written first and must stay whatever the operator decides.
    RunFixture f({},
                 product(QStringLiteral("1, 2, '1', 'Bueno', 'UN', 0, 21, 1, 'G'"))
                     + product(values + QStringLiteral(", 0, 21, 1, 'G'"))
                     + QStringLiteral("INSERT INTO RUBRO VALUES (2, 'Grasas');"));
    f.op.errorChoices = choices;
    QCOMPARE(runStep(f), !gaveUp);
    QCOMPARE(f.op.errorsSeen.size(), errors);
    for (const RunError &e : f.op.errorsSeen) {
        QCOMPARE(e.number, int(ErrorNumber::InvalidUseOfNull));
        QCOMPARE(e.record, record);
        QVERIFY(e.procedure.startsWith(QLatin1String("Actualiza")));
    }
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM V_MA_ARTICULOS")).toInt(), 1);
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT DESCRIPCION FROM V_MA_ARTICULOS")).toString(), QStringLiteral("Bueno"));
    // Continuing past the failed insert still counts the article.
    QCOMPARE(f.context.counters.CantArtAct, gaveUp ? 1 : 2);
    QCOMPARE(f.context.counters.CantArt, 2);
}

QTEST_GUILESS_MAIN(TstArticleTransfer)
#include "tst_articletransfer.moc"
