#pragma once
// The console around an unattended run: every box of the asked kinds is
// ticked, progress goes to standard error (one line per step and its
// figure), each pass's report to standard output: the four lines, the
// pass's status, the accounting per kind and the records left out or failed.

#include "run/rundriver.h"

#include <QString>
#include <QTextStream>

class ConsoleFront : public RunFront, public ProgressView
{
public:
    ConsoleFront();

    bool ticked[TransferKindCount] = {true, true, true, true};
    // Whether the progress lines go to standard error; the report always
    // goes to standard output.
    bool showProgress = true;

    // The progress lines are shown on a terminal only, so a scheduler's run
    // stays quiet; "@Progreso=SI;" / "@Progreso=NO;" force them on or off.
    static bool progressWanted(const QString &progresoEntry, bool stderrIsTerminal);

    // Reads the kinds of a scheduler's "@Datos" entry (Articulos, Clientes,
    // Ventas, Remitos, separated by commas; case and accents ignored). An
    // empty text ticks all four. False, with *error, for an unknown word.
    bool tickFromList(const QString &list, QString *error);

    bool isTicked(TransferKind kind) const override { return ticked[int(kind)]; }
    void setMainEnabled(bool) override {}
    void showProgressWindow() override {}
    void hideProgressWindow() override {}
    void unloadProgressWindow() override;
    void showReport(const RunReport &) override {}
    void passEnded(const RunReport &report) override;

    void progressChanged(const ProgressState &state) override;

private:
    void finishStatusLine();
    QTextStream m_out;
    QTextStream m_err;
    QString m_status;
    QString m_lastLine;
};
