#pragma once
// Keeps passwords out of every text the tool writes (log, messages, reports).

#include <QString>

// The text with the value of every "Pwd=" / "Password=" entry replaced by "***".
QString redactPasswords(const QString &text);
