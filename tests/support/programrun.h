#pragma once
// Runs the program under test (TRASPASOR_TEST_BIN) as a scheduler would:
// its own program folder, no display.

#include <QString>
#include <QStringList>

struct ProgramResult
{
    int exitCode = -1; // -1 when it crashed
    QString out, err;
};

// Runs the program with arguments and programFolder as its folder (and
// servicesIni as its SharedServices.ini when given); ends the test run when
// it does not finish within timeoutMs. environment adds NAME=value
// settings; the test hooks are set only through it.
ProgramResult runTraspasor(const QStringList &arguments, const QString &programFolder, const QString &servicesIni = {},
                           int timeoutMs = 120000, const QStringList &environment = {});
