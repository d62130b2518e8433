#pragma once
// Test fixtures on real SQLite files: an Orva database made from the
// project's schema (plus the rows a test adds), a KTZ database likewise, a
// session open on Orva with a scripted operator, and a run context whose
// source connection is open on the KTZ file.

#include "run/rundriver.h"
#include "services/sharedservices.h"
#include "session/session.h"
#include "support/scriptedoperator.h"

#include <QList>
#include <QTemporaryDir>
#include <QVariantMap>
#include <memory>

// The text of a file of the source tree ("schema/orva.sqlite.sql").
QString sourceFileText(const QString &relativePath);

// Creates an SQLite file at path from the schema file plus extra statements.
// Fails the running test when a statement fails.
void createSqliteDatabase(const QString &path, const QString &schemaFile, const QString &extraSql);

// Runs an SQL script on an existing SQLite file. Fails the running test
// when a statement fails.
void runSqliteScript(const QString &path, const QString &script);

// Rows of a query on an SQLite file, each as column -> value (names as the
// query gives them). Opens its own connection, so it sees committed data only.
QList<QVariantMap> queryRows(const QString &path, const QString &sql);
// The first column of the first row, or an invalid value.
QVariant queryValue(const QString &path, const QString &sql);

class OrvaFixture
{
public:
    // An Orva database with the schema and orvaSql, and a session open on it
    // (configuration table chosen, customer prefix loaded).
    explicit OrvaFixture(const QString &orvaSql = {});
    virtual ~OrvaFixture();

    QTemporaryDir dir;
    QString orvaPath;
    SharedServices services;
    Session session{services};
    ScriptedOperator op;

    // Runs statements on Orva through the session's connection.
    void execOrva(const QString &sql);
    QList<QVariantMap> orvaRows(const QString &sql) { return queryRows(orvaPath, sql); }
    QVariant orvaValue(const QString &sql) { return queryValue(orvaPath, sql); }
};

// Makes the COMMIT of every transaction fail that inserts into table a row
// matching condition (an SQL expression over NEW): such a row leaves a
// deferred foreign key pointing nowhere, which SQLite checks at the commit
// and keeps the transaction open. mendBlockedCommit() inserts the missing
// parent, so a COMMIT tried again succeeds.
void blockCommitOf(OrvaFixture &f, const QString &table, const QString &condition);
void mendBlockedCommit(OrvaFixture &f);

class RunFixture : public OrvaFixture
{
public:
    // Orva as above, and a KTZ database with the schema and ktzSql, open as
    // the run's source connection of pass 0.
    RunFixture(const QString &orvaSql, const QString &ktzSql);

    QString ktzPath;
    RunContext context{session};
};

// Makes the first write to Orva after the nth yield outside a transaction
// fail once (TRASPASOR_FAIL_AT_WRITE in process). The document steps yield
// once before each document, so n = 2 refuses the second document's BEGIN.
void refuseWriteAfterYield(RunFixture &f, int n);

// Runs step as the run driver frames it: under the run's handler, named after
// kind. False when the operator gave up (the open document, if any, was
// rolled back while the step unwound).
bool runStepAsDriver(RunFixture &f, TransferStep &step, TransferKind kind);

// A front that ticks only one kind and shows nothing.
class OneKindFront : public RunFront
{
public:
    explicit OneKindFront(TransferKind kind) : m_kind(kind) {}
    bool isTicked(TransferKind kind) const override { return kind == m_kind; }
    void setMainEnabled(bool) override {}
    void showProgressWindow() override {}
    void hideProgressWindow() override {}
    void unloadProgressWindow() override {}
    void showReport(const RunReport &) override {}

private:
    TransferKind m_kind;
};
