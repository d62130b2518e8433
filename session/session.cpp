#include "session/session.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

Session::Session(SharedServices &services) : config(services), m_services(services)
{}

QString Session::defaultProgramFolder(bool create)
{
    // A scheduler (or a test) may give the folder for the log and the lookup file.
    const QString given = qEnvironmentVariable("TRASPASOR_PROGRAM_FOLDER");
    if (!given.isEmpty() && (!create || QDir().mkpath(given)))
        return SvcTools::FolderPath(given);
    const QString exeFolder = QCoreApplication::applicationDirPath();
    if (!exeFolder.isEmpty() && QFileInfo(exeFolder).isWritable())
        return SvcTools::FolderPath(exeFolder);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (create)
        QDir().mkpath(data);
    return SvcTools::FolderPath(data);
}

QString Session::NombreServidor(const QString &server)
{
    QString name = server;
    const qsizetype slash = name.indexOf(QLatin1Char('/'));
    if (slash >= 0)
        name = name.mid(slash + 1);
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    if (colon >= 0)
        name = name.left(colon);
    return name;
}

bool Session::IniciaSesion(QString &connectionText, const QString &commandLine)
{
    // Start-up skips a failing statement and goes on.
    ErrorHandling::Scope scope(m_services.errors, QStringLiteral("IniciaSesion"), ErrorHandling::Mode::IgnoreAll);
    if (programFolder.isEmpty())
        programFolder = defaultProgramFolder();
    m_services.ini.folder = programFolder;

    SvcSession &svc = m_services.session;
    if (!svc.Connected()) {
        parameters = SessionParameters::parse(commandLine);
        QString server = parameters.Server;
        if (!server.trimmed().isEmpty() && server.trimmed().startsWith(QLatin1Char('#'))) {
            server = server.trimmed().mid(1);
            if (connectionText.isEmpty())
                connectionText = QStringLiteral("Provider=msdaora;Data Source=") + server + QStringLiteral(";User Id=")
                    + parameters.Usuario + QStringLiteral(";Password=") + parameters.Password + QLatin1Char(';');
        }
        svc.User = parameters.Usuario;
        svc.DbName = parameters.DbName;
        svc.Password = parameters.Password;
        svc.Server = NombreServidor(server);
        svc.Open(server.trimmed().isEmpty(), 3, connectionText);
        if (!svc.Connected())
            return false;
        svc.connection().commandTimeout = 360;
    }
    m_services.app.SetFolder(programFolder);
    if (!QFileInfo::exists(programFolder + QStringLiteral("consultas.qdx")))
        CreaDefinicionesConsulta();
    if (!svc.DbName.isEmpty())
        CargaConfiguracion(programFolder);
    return true;
}

void Session::CargaConfiguracion(const QString &)
{
    if (m_services.session.HasColumn(QStringLiteral("ta_configuracion"), QStringLiteral("clave"))) {
        config.tableName = QStringLiteral("ta_configuracion");
        tituloClientes = config.Cfg(QStringLiteral("TituloClientes")).trimmed();
    } else {
        config.tableName = QStringLiteral("ta_configuracion2");
    }
}

namespace {

QByteArray fixedField(const QString &text, int width)
{
    QByteArray bytes = text.toLatin1().left(width);
    bytes.append(QByteArray(width - bytes.size(), ' '));
    return bytes;
}

} // namespace

void Session::CreaDefinicionesConsulta()
{
    struct Definition
    {
        const char *name, *table, *columns;
    };
    static const Definition definitions[] = {
        {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
        {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"},
        {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"},
        {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
        {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|"},
        {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
        {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
        {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
    };
    constexpr qint64 recordLength = 1202;
    QFile file(programFolder + QStringLiteral("consultas.qdx"));
    if (!file.open(QIODevice::ReadWrite)) {
        m_services.log.warning(QStringLiteral("No se pudo escribir %1: %2").arg(file.fileName(), file.errorString()));
        return;
    }
    for (const Definition &d : definitions) {
        // Each record goes at record number (length / 1202) + 1.
        file.seek((file.size() / recordLength) * recordLength);
        QByteArray record = fixedField(QString::fromLatin1(d.name), 100) + fixedField(QString::fromLatin1(d.table), 100)
            + fixedField(QString::fromLatin1(d.columns), 500) + fixedField(QString(), 500) + QByteArray("\r\n");
        file.write(record);
    }
    file.close();
}
