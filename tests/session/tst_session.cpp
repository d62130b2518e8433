// Session start-up and the configuration store, on real SQLite files.

#include "services/sharedservices.h"
#include "session/session.h"
#include "session/valuehelpers.h"
#include "support/fixtures.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

// One statement on an SQLite file through a connection of its own (a
// trigger's body holds semicolons, which the fixture's script reader splits).
void executeOn(const QString &path, const QString &sql)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY2(query.exec(sql), qPrintable(query.lastError().text()));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("setup"));
}

} // namespace

class TstSession : public QObject
{
    Q_OBJECT

private slots:
    void commandLineEntries_data();
    void commandLineEntries();
    void entryFindings_data();
    void entryFindings();
    void knownNamesAreFarApart();
    void nombreServidor_data();
    void nombreServidor();
    void cfgAndGrabaDfg();
    void keysAndValuesWithQuotes();
    void grabaDfgAfterAFailedRead_data();
    void grabaDfgAfterAFailedRead();
    void lookupDefinitionsFile();
    void existingLookupFileIsLeftAlone();
    void configurationTableChoice();
    void startUpWithoutOrva();
    void esVerdadero_data();
    void esVerdadero();
    void formatoFechaHora();
};

void TstSession::commandLineEntries_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no command line: caja default") << ""
                                                   << "@Caja"
                                                   << "1";
    QTest::newRow("no command line: server empty") << ""
                                                   << "@Server"
                                                   << "";
    QTest::newRow("case ignored, value trimmed") << "@dbname= orva.db ;"
                                                 << "@DbName"
                                                 << "orva.db";
    // "@Usuario" is also found inside "@UsuarioLogeado": the user comes from that entry.
    QTest::newRow("user found inside UsuarioLogeado") << "@UsuarioLogeado=ana;@Usuario=juan;"
                                                      << "@Usuario"
                                                      << "Logeadoana";
    QTest::newRow("user entry first") << "@Usuario=juan;@UsuarioLogeado=ana;"
                                      << "@Usuario"
                                      << "juan";
    QTest::newRow("last entry cut to the name's length") << "@DbName=x;@Caja=12345"
                                                         << "@Caja"
                                                         << "1234";
    QTest::newRow("equals signs removed") << "@Password=a=b;"
                                          << "@Password"
                                          << "ab";
    QTest::newRow("text between entries ignored") << "basura @Menu=M1; mas"
                                                  << "@Menu"
                                                  << "M1";
    QTest::newRow("absent takes the default") << "@Server=srv;"
                                              << "@DbName"
                                              << "";
}

void TstSession::commandLineEntries()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const QString defaultValue = name == QLatin1String("@Caja") ? QStringLiteral("1") : QString();
    QCOMPARE(SessionParameters::entry(commandLine, name, defaultValue), expected);
}

void TstSession::entryFindings_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("findings"); // "kind name resembles value"
    QTest::newRow("every known entry")
        << "@ParametroAdicional=DesdeTimer;@Server=s;@DbName=d;@Usuario=u;@Password=p;@Caja=2;@Menu=m;"
           "@UsuarioLogeado=l;@Datos=Ventas;@Informe=i.json;@Desde=2024-01-01;@Hasta=2024-01-31;@Progreso=SI;"
        << QStringList();
    QTest::newRow("case ignored") << "@dbname=x; @DATOS=Ventas;" << QStringList();
    QTest::newRow("@ inside values is no entry") << "@DbName=/datos/@viejo/orva.db;@Password=a@b;" << QStringList();
    QTest::newRow("text between entries") << "basura @Menu=M1; mas" << QStringList();
    QTest::newRow("unknown") << "@Foo=bar;@DbName=x;" << QStringList{"unknown @Foo  "};
    QTest::newRow("letter missing") << "@Dato=Ventas;" << QStringList{"misspelt @Dato @Datos "};
    QTest::newRow("letters missing and case") << "@DBNam=x;" << QStringList{"misspelt @DBNam @DbName "};
    QTest::newRow("letter more") << "@Cajas=3;" << QStringList{"misspelt @Cajas @Caja "};
    QTest::newRow("letter changed") << "@Pasword=x;@Usuaria=y;"
                                    << QStringList{"misspelt @Pasword @Password ", "misspelt @Usuaria @Usuario "};
    QTest::newRow("letters swapped") << "@Dtaos=Ventas;" << QStringList{"misspelt @Dtaos @Datos "};
    QTest::newRow("two letters off is unknown") << "@Dat=Ventas;" << QStringList{"unknown @Dat  "};
    QTest::newRow("last entry cut") << "@DbName=x;@Caja=12345" << QStringList{"cut @Caja  1234"};
    QTest::newRow("last entry short enough") << "@DbName=x;@Caja=12" << QStringList();
    QTest::newRow("value runs into the next entry")
        << "@ParametroAdicional=DesdeTimer @DbName=x.db;"
        << QStringList{"runs-on @ParametroAdicional @DbName DesdeTimer @DbNamex.db"};
}

void TstSession::entryFindings()
{
    QFETCH(QString, commandLine);
    QFETCH(QStringList, findings);
    static const char *const kinds[] = {"unknown", "misspelt", "cut", "runs-on"};
    QStringList found;
    for (const EntryFinding &f : SessionParameters::check(commandLine))
        found << QStringLiteral("%1 %2 %3 %4").arg(QLatin1String(kinds[f.kind]), f.name, f.resembles, f.value);
    QCOMPARE(found, findings);
}

void TstSession::knownNamesAreFarApart()
{
    // Each known name with one letter dropped resembles that name and no
    // other: two known names within one letter of each other would make a
    // typo of one look like the other.
    for (const QString &name : SessionParameters::knownNames()) {
        QCOMPARE(SessionParameters::check(name + QStringLiteral("=x;")).size(), 0);
        for (qsizetype i = 1; i < name.size(); ++i) {
            const QString typo = QString(name).remove(i, 1);
            const QList<EntryFinding> findings = SessionParameters::check(typo + QStringLiteral("=x;"));
            QCOMPARE(findings.size(), 1);
            QCOMPARE(findings.first().resembles, name);
        }
    }
    // A cut or run-on password is named, its value never.
    const QList<EntryFinding> findings =
        SessionParameters::check(QStringLiteral("@Password=Secreto9 @DbName=x; @Password=Otro7777777777"));
    QCOMPARE(findings.size(), 2);
    for (const EntryFinding &f : findings)
        QVERIFY2(!f.message().contains(QStringLiteral("Secreto9")) && !f.message().contains(QStringLiteral("Otro77")),
                 qPrintable(f.message()));
}

void TstSession::nombreServidor_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("expected");
    QTest::newRow("host/instance:port") << "host/instance:1433"
                                        << "instance";
    QTest::newRow("srv:port") << "srv:1433"
                              << "srv";
    QTest::newRow("plain") << "srv"
                           << "srv";
    QTest::newRow("empty") << ""
                           << "";
}

void TstSession::nombreServidor()
{
    QFETCH(QString, server);
    QFETCH(QString, expected);
    QCOMPARE(Session::NombreServidor(server), expected);
}

void TstSession::cfgAndGrabaDfg()
{
    OrvaFixture f(
        QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('PERIODO', ' 2026 ', 'OTRO');"));
    Session &s = f.session;
    QCOMPARE(s.Cfg(QStringLiteral("NO_EXISTE")), QStringLiteral(" "));
    QCOMPARE(s.Cfg(QStringLiteral("  periodo ")), QStringLiteral(" 2026 ")); // key trimmed, value not

    s.GrabaDfg(QStringLiteral("KTZ_ULTIMAFECHA"), QStringLiteral(" 2026-03-05 "));
    QCOMPARE(s.Cfg(QStringLiteral("KTZ_ULTIMAFECHA")), QStringLiteral("2026-03-05"));

    // Writing an existing key keeps one row and replaces its value and group.
    s.GrabaDfg(QStringLiteral("PERIODO"), QStringLiteral("2027"));
    const QList<QVariantMap> rows =
        f.orvaRows(QStringLiteral("SELECT CLAVE, VALOR, Grupo FROM TA_CONFIGURACION WHERE CLAVE = 'PERIODO'"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value(QStringLiteral("VALOR")).toString(), QStringLiteral("2027"));
    QCOMPARE(rows.first().value(QStringLiteral("Grupo")).toString(), QStringLiteral("DATOS"));

    // The key is looked up untrimmed and stored trimmed.
    s.GrabaDfg(QStringLiteral(" NUEVA "), QStringLiteral("1"));
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM TA_CONFIGURACION WHERE CLAVE = 'NUEVA'")).toInt(), 1);
}

void TstSession::keysAndValuesWithQuotes()
{
    OrvaFixture f;
    f.session.GrabaDfg(QStringLiteral("CLAVE'1"), QStringLiteral("D'AMICO"));
    QCOMPARE(f.session.Cfg(QStringLiteral("CLAVE'1")), QStringLiteral("D'AMICO"));
    f.session.GrabaDfg(QStringLiteral("CLAVE'1"), QStringLiteral("O'Higgins"));
    QCOMPARE(f.session.Cfg(QStringLiteral("CLAVE'1")), QStringLiteral("O'Higgins"));
    QCOMPARE(f.orvaValue(QStringLiteral("SELECT COUNT(*) FROM TA_CONFIGURACION")).toInt(), 1);
}

void TstSession::grabaDfgAfterAFailedRead_data()
{
    QTest::addColumn<int>("choice");
    QTest::newRow("continue past the failed read") << 5;
    QTest::newRow("give up") << 3;
}

void TstSession::grabaDfgAfterAFailedRead()
{
    QFETCH(int, choice);
    // A configuration table (no unique key) whose rows cannot be read (a
    // column overflows), yet which takes new rows.
    OrvaFixture f(QStringLiteral(
        "CREATE TABLE CFG (CLAVE TEXT, VALOR TEXT, Grupo TEXT);"
        "INSERT INTO CFG (CLAVE, VALOR, Grupo) VALUES ('KTZ_ULTIMAFECHA', '2024-04-01', 'DATOS');"
        "CREATE VIEW CFG_ROTA AS SELECT CLAVE, VALOR, Grupo, abs(-9223372036854775807 - 1) AS X FROM CFG;"));
    executeOn(f.orvaPath,
              QStringLiteral("CREATE TRIGGER CFG_ROTA_ALTA INSTEAD OF INSERT ON CFG_ROTA BEGIN "
                             "INSERT INTO CFG (CLAVE, VALOR, Grupo) "
                             "VALUES (NEW.CLAVE, NEW.VALOR, NEW.Grupo); END"));
    f.session.config.tableName = QStringLiteral("CFG_ROTA");
    f.op.errorChoices << choice;

    f.session.GrabaDfg(QStringLiteral("KTZ_ULTIMAFECHA"), QStringLiteral("2024-05-02"));
    QCOMPARE(f.op.errorsSeen.size(), 1);
    QCOMPARE(f.op.errorsSeen[0].procedure, QStringLiteral("GrabaDfg"));
    // The key keeps its one row and its value: the next run starts from the date stored before.
    const QList<QVariantMap> rows = f.orvaRows(QStringLiteral("SELECT VALOR FROM CFG WHERE CLAVE = 'KTZ_ULTIMAFECHA'"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].value(QStringLiteral("VALOR")).toString(), QStringLiteral("2024-04-01"));
}

void TstSession::lookupDefinitionsFile()
{
    OrvaFixture f; // start-up wrote the file into its program folder
    QFile file(f.dir.filePath(QStringLiteral("consultas.qdx")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 8 * 1202);
    struct Expected
    {
        int record;
        const char *name, *table, *columns;
    };
    const Expected expected[] = {
        {0, "ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
        {3, "CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
        {6, "TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
        {7, "MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
    };
    for (const Expected &e : expected) {
        const QByteArray record = bytes.mid(e.record * 1202, 1202);
        QCOMPARE(record.left(100), QByteArray(e.name).leftJustified(100, ' '));
        QCOMPARE(record.mid(100, 100), QByteArray(e.table).leftJustified(100, ' '));
        QCOMPARE(record.mid(200, 500), QByteArray(e.columns).leftJustified(500, ' '));
        QCOMPARE(record.mid(700, 500), QByteArray(500, ' '));
        QCOMPARE(record.right(2), QByteArray("\r\n"));
    }
}

void TstSession::existingLookupFileIsLeftAlone()
{
    QTemporaryDir folder;
    const QString orva = folder.filePath(QStringLiteral("orva.db"));
    createSqliteDatabase(orva, QStringLiteral("schema/orva.sqlite.sql"), QString());
    QFile existing(folder.filePath(QStringLiteral("consultas.qdx")));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("propio");
    existing.close();

    SharedServices services;
    Session session(services);
    session.programFolder = folder.path() + QLatin1Char('/');
    QString text;
    QVERIFY(session.IniciaSesion(text, QStringLiteral("@DbName=") + orva + QLatin1Char(';')));
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("propio"));
}

void TstSession::configurationTableChoice()
{
    {
        OrvaFixture f(
            QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('TituloClientes', ' 1120 ');"));
        QCOMPARE(f.session.config.tableName, QStringLiteral("ta_configuracion"));
        QCOMPARE(f.session.tituloClientes, QStringLiteral("1120"));
    }
    {
        // Without a "clave" column the second table is used, and the prefix stays as it was.
        OrvaFixture f(
            QStringLiteral("DROP TABLE TA_CONFIGURACION;"
                           "CREATE TABLE ta_configuracion2 (CLAVE TEXT COLLATE NOCASE, VALOR TEXT, Grupo TEXT);"
                           "INSERT INTO ta_configuracion2 (CLAVE, VALOR) VALUES ('PERIODO', '2026');"));
        QCOMPARE(f.session.config.tableName, QStringLiteral("ta_configuracion2"));
        QCOMPARE(f.session.tituloClientes, QString());
        QCOMPARE(f.session.Cfg(QStringLiteral("PERIODO")), QStringLiteral("2026"));
    }
}

void TstSession::startUpWithoutOrva()
{
    QTemporaryDir folder;
    SharedServices services;
    Session session(services);
    session.programFolder = folder.path() + QLatin1Char('/');
    QString text;
    QVERIFY(!session.IniciaSesion(text,
                                  QStringLiteral("@DbName=") + folder.filePath(QStringLiteral("no.db"))
                                      + QStringLiteral(";@Password=Secreto;")));
    QVERIFY(services.session.openError().contains(QStringLiteral("no.db")));
    QVERIFY(!services.session.openError().contains(QStringLiteral("Secreto")));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("no.db"))));

    // A server written as "#name" is the Oracle provider: its text is built, and refused here.
    SharedServices other;
    Session oracle(other);
    oracle.programFolder = folder.path() + QLatin1Char('/');
    QString oracleText;
    QVERIFY(!oracle.IniciaSesion(oracleText, QStringLiteral("@Server=#ORCL;@Usuario=u;@Password=p;")));
    QCOMPARE(oracleText, QStringLiteral("Provider=msdaora;Data Source=ORCL;User Id=u;Password=p;"));
    QVERIFY(other.session.openError().contains(QStringLiteral("Oracle")));
}

void TstSession::esVerdadero_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    for (const char *no : {"falso", "FALSE", "no", "n", "0"})
        QTest::newRow(no) << QString::fromLatin1(no) << false;
    for (const char *yes : {"SI", "S", "1", "-1", "TRUE", "", " NO", "NO "})
        QTest::newRow(*yes ? yes : "empty") << QString::fromLatin1(yes) << true;
}

void TstSession::esVerdadero()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(EsVerdadero(text), expected);
}

void TstSession::formatoFechaHora()
{
    QCOMPARE(FormatoFechaHora(QDateTime(QDate(2026, 3, 5), QTime(7, 4, 59))), QStringLiteral("05-03-26 07:04"));
}

QTEST_GUILESS_MAIN(TstSession)
#include "tst_session.moc"
