#pragma once
// Runs SQL scripts (schema and demo files): statements end with ";" outside
// quotes; "--" starts a comment to the end of the line.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

QStringList splitSqlScript(const QString &script);

// Runs every statement of script on db inside one transaction; false with
// *error naming the failing statement when one fails (nothing is kept then).
bool runSqlScript(QSqlDatabase db, const QString &script, QString *error);
