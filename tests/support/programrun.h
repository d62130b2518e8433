#pragma once
// Runs the program under test (TRASPASOR_TEST_BIN) as a scheduler would:
// its own program folder, no display.

#include <QString>
#include <QStringList>

struct ProgramResult
{
    int exitCode = -1;  // -1 when it crashed
    QString out, err;
};

// Runs the program with arguments and programFolder as its folder; ends the
// test run when it does not finish within two minutes.
ProgramResult runTraspasor(const QStringList &arguments, const QString &programFolder);
