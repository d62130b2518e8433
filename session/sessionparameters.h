#pragma once
// The session parameters of the command line: entries "@Name=value;".

#include <QString>

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
    QString Datos;  // the kinds a scheduler asks for ("" = all four)

    // Reads every entry from text with the classic rules: the first
    // occurrence of the name without regard to case (so "@Usuario" is also
    // found inside "@UsuarioLogeado"), the value running to the next ";" and
    // a last entry without ";" cut to as many characters as its name has.
    static SessionParameters parse(const QString &text);

    // The value of one entry, or defaultValue when the name does not occur.
    static QString entry(const QString &text, const QString &name, const QString &defaultValue);

    bool unattended() const;  // ParametroAdicional is "DesdeTimer"
};
