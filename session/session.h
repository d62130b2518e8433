#pragma once
// Session start-up: reads the command line, opens the Orva connection,
// chooses the configuration table and keeps the process-wide values the run
// and the transfers use.

#include "session/configstore.h"
#include "session/sessionparameters.h"

#include <QString>

class SharedServices;

class Session
{
public:
    explicit Session(SharedServices &services);

    SharedServices &services() { return m_services; }

    SessionParameters parameters;
    QString programFolder;  // with a trailing separator
    QString tituloClientes; // the customer title prefix, trimmed
    ConfigStore config;

    // Start-up. Reads commandLine, opens the Orva connection (unless one is
    // open already), writes "consultas.qdx" when missing and loads the
    // configuration. Returns false when Orva could not be opened: the
    // program must end (the reason is in services().session.openError()).
    bool IniciaSesion(QString &connectionText, const QString &commandLine);

    // The server name handed to the library: what follows the first "/",
    // then what precedes the first ":" ("host/instance:1433" gives "instance").
    static QString NombreServidor(const QString &server);

    // Chooses the configuration table and loads the customer title prefix.
    void CargaConfiguracion(const QString &folder);

    // Writes the lookup definitions file "consultas.qdx" into the program folder.
    void CreaDefinicionesConsulta();

    QString Cfg(const QString &key) { return config.Cfg(key); }
    bool GrabaDfg(const QString &key, const QString &value) { return config.GrabaDfg(key, value); }

    // The folder of the executable when writable, otherwise the per-user data
    // folder; the environment variable TRASPASOR_PROGRAM_FOLDER overrides both.
    // With create false the folder is only named, not made.
    static QString defaultProgramFolder(bool create = true);

private:
    SharedServices &m_services;
};
