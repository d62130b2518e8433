#include "services/orvapassword.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The permissions as the octal mode chmod shows ("644").
QString modeText(QFile::Permissions p)
{
    const int bits = int(p);
    return QString::number((bits >> 12) & 7) + QString::number((bits >> 4) & 7) + QString::number(bits & 7);
}

} // namespace

bool orvaPasswordFromOutside(const QString &passwordFile, QString *password, QString *error)
{
    password->clear();
    if (qEnvironmentVariableIsSet("TRASPASOR_ORVA_PASSWORD")) {
        *password = qEnvironmentVariable("TRASPASOR_ORVA_PASSWORD");
        return true;
    }
    if (passwordFile.isEmpty())
        return true;
    const QFileInfo info(passwordFile);
    if (!info.exists()) {
        *error = QStringLiteral("No existe el archivo de contraseña %1").arg(passwordFile);
        return false;
    }
    const QFile::Permissions others = QFile::ReadGroup | QFile::ReadOther;
    if (info.permissions() & others) {
        *error = QStringLiteral("El archivo de contraseña %1 lo pueden leer otros usuarios (permisos %2); "
                                "déjelo legible sólo por su dueño: chmod 600 %1")
                     .arg(passwordFile)
                     .arg(modeText(info.permissions()));
        return false;
    }
    QFile file(passwordFile);
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QStringLiteral("No se pudo leer el archivo de contraseña %1: %2").arg(passwordFile, file.errorString());
        return false;
    }
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    *password = QString::fromUtf8(line);
    return true;
}
