#pragma once
// What the program says about itself: the --version line, the --help text
// and the one-line usage that follows a command-line error.

#include <QString>

// "Traspasor KTZ <version>", the version of the build.
QString versionText();

// The whole help: how to start it, the entries, the demo options, the exit
// codes and where the log and the settings live. programFolder is the folder
// this start would use, shown as it stands.
QString helpText(const QString &programFolder);

// The line printed after a command-line error.
QString usageLine();
