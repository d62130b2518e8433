#pragma once
// The dialect layer: statements are written in the dialect of the Orva
// production server (bracketed names, SELECT TOP n, BEGIN/COMMIT/ROLLBACK
// TRANSACTION); this is the one place that adapts them to another engine.

#include <QString>

enum class SqlDialect {
    SqlServer,  // the production server: statements run as written
    Sqlite,     // TOP n becomes LIMIT n; brackets are understood
    PostgreSql, // TOP n becomes LIMIT n; [Name] becomes "name"
    Firebird,   // TOP n becomes FIRST n; [Name] becomes "NAME"; a one-row aggregate loses its ORDER BY
};

// The statement as the engine of dialect accepts it. Texts between single
// quotes are never touched.
QString adaptStatement(const QString &sql, SqlDialect dialect);

// The transaction statements the steps execute as text.
enum class TransactionVerb { None, Begin, Commit, Rollback };
TransactionVerb transactionVerb(const QString &sql);
