#pragma once
// The demo builder: small but realistic KTZ and Orva databases to try the
// tool on, made from the schema and demo scripts built into the program.

#include <QString>

// Creates folder/ktz.db, folder/ktz2.db and folder/orva.db afresh. The Orva
// configuration points at the two KTZ files. False with *error on failure.
bool buildDemoDatabases(const QString &folder, QString *error);
