#include "bench/benchdata.h"
#include "services/sqlscript.h"
#include "services/statement.h"

#include <QDate>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QProcess>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUuid>
#include <QVariantList>
#include <algorithm>
#include <cmath>

namespace {

struct GenerationError
{
    QString text;
};

QString sourceFileText(const QString &relativePath)
{
    QFile file(QStringLiteral(TRASPASOR_SOURCE_DIR "/") + relativePath);
    if (!file.open(QIODevice::ReadOnly))
        throw GenerationError{QStringLiteral("cannot read ") + file.fileName()};
    return QString::fromUtf8(file.readAll());
}

// Runs body on a private connection to a new SQLite file at path; false
// with *error when opening or body fails.
template <class F> bool withNewDatabase(const QString &path, QString *error, F body)
{
    QFile::remove(path);
    const QString name = QUuid::createUuid().toString();
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        try {
            if (!db.open())
                throw GenerationError{db.lastError().text()};
            body(db);
            ok = true;
        } catch (const GenerationError &e) {
            *error = path + QStringLiteral(": ") + e.text;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

void runScript(QSqlDatabase &db, const QString &script)
{
    QString error;
    if (!runSqlScript(db, script, &error))
        throw GenerationError{error};
}

// One INSERT prepared once and executed per row.
class PreparedInsert
{
public:
    PreparedInsert(QSqlDatabase &db, const QString &table, const QStringList &columns) : m_query(db)
    {
        FieldList marks;
        for (const QString &column : columns)
            marks << qMakePair(column, QStringLiteral("?"));
        const QString sql = insertStatement(Statement(QStringLiteral("INSERT INTO {}")).part(table), marks);
        if (!m_query.prepare(sql))
            throw GenerationError{m_query.lastError().text() + QStringLiteral(" | ") + sql};
    }

    void operator()(const QVariantList &values)
    {
        for (int i = 0; i < values.size(); ++i)
            m_query.bindValue(i, values.at(i));
        if (!m_query.exec())
            throw GenerationError{m_query.lastError().text()};
    }

private:
    QSqlQuery m_query;
};

double round4(double x)
{
    return std::round(x * 10000) / 10000;
}

// The i-th of n documents (0-based) falls on day 1 + i*31/n of March 2026.
QString dateOf(qint64 i, qint64 n)
{
    return QDate(2026, 3, 1).addDays(i * 31 / n).toString(Qt::ISODate);
}

// Article 1 is the natural gas; every tenth article is a shop article (left
// out by the transfer); the others alternate lubricants and accessories.
int categoryOf(int id)
{
    if (id == 1)
        return 1;
    if (id % 10 == 0)
        return 3;
    return id % 2 ? 2 : 4;
}

QString unitOf(int id)
{
    const bool alternate = (id / 2) % 2;
    switch (categoryOf(id)) {
    case 1:
        return QStringLiteral("M3");
    case 2:
        return alternate ? QStringLiteral("LT") : QStringLiteral("UN");
    case 4:
        return alternate ? QStringLiteral("KG") : QStringLiteral("UN");
    default:
        return QStringLiteral("UN");
    }
}

double priceOf(int id)
{
    return id == 1 ? 689.90 : 1000 + (id % 50) * 100;
}

double internalTaxOf(int id)
{
    if (id == 1)
        return 18.45;
    return categoryOf(id) == 2 ? 50 + (id % 7) * 10 : 0;
}

// An article the transfer carries (not the gas, not a shop article).
int saleableArticle(qint64 k, int articles)
{
    const int id = 2 + int(k % (articles - 1));
    return id % 10 == 0 ? id - 1 : id;
}

void insertCatalogue(QSqlDatabase &db, const BenchSize &size)
{
    PreparedInsert category(db, QStringLiteral("RUBRO"), {QStringLiteral("RUB_COD"), QStringLiteral("RUB_DESCR")});
    category({1, QStringLiteral("GNC")});
    category({2, QStringLiteral("LUBRICANTES")});
    category({3, QStringLiteral("SHOP / KIOSCO")});
    category({4, QStringLiteral("ACCESORIOS Y REPUESTOS")});

    PreparedInsert article(db, QStringLiteral("PRODUCTO"),
                           {QStringLiteral("PROD_ID"), QStringLiteral("PROD_RUB"), QStringLiteral("PROD_EAN"),
                            QStringLiteral("PROD_DESCRIP"), QStringLiteral("PROD_MEDIDA"),
                            QStringLiteral("PROD_IMPINT"), QStringLiteral("PROD_IVA"), QStringLiteral("PROD_COSTO"),
                            QStringLiteral("IVA_TIPO")});
    PreparedInsert price(db, QStringLiteral("PROD_PRECIO"),
                         {QStringLiteral("ID_PROD"), QStringLiteral("ID_LISTA"), QStringLiteral("PVENTA")});
    for (int id = 1; id <= size.articles; ++id) {
        const bool gas = id == 1;
        article({id, categoryOf(id),
                 gas ? QStringLiteral("2000000000015") : QStringLiteral("779%1").arg(id, 10, 10, QLatin1Char('0')),
                 gas ? QStringLiteral("GNC - GAS NATURAL COMPRIMIDO") : QStringLiteral("ARTÍCULO DE PRUEBA %1").arg(id),
                 unitOf(id), internalTaxOf(id), 21, gas ? 455.0 : priceOf(id) * 0.6,
                 categoryOf(id) == 3 ? QStringLiteral("SHOP") : QStringLiteral("GRAVADO")});
        price({id, 1, priceOf(id)});
    }
}

void insertCustomers(QSqlDatabase &db, const BenchSize &size)
{
    static const char *const provinces[] = {"BUENOS AIRES", "Córdoba", "SANTA FE", "MENDOZA"};
    static const char *const conditions[] = {"RESP. INSCRIP.", "Consumidor Final", "MONOTRIBUTO", "EXENTO"};
    PreparedInsert customer(db, QStringLiteral("T_CLIENTES"),
                            {QStringLiteral("T_CLI_CTA"), QStringLiteral("T_CLI_EMP"), QStringLiteral("T_CLI_NOM"),
                             QStringLiteral("T_CLI_DIR"), QStringLiteral("T_CLI_LOC"), QStringLiteral("T_CLI_CP"),
                             QStringLiteral("T_CLI_PRO"), QStringLiteral("T_CLI_TEL"), QStringLiteral("T_CLI_CUIT"),
                             QStringLiteral("T_CLI_DNI"), QStringLiteral("T_CLI_CONTRIB")});
    for (int c = 1; c <= size.customers; ++c) {
        customer({c, c % 5 == 0 ? QStringLiteral("NINGUNA") : QStringLiteral("Cliente de Prueba %1 S.A.").arg(c),
                  QStringLiteral("Titular %1").arg(c), QStringLiteral("Calle %1").arg(c), QStringLiteral("Localidad"),
                  QStringLiteral("2000"), QString::fromUtf8(provinces[c % 4]), QStringLiteral("0341 400-%1").arg(c),
                  QStringLiteral("30-%1-5").arg(c, 8, 10, QLatin1Char('0')), QString::number(20000000 + c),
                  QString::fromUtf8(conditions[c % 4])});
    }
}

// Inserts a document with 3 lines whose amounts add up to its totals.
class DocumentWriter
{
public:
    explicit DocumentWriter(QSqlDatabase &db, int articles)
        : m_articles(articles),
          m_header(db, QStringLiteral("FAC_OUT"),
                   {QStringLiteral("ID"), QStringLiteral("FOUT_FECHA"), QStringLiteral("FOUT_PVENTA"),
                    QStringLiteral("FOUT_NUM"), QStringLiteral("FOUT_TIPO"), QStringLiteral("TOTAL"),
                    QStringLiteral("NETO_GRAV"), QStringLiteral("IMP_NGRAV"), QStringLiteral("FOUT_TOTIVA"),
                    QStringLiteral("FOUT_IVAPORC"), QStringLiteral("CLI_COD"), QStringLiteral("CLI_NAME"),
                    QStringLiteral("CLI_CUIT"), QStringLiteral("CLI_COND"), QStringLiteral("FOUT_TURNO")}),
          m_line(db, QStringLiteral("FACT_OUT"),
                 {QStringLiteral("FCOUT_ID"), QStringLiteral("FCOUT_PROD_ID"), QStringLiteral("FCOUT_RUB"),
                  QStringLiteral("FCOUT_UNID"), QStringLiteral("FCOUT_DESCR"), QStringLiteral("FCOUT_CANT"),
                  QStringLiteral("FCOUT_PVENTA"), QStringLiteral("FCOUT_IMP_NGRAV"), QStringLiteral("FCOUT_IVA"),
                  QStringLiteral("FCOUT_NETO"), QStringLiteral("FCOUT_IVA_PORC"), QStringLiteral("FCOUT_TOTAL")})
    {}

    void write(int id, const QString &date, int pointOfSale, int number, const QString &letter, int customer,
               const QString &condition)
    {
        static const char *const shifts[] = {"MAÑANA", "TARDE", "NOCHE"};
        double total = 0, net = 0, nonTaxed = 0, vat = 0;
        for (int l = 0; l < 3; ++l) {
            const int article = saleableArticle(qint64(id) * 3 + l * 7919, m_articles);
            const int quantity = 1 + (id + l) % 3;
            const double lineTotal = quantity * priceOf(article);
            const double lineTax = quantity * internalTaxOf(article);
            const double lineNet = round4((lineTotal - lineTax) / 1.21);
            const double lineVat = round4(lineTotal - lineTax - lineNet);
            m_line({id, article, categoryOf(article), unitOf(article),
                    QStringLiteral("ARTÍCULO DE PRUEBA %1").arg(article), quantity, priceOf(article), lineTax, lineVat,
                    lineNet, 21, lineTotal});
            total += lineTotal;
            net += lineNet;
            nonTaxed += lineTax;
            vat += lineVat;
        }
        m_header({id, date, pointOfSale, number, letter, round4(total), round4(net), round4(nonTaxed), round4(vat), 21,
                  customer, QStringLiteral("Cliente de Prueba %1 S.A.").arg(customer),
                  QStringLiteral("30-%1-5").arg(customer, 8, 10, QLatin1Char('0')), condition,
                  QString::fromUtf8(shifts[id % 3])});
    }

private:
    int m_articles;
    PreparedInsert m_header;
    PreparedInsert m_line;
};

void insertDocuments(QSqlDatabase &db, const BenchSize &size)
{
    DocumentWriter writer(db, size.articles);
    for (int i = 1; i <= size.invoices; ++i) {
        const bool a = i % 2;
        writer.write(i, dateOf(i - 1, size.invoices), 5, i, a ? QStringLiteral("A") : QStringLiteral("B"),
                     1 + (i * 7) % size.customers, a ? QStringLiteral("RI") : QStringLiteral("CF"));
    }
    for (int j = 1; j <= size.notes; ++j)
        writer.write(size.invoices + j, dateOf(j - 1, size.notes), 1, j, QStringLiteral("R"),
                     1 + (j * 11) % size.customers, j % 5 ? QStringLiteral("RI") : QStringLiteral("EX"));
}

void insertLoads(QSqlDatabase &db, const BenchSize &size)
{
    PreparedInsert load(db, QStringLiteral("T_CARGAS"),
                        {QStringLiteral("ID"), QStringLiteral("F_COMP"), QStringLiteral("T_TIPOCARGA"),
                         QStringLiteral("N_COMP"), QStringLiteral("IMP_CARGA"), QStringLiteral("VOL_CARGA"),
                         QStringLiteral("N_ITC"), QStringLiteral("N_IVA"), QStringLiteral("N_CLIENTE"),
                         QStringLiteral("HORA"), QStringLiteral("N_PV")});
    for (int k = 1; k <= size.loads; ++k) {
        const QString date = dateOf(k - 1, size.loads);
        const double volume = 5 + (k % 350) / 10.0;
        const QTime time = QTime(0, 0).addSecs((k * 997) % 86400);
        load({k, date, 3, k, std::round(volume * 689.90 * 100) / 100, volume, 18.45, 21,
              k % 4 ? 1 : 1 + k % size.customers, date + QLatin1Char(' ') + time.toString(QStringLiteral("HH:mm:ss")),
              689.90});
    }
}

// Every generated row of the KTZ database, in one transaction.
void insertKtzRows(QSqlDatabase &db, const BenchSize &size)
{
    if (!db.transaction())
        throw GenerationError{db.lastError().text()};
    insertCatalogue(db, size);
    insertCustomers(db, size);
    insertDocuments(db, size);
    insertLoads(db, size);
    if (!db.commit())
        throw GenerationError{db.lastError().text()};
}

// Runs script with isql-fb from a file, as the servers' administrator.
void runIsql(const QString &script)
{
    QTemporaryFile file;
    if (!file.open())
        throw GenerationError{QStringLiteral("cannot write the isql script")};
    file.write(script.toUtf8());
    file.flush();
    QProcess isql;
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(QStandardPaths::findExecutable(QStringLiteral("isql-fb")),
               {QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-n"), QStringLiteral("-ch"),
                QStringLiteral("UTF8"), QStringLiteral("-i"), file.fileName()});
    const bool done = isql.waitForFinished(120000);
    if (!done || isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0)
        throw GenerationError{QStringLiteral("isql-fb: ") + QString::fromUtf8(isql.readAll())};
}

QString sqlLiteral(const QString &text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

} // namespace

BenchSize BenchSize::ofScale(double scale)
{
    const auto n = [scale](int perUnit) { return std::max(1, int(std::lround(scale * perUnit))); };
    return BenchSize{std::max(n(1000), 11), std::min(n(1000), 9999), n(10000), n(4510), n(500)};
}

bool createKtzDatabase(const QString &path, const BenchSize &size, QString *error)
{
    return withNewDatabase(path, error, [&](QSqlDatabase &db) {
        runScript(db, sourceFileText(QStringLiteral("schema/ktz.sqlite.sql")));
        insertKtzRows(db, size);
    });
}

bool createFirebirdKtzDatabase(const FirebirdServer &server, const QString &path, const BenchSize &size, QString *error)
{
    const QString name = QUuid::createUuid().toString();
    bool ok = false;
    try {
        QString script = QStringLiteral("CREATE DATABASE %1 USER %2 PASSWORD %3 DEFAULT CHARACTER SET UTF8;\n")
                             .arg(sqlLiteral(server.address() + QLatin1Char(':') + path), sqlLiteral(server.user),
                                  sqlLiteral(server.password));
        for (const QString &statement : splitSqlScript(sourceFileText(QStringLiteral("schema/ktz.firebird.sql"))))
            script += statement + QStringLiteral(";\n");
        runIsql(script + QStringLiteral("COMMIT;\n"));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), name);
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setDatabaseName(path);
        db.setUserName(server.user);
        db.setPassword(server.password);
        if (!db.open())
            throw GenerationError{db.lastError().text()};
        insertKtzRows(db, size);
        db.close();
        ok = true;
    } catch (const GenerationError &e) {
        *error = path + QStringLiteral(": ") + e.text;
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool loadOrvaDatabase(QSqlDatabase &db, const QString &schemaFile, const QString &ktzPath, QString *error,
                      const QString &ktzServer)
{
    try {
        runScript(db, sourceFileText(schemaFile));
        QString rows = sourceFileText(QStringLiteral("bench/orva.bench.sql"));
        rows.replace(QStringLiteral("@KTZ_DB@"), QString(ktzPath).replace(QLatin1Char('\''), QStringLiteral("''")));
        rows.replace(QStringLiteral("@KTZ_SERVER@"),
                     QString(ktzServer).replace(QLatin1Char('\''), QStringLiteral("''")));
        runScript(db, rows);
        return true;
    } catch (const GenerationError &e) {
        *error = e.text;
        return false;
    }
}

bool createOrvaDatabase(const QString &path, const QString &ktzPath, QString *error, const QString &ktzServer)
{
    return withNewDatabase(path, error, [&](QSqlDatabase &db) {
        QString failure;
        if (!loadOrvaDatabase(db, QStringLiteral("schema/orva.sqlite.sql"), ktzPath, &failure, ktzServer))
            throw GenerationError{failure};
    });
}
