#pragma once
// The demo stations transferred into their Orva by the program itself
// (TRASPASOR_TEST_BIN), and the four changes the reconciliation tests make to
// such an Orva: one journalised invoice removed, a fuel load journalised
// twice, a delivery note's voucher with another total, and an invoice of the
// second station that its KTZ does not have.

#include <QString>
#include <QStringList>

// Makes the demo in folder (orva.db, ktz.db, ktz2.db) and transfers it with
// programFolder as the program's folder. False with *error set when either
// step fails.
bool makeTransferredDemo(const QString &folder, const QString &programFolder, QString *error);

// The four changes as SQLite statements.
QString fourOrvaChangesSqlite();

// The documents they make the reconciliation name, as "station date kind
// document: problem", sorted.
QStringList fourChangedDocuments();
