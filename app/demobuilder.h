#pragma once
// The demo builder: small but realistic KTZ and Orva databases to try the
// tool on, made from the schema and demo scripts built into the program.
// Besides the SQLite files it can write the KTZ demo into a Firebird server
// and the Orva demo into a PostgreSQL server.

#include <QString>
#include <QStringList>

// Where the demo goes besides the SQLite files of the folder.
struct DemoTargets
{
    // "host[/port]:folder": the KTZ databases become folder/ktz.fdb and
    // folder/ktz2.fdb on that Firebird server (the folder as the server sees
    // it). Empty: KTZ only in SQLite files.
    QString firebird;
    // Default character set of ktz.fdb and of ktz2.fdb: UTF8, WIN1252, or
    // NONE (texts then hold Windows-1252 bytes, as on old stations).
    QStringList firebirdCharsets{QStringLiteral("UTF8"), QStringLiteral("UTF8")};
    QString firebirdUser = QStringLiteral("SYSDBA");
    QString firebirdPassword = QStringLiteral("masterkey");
    // "host[:port]/database": the Orva demo on that PostgreSQL server (the
    // database is made afresh). Empty: Orva only in an SQLite file.
    QString postgresql;
    QString postgresqlUser = QStringLiteral("postgres");
    QString postgresqlPassword;
    // --force: the databases already in the folder are replaced; without it
    // the builder is not started on a folder that holds any of them.
    bool replaceExisting = false;
};

// The demo databases (orva.db, ktz.db, ktz2.db) that already exist in folder.
QStringList existingDemoDatabases(const QString &folder);

// Reads the options that follow the folder: --force, --ktz-firebird SERVER:FOLDER,
// --ktz-charset CS[,CS2], --ktz-user, --ktz-password, --orva-postgresql
// HOST[:PORT]/DATABASE, --orva-user, --orva-password. False with *error on
// an unknown or incomplete option.
bool parseDemoTargets(const QStringList &options, DemoTargets *targets, QString *error);

// Creates folder/ktz.db, folder/ktz2.db and folder/orva.db afresh. The Orva
// configuration points at the two KTZ files. False with *error on failure.
bool buildDemoDatabases(const QString &folder, QString *error);

// The same, and the server copies the targets name. Every Orva demo built
// points at the Firebird KTZ databases when they are built, otherwise at
// the KTZ files of the folder. False with *error (no password in it) on
// failure.
bool buildDemoDatabases(const QString &folder, const DemoTargets &targets, QString *error);
