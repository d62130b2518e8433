#pragma once
// Writes a JSON document (UTF-8) atomically: into a temporary file in the
// same folder, then renamed over path, so a reader never sees half a report.

#include <QJsonObject>
#include <QString>

// False, with *error naming the path and the reason, when it cannot be written.
bool writeJsonFile(const QString &path, const QJsonObject &document, QString *error);

// A moment as ISO 8601 with its UTC offset: 2026-12-10T12:00:05+01:00.
QString isoTimestamp(const QDateTime &moment);
