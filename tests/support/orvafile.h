#pragma once
// What an Orva SQLite file holds, for comparing two runs' results from
// outside the program: its rows as text and its integrity.

#include <QString>
#include <QStringList>

// Every row of every table, as "TABLE: value|value|...", sorted, without the
// moment a counter moved (fechahora_modificacion): two files holding the
// same rows give the same list.
QStringList orvaFileRows(const QString &path);

// PRAGMA integrity_check of an SQLite file: "ok" when it is intact.
QString sqliteIntegrity(const QString &path);

// The rows of from that are not in what, counted as a multiset (a row held
// twice in from and once in what is listed once).
QStringList rowsNotIn(const QStringList &from, const QStringList &what);
