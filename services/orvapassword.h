#pragma once
// The Orva password off the command line, where every user of the machine
// could read it in the process list: from the environment, or from a file
// that only its owner may read.

#include <QString>

// The password when "@Password" gives none: TRASPASOR_ORVA_PASSWORD when it
// is set, otherwise the first line of passwordFile (when one is named). A
// file that its group or other users may read is refused: false, with
// *error naming the file and its permissions (never its content). True
// with an empty password when neither is given.
bool orvaPasswordFromOutside(const QString &passwordFile, QString *password, QString *error);
