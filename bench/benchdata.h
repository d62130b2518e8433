#pragma once
// The benchmark's databases: a KTZ file of a chosen size, generated row by
// row, and an Orva file whose configuration points the transfer at it.

#include <QString>

// How many rows of each kind the KTZ file holds.
struct BenchSize
{
    int articles = 0;  // PRODUCTO rows, one PROD_PRECIO row each
    int customers = 0; // T_CLIENTES rows
    int invoices = 0;  // FAC_OUT rows of letters A and B, 3 FACT_OUT lines each
    int loads = 0;     // T_CARGAS rows
    int notes = 0;     // FAC_OUT rows of letter R, 3 FACT_OUT lines each

    // Scale N: N×1000 articles, N×1000 customers (at most 9,999: Orva's
    // account takes the last four digits of the number), N×10,000 invoices,
    // N×4,510 fuel loads (N×14,510 sales documents) and N×500 delivery
    // notes, dated over March 2026.
    static BenchSize ofScale(double scale);

    int salesDocuments() const { return invoices + loads; }
};

// Creates the KTZ database at path (schema of the source tree plus the
// generated rows, in one transaction). False with *error when the schema
// cannot be read or a statement fails.
bool createKtzDatabase(const QString &path, const BenchSize &size, QString *error);

// The throw-away Firebird server of scripts/servers/start.sh.
struct FirebirdServer
{
    QString host, user, password;
    int port = 0;
    QString dataFolder; // where the server may create database files

    QString address() const { return QStringLiteral("%1/%2").arg(host).arg(port); }
};

// Creates the KTZ database file path on server (schema/ktz.firebird.sql,
// default character set UTF8) with the same rows as createKtzDatabase, in
// one transaction through the Firebird client. False with *error when isql
// or a statement fails.
bool createFirebirdKtzDatabase(const FirebirdServer &server, const QString &path, const BenchSize &size,
                               QString *error);

// Creates the Orva database at path with the benchmark's configuration, its
// KTZ_BASEDEDATOS set to ktzPath and KTZ_SERVIDOR to ktzServer (empty for a
// file). False with *error when a statement fails.
bool createOrvaDatabase(const QString &path, const QString &ktzPath, QString *error,
                        const QString &ktzServer = QString());

class QSqlDatabase;
// Loads the Orva schema file and the benchmark's configuration into the
// open, empty database db (SQLite or PostgreSQL).
bool loadOrvaDatabase(QSqlDatabase &db, const QString &schemaFile, const QString &ktzPath, QString *error,
                      const QString &ktzServer = QString());
