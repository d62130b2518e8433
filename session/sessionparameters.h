#pragma once
// The session parameters of the command line: entries "@Name=value;".

#include <QList>
#include <QString>
#include <QStringList>

// Something the command line holds that its reader would pass over in
// silence: a name no entry has, a misspelt one, a value cut short because
// its ";" is missing, or a value that runs into the next entry.
struct EntryFinding
{
    enum Kind { Unknown, Misspelt, Cut, RunsOn };
    Kind kind = Unknown;
    QString name;      // as written
    QString resembles; // Misspelt: the known entry; RunsOn: the entry run into
    QString value;     // Cut, RunsOn: the value the entry gets
    // The message for the log and standard error (never a password).
    QString message() const;
};

struct SessionParameters
{
    QString ParametroAdicional;
    QString Menu;
    QString Server;
    QString DbName;
    QString Usuario;
    QString Password;
    QString UsuarioLogeado;
    QString Caja = QStringLiteral("1");
    QString Datos;    // the kinds a scheduler asks for ("" = all four)
    QString Progreso; // "SI" / "NO": console progress lines forced on / off ("" = only on a terminal)
    QString Desde;    // a reconciliation's first day, YYYY-MM-DD ("" = the default)
    QString Hasta;    // a reconciliation's last day
    QString Informe;  // the file of the run's machine-readable report ("" = none)

    // Reads every entry from text with the classic rules: the first
    // occurrence of the name without regard to case (so "@Usuario" is also
    // found inside "@UsuarioLogeado"), the value running to the next ";" and
    // a last entry without ";" cut to as many characters as its name has.
    static SessionParameters parse(const QString &text);

    // The value of one entry, or defaultValue when the name does not occur.
    static QString entry(const QString &text, const QString &name, const QString &defaultValue);

    bool unattended() const;     // ParametroAdicional is "DesdeTimer"
    bool reconciliation() const; // ParametroAdicional is "Conciliar"

    // Every entry name the program knows, as written in its help.
    static const QStringList &knownNames();

    // The findings of text, in the order written. A name within one letter
    // of a known one (one letter more, less, changed, or two swapped) is
    // Misspelt; any other unknown name is Unknown. Entries count where "@"
    // opens the text or follows a blank or a ";", so an "@" inside a value
    // is no entry.
    static QList<EntryFinding> check(const QString &text);
};
