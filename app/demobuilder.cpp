#include "app/demobuilder.h"
#include "services/sqlscript.h"
#include "services/statement.h"
#include "services/svcsession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

const QString builderConnection = QStringLiteral("demo-builder");

QString resourceText(const QString &name)
{
    QFile file(QStringLiteral(":/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// Runs the scripts on db, the folder of the demo put in place of @DEMO_DIR@,
// then the extra statements.
bool runScripts(QSqlDatabase db, const QStringList &scripts, const QString &folder, const QStringList &extra,
                QString *error)
{
    for (const QString &name : scripts) {
        QString script = resourceText(name);
        script.replace(QStringLiteral("@DEMO_DIR@"), folder);
        QString failure;
        if (!runSqlScript(db, script, &failure)) {
            setError(error, QStringLiteral("%1: %2").arg(name, failure));
            return false;
        }
    }
    QString failure;
    if (!extra.isEmpty() && !runSqlScript(db, extra.join(QStringLiteral(";\n")), &failure)) {
        setError(error, failure);
        return false;
    }
    return true;
}

bool buildSqlite(const QString &path, const QStringList &scripts, const QString &folder, const QStringList &extra,
                 QString *error)
{
    QFile::remove(path);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), builderConnection);
        db.setDatabaseName(path);
        ok = db.open();
        if (!ok)
            setError(error, QStringLiteral("No se pudo crear %1").arg(path));
        ok = ok && runScripts(db, scripts, folder, extra, error);
        db.close();
    }
    QSqlDatabase::removeDatabase(builderConnection);
    return ok;
}

// --- Firebird -------------------------------------------------------------------

struct FirebirdTarget
{
    QString server; // host[/port]
    QString folder; // as the server sees it
};

bool parseFirebird(const QString &text, FirebirdTarget *target)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon <= 0 || colon == text.size() - 1)
        return false;
    target->server = text.left(colon).trimmed();
    target->folder = text.mid(colon + 1).trimmed();
    while (target->folder.size() > 1 && target->folder.endsWith(QLatin1Char('/')))
        target->folder.chop(1);
    return true;
}

// Windows-1252 bytes of text; *ok false when a character has none.
QByteArray windows1252(const QString &text, bool *ok)
{
    static const char16_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    QByteArray bytes;
    bytes.reserve(text.size());
    *ok = true;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes += char(u);
            continue;
        }
        int i = 0;
        while (i < 32 && high[i] != u)
            ++i;
        *ok = *ok && i < 32;
        bytes += i < 32 ? char(0x80 + i) : '?';
    }
    return bytes;
}

// "INSERT INTO T (...) VALUES (a), (b)" as one INSERT per row: the
// InterBase-family engine takes a single row per statement.
QStringList singleRowInserts(const QString &statement)
{
    static const QRegularExpression values(QStringLiteral("^(INSERT\\s+INTO\\s+.*?\\)\\s*VALUES)\\s*"),
                                           QRegularExpression::CaseInsensitiveOption
                                               | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = values.match(statement);
    if (!m.hasMatch())
        return {statement};
    QStringList rows;
    const QString head = m.captured(1);
    int depth = 0;
    bool inLiteral = false;
    qsizetype start = -1;
    for (qsizetype i = m.capturedEnd(0); i < statement.size(); ++i) {
        const QChar c = statement.at(i);
        if (c == QLatin1Char('\'')) {
            inLiteral = !inLiteral;
        } else if (!inLiteral && c == QLatin1Char('(')) {
            if (depth++ == 0)
                start = i;
        } else if (!inLiteral && c == QLatin1Char(')')) {
            if (--depth == 0)
                rows << head + QLatin1Char(' ') + statement.mid(start, i - start + 1);
        }
    }
    return rows;
}

// Runs an isql script (credentials inside it, never on the command line);
// false with the tool's output on failure.
bool runIsql(const QString &script, const QString &charset, QString *output)
{
    QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    if (isql.isEmpty())
        isql = QStandardPaths::findExecutable(QStringLiteral("isql"));
    if (isql.isEmpty()) {
        *output = QStringLiteral("no se encontró isql-fb (paquete firebird3.0-utils)");
        return false;
    }
    QByteArray bytes;
    if (charset == QLatin1String("UTF8")) {
        bytes = script.toUtf8(); // WIN1252 and NONE attachments take Windows-1252 bytes
    } else {
        bool ok = true;
        bytes = windows1252(script, &ok);
        if (!ok) {
            *output = QStringLiteral("un texto de la demostración no tiene forma en WIN1252");
            return false;
        }
    }
    // From a file: read from standard input, isql drops the bytes that are
    // no text of the terminal's locale.
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/traspasor-demo-XXXXXX.sql"));
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) {
        *output = QStringLiteral("no se pudo escribir el guion de isql");
        return false;
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    // -n: the schema commits once, at its COMMIT, not after every statement.
    p.start(isql,
            {QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-n"), QStringLiteral("-ch"), charset,
             QStringLiteral("-i"), file.fileName()});
    const bool finished = p.waitForFinished(120000);
    *output = QString::fromUtf8(p.readAll()).trimmed();
    return finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool buildFirebird(const FirebirdTarget &target, const QString &file, const QString &charset,
                   const DemoTargets &targets, const QString &demoScript, QString *error)
{
    const QString database = target.server + QLatin1Char(':') + target.folder + QLatin1Char('/') + file;
    const QString credentials =
        Statement(QStringLiteral(" USER {} PASSWORD {}")).texts({targets.firebirdUser, targets.firebirdPassword});
    QString ignored;
    runIsql(Statement(QStringLiteral("CONNECT {}{};\nDROP DATABASE;\n")).text(database).part(credentials),
            QStringLiteral("UTF8"),
            &ignored); // an earlier demo goes first; none is fine

    // The texts travel in the database's own character set; a NONE database
    // receives them as Windows-1252 bytes, untouched.
    const QString attachment = charset;
    QString script = Statement(QStringLiteral("CREATE DATABASE {}{} PAGE_SIZE 8192 DEFAULT CHARACTER SET {};\n"))
                         .text(database)
                         .part(credentials)
                         .part(charset);
    for (const QString &statement : splitSqlScript(resourceText(QStringLiteral("schema/ktz.firebird.sql"))))
        script += statement + QStringLiteral(";\n");
    script += QStringLiteral("COMMIT;\n");
    for (const QString &statement : splitSqlScript(resourceText(demoScript))) {
        for (const QString &row : singleRowInserts(statement))
            script += row + QStringLiteral(";\n");
    }
    script += QStringLiteral("COMMIT;\n");
    QString output;
    if (!runIsql(script, attachment, &output)) {
        setError(error, QStringLiteral("Firebird %1: %2").arg(database, output));
        return false;
    }
    return true;
}

// --- PostgreSQL -----------------------------------------------------------------

struct PostgresTarget
{
    QString host;
    int port = -1;
    QString database;
};

bool parsePostgres(const QString &text, PostgresTarget *target)
{
    static const QRegularExpression form(QStringLiteral("^([^:/]+)(?::(\\d+))?/(.+)$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    target->host = m.captured(1);
    target->port = m.captured(2).isEmpty() ? -1 : m.captured(2).toInt();
    target->database = m.captured(3);
    return true;
}

QString describe(const PostgresTarget &target)
{
    return QStringLiteral("PostgreSQL %1%2/%3")
        .arg(target.host, target.port > 0 ? QStringLiteral(":%1").arg(target.port) : QString(), target.database);
}

bool openPostgres(QSqlDatabase &db, const PostgresTarget &target, const QString &database, const DemoTargets &targets,
                  QString *error)
{
    db.setHostName(target.host);
    if (target.port > 0)
        db.setPort(target.port);
    db.setDatabaseName(database);
    db.setUserName(targets.postgresqlUser);
    db.setPassword(targets.postgresqlPassword);
    if (db.open())
        return true;
    setError(error, QStringLiteral("%1: %2").arg(describe(target), db.lastError().text().trimmed()));
    return false;
}

bool buildPostgres(const PostgresTarget &target, const DemoTargets &targets, const QString &folder,
                   const QStringList &extra, QString *error)
{
    bool ok = true;
    {
        // A fresh database, made from the server's maintenance database.
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), builderConnection);
        ok = openPostgres(admin, target, QStringLiteral("postgres"), targets, error);
        const QString name = QLatin1Char('"')
            + QString(target.database).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
        QStringList statements;
        if (ok) {
            QSqlQuery exists(admin);
            exists.prepare(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"));
            exists.addBindValue(target.database);
            if (exists.exec() && exists.next())
                statements << Statement(QStringLiteral("DROP DATABASE {} WITH (FORCE)")).part(name);
        }
        statements << Statement(QStringLiteral("CREATE DATABASE {} ENCODING 'UTF8' TEMPLATE template0")).part(name);
        for (const QString &sql : statements) {
            if (!ok)
                break;
            QSqlQuery query(admin);
            ok = query.exec(sql);
            if (!ok)
                setError(error, QStringLiteral("%1: %2").arg(describe(target), query.lastError().text().trimmed()));
        }
        admin.close();
    }
    QSqlDatabase::removeDatabase(builderConnection);
    if (!ok)
        return false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), builderConnection);
        ok = openPostgres(db, target, target.database, targets, error)
            && runScripts(db, {QStringLiteral("schema/orva.postgresql.sql"), QStringLiteral("demo/orva.demo.sql")},
                          folder, extra, error);
        db.close();
    }
    QSqlDatabase::removeDatabase(builderConnection);
    return ok;
}

// The statements that point an Orva demo at the Firebird KTZ databases.
QStringList firebirdConfiguration(const FirebirdTarget &target, const DemoTargets &targets)
{
    QStringList statements;
    const auto set = [&](const QString &key, const QString &value) {
        statements
            << Statement(QStringLiteral("UPDATE TA_CONFIGURACION SET VALOR = {} WHERE CLAVE = {}")).texts({value, key});
    };
    for (const QString &suffix : {QString(), QStringLiteral("2")}) {
        set(QStringLiteral("KTZ_SERVIDOR") + suffix, target.server);
        set(QStringLiteral("KTZ_BASEDEDATOS") + suffix,
            target.folder + (suffix.isEmpty() ? QStringLiteral("/ktz.fdb") : QStringLiteral("/ktz2.fdb")));
        set(QStringLiteral("KTZ_USUARIO") + suffix, targets.firebirdUser);
        set(QStringLiteral("KTZ_PASSWORD") + suffix, targets.firebirdPassword);
    }
    return statements;
}

} // namespace

bool parseDemoTargets(const QStringList &options, DemoTargets *targets, QString *error)
{
    for (qsizetype i = 0; i < options.size(); ++i) {
        const QString option = options.at(i);
        if (option == QLatin1String("--force")) {
            targets->replaceExisting = true;
            continue;
        }
        if (i + 1 >= options.size()) {
            setError(error, QStringLiteral("falta el valor de %1").arg(option));
            return false;
        }
        const QString value = options.at(++i);
        if (option == QLatin1String("--ktz-firebird")) {
            FirebirdTarget target;
            if (!parseFirebird(value, &target)) {
                setError(error, QStringLiteral("--ktz-firebird espera servidor:carpeta (%1)").arg(value));
                return false;
            }
            targets->firebird = value;
        } else if (option == QLatin1String("--ktz-charset")) {
            QStringList charsets = value.toUpper().split(QLatin1Char(','), Qt::SkipEmptyParts);
            for (QString &cs : charsets) {
                cs = cs.trimmed();
                if (cs != QLatin1String("UTF8") && cs != QLatin1String("WIN1252") && cs != QLatin1String("NONE")) {
                    setError(error, QStringLiteral("--ktz-charset: UTF8, WIN1252 o NONE (%1)").arg(cs));
                    return false;
                }
            }
            if (charsets.isEmpty()) {
                setError(error, QStringLiteral("--ktz-charset sin valor"));
                return false;
            }
            targets->firebirdCharsets = {charsets.first(), charsets.last()};
        } else if (option == QLatin1String("--ktz-user")) {
            targets->firebirdUser = value;
        } else if (option == QLatin1String("--ktz-password")) {
            targets->firebirdPassword = value;
        } else if (option == QLatin1String("--orva-postgresql")) {
            PostgresTarget target;
            if (!parsePostgres(value, &target)) {
                setError(error, QStringLiteral("--orva-postgresql espera servidor[:puerto]/base (%1)").arg(value));
                return false;
            }
            targets->postgresql = value;
        } else if (option == QLatin1String("--orva-user")) {
            targets->postgresqlUser = value;
        } else if (option == QLatin1String("--orva-password")) {
            targets->postgresqlPassword = value;
        } else {
            setError(error, QStringLiteral("opción desconocida %1").arg(option));
            return false;
        }
    }
    return true;
}

QStringList existingDemoDatabases(const QString &folder)
{
    QStringList existing;
    for (const char *name : {"orva.db", "ktz.db", "ktz2.db"}) {
        if (QFileInfo::exists(folder + QLatin1Char('/') + QLatin1String(name)))
            existing << QLatin1String(name);
    }
    return existing;
}

bool buildDemoDatabases(const QString &folder, QString *error)
{
    return buildDemoDatabases(folder, DemoTargets(), error);
}

bool buildDemoDatabases(const QString &folder, const DemoTargets &targets, QString *error)
{
    if (!QDir().mkpath(folder)) {
        setError(error, QStringLiteral("No se pudo crear la carpeta %1").arg(folder));
        return false;
    }
    const QString dir = QFileInfo(folder).absoluteFilePath();
    FirebirdTarget firebird;
    QStringList orvaExtra;
    if (!targets.firebird.isEmpty()) {
        parseFirebird(targets.firebird, &firebird);
        orvaExtra = firebirdConfiguration(firebird, targets);
    }
    const QString ktzSchema = QStringLiteral("schema/ktz.sqlite.sql");
    bool ok =
        buildSqlite(dir + QStringLiteral("/ktz.db"), {ktzSchema, QStringLiteral("demo/ktz.demo.sql")}, dir, {}, error)
        && buildSqlite(dir + QStringLiteral("/ktz2.db"), {ktzSchema, QStringLiteral("demo/ktz2.demo.sql")}, dir, {},
                       error)
        && buildSqlite(dir + QStringLiteral("/orva.db"),
                       {QStringLiteral("schema/orva.sqlite.sql"), QStringLiteral("demo/orva.demo.sql")}, dir, orvaExtra,
                       error);
    if (ok && !targets.firebird.isEmpty()) {
        ok = buildFirebird(firebird, QStringLiteral("ktz.fdb"),
                           targets.firebirdCharsets.value(0, QStringLiteral("UTF8")), targets,
                           QStringLiteral("demo/ktz.demo.sql"), error)
            && buildFirebird(firebird, QStringLiteral("ktz2.fdb"),
                             targets.firebirdCharsets.value(1, QStringLiteral("UTF8")), targets,
                             QStringLiteral("demo/ktz2.demo.sql"), error);
    }
    if (ok && !targets.postgresql.isEmpty()) {
        PostgresTarget postgres;
        parsePostgres(targets.postgresql, &postgres);
        ok = buildPostgres(postgres, targets, dir, orvaExtra, error);
    }
    return ok;
}
