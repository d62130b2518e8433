#include "support/fixtures.h"
#include "services/sqlscript.h"
#include "services/svctools.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QUuid>

QString sourceFileText(const QString &relativePath)
{
    QFile file(QStringLiteral(TRASPASOR_SOURCE_DIR "/") + relativePath);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

namespace {

// Runs body with a private connection to the SQLite file at path.
template <class F> void withDatabase(const QString &path, F body)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
        body(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

void createSqliteDatabase(const QString &path, const QString &schemaFile, const QString &extraSql)
{
    withDatabase(path, [&](QSqlDatabase &db) {
        QString error;
        if (!runSqlScript(db, sourceFileText(schemaFile), &error))
            qFatal("schema %s: %s", qPrintable(schemaFile), qPrintable(error));
        if (!extraSql.isEmpty() && !runSqlScript(db, extraSql, &error))
            qFatal("fixture rows: %s", qPrintable(error));
    });
}

void runSqliteScript(const QString &path, const QString &script)
{
    withDatabase(path, [&](QSqlDatabase &db) {
        QString error;
        if (!runSqlScript(db, script, &error))
            qFatal("script on %s: %s", qPrintable(path), qPrintable(error));
    });
}

QList<QVariantMap> queryRows(const QString &path, const QString &sql)
{
    QList<QVariantMap> rows;
    withDatabase(path, [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        if (!query.exec(sql))
            qFatal("query failed: %s | %s", qPrintable(query.lastError().text()), qPrintable(sql));
        while (query.next()) {
            QVariantMap row;
            const QSqlRecord record = query.record();
            for (int i = 0; i < record.count(); ++i)
                row.insert(record.fieldName(i), query.value(i));
            rows << row;
        }
    });
    return rows;
}

QVariant queryValue(const QString &path, const QString &sql)
{
    const QList<QVariantMap> rows = queryRows(path, sql);
    if (rows.isEmpty() || rows.first().isEmpty())
        return QVariant();
    return rows.first().first();
}

OrvaFixture::OrvaFixture(const QString &orvaSql)
{
    orvaPath = dir.filePath(QStringLiteral("orva.db"));
    createSqliteDatabase(orvaPath, QStringLiteral("schema/orva.sqlite.sql"), orvaSql);
    services.setOperator(&op);
    session.programFolder = dir.path() + QLatin1Char('/');
    services.log.open(dir.filePath(QStringLiteral("traspasor.log")));
    QString connectionText;
    if (!session.IniciaSesion(connectionText, QStringLiteral("@DbName=") + orvaPath + QLatin1Char(';')))
        qFatal("cannot open Orva fixture: %s", qPrintable(services.session.openError()));
}

OrvaFixture::~OrvaFixture() = default;

void OrvaFixture::execOrva(const QString &sql)
{
    for (const QString &statement : splitSqlScript(sql))
        services.session.connection().executeOrThrow(statement);
}

void blockCommitOf(OrvaFixture &f, const QString &table, const QString &condition)
{
    Connection &orva = f.services.session.connection();
    orva.executeOrThrow(QStringLiteral("PRAGMA foreign_keys = ON"));
    orva.executeOrThrow(QStringLiteral("CREATE TABLE COMMIT_PARENT (ID INTEGER PRIMARY KEY)"));
    orva.executeOrThrow(QStringLiteral("CREATE TABLE COMMIT_BLOCKER (REF INTEGER REFERENCES COMMIT_PARENT (ID) "
                                       "DEFERRABLE INITIALLY DEFERRED)"));
    orva.executeOrThrow(QStringLiteral("CREATE TRIGGER BLOCK_COMMIT AFTER INSERT ON %1 WHEN %2 "
                                       "BEGIN INSERT INTO COMMIT_BLOCKER (REF) VALUES (1); END")
                            .arg(table, condition));
}

void mendBlockedCommit(OrvaFixture &f)
{
    f.execOrva(QStringLiteral("INSERT OR IGNORE INTO COMMIT_PARENT (ID) VALUES (1)"));
}

RunFixture::RunFixture(const QString &orvaSql, const QString &ktzSql) : OrvaFixture(orvaSql)
{
    ktzPath = dir.filePath(QStringLiteral("ktz.db"));
    createSqliteDatabase(ktzPath, QStringLiteral("schema/ktz.sqlite.sql"), ktzSql);
    ConnectionSpec target;
    target.driver = QStringLiteral("QSQLITE");
    target.databaseName = ktzPath;
    target.dialect = SqlDialect::Sqlite;
    if (!context.source.open(target))
        qFatal("cannot open KTZ fixture");
    context.Digitos_Cuenta = toInt16(numericValue(context.Cfg(QStringLiteral("Digitos_Cuenta"))));
}

void refuseWriteAfterYield(RunFixture &f, int n)
{
    f.context.onYield = [&f, n, outside = 0]() mutable {
        if (!f.context.orva().inTransaction() && ++outside == n
            && !f.services.faults.configure(QString(), QStringLiteral("1"), nullptr))
            qFatal("the write fault was not taken");
    };
}

bool runStepAsDriver(RunFixture &f, TransferStep &step, TransferKind kind)
{
    ErrorHandling::Scope run(f.services.errors, QStringLiteral("cmdActualizar_Click"));
    ErrorHandling::Scope named(f.services.errors, transferStepName(kind), ErrorHandling::Mode::NameOnly);
    return run.run(
        [&] {
            step.run(f.context);
            return true;
        },
        false);
}
