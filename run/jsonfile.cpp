#include "run/jsonfile.h"
#include "services/log.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSaveFile>

bool writeJsonFile(const QString &path, const QJsonObject &document, QString *error)
{
    QSaveFile file(path);
    const auto failed = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("No se pudo escribir el informe %1: %2").arg(path, reason);
        return false;
    };
    if (path.trimmed().isEmpty())
        return failed(QStringLiteral("no se indicó el archivo"));
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    const QByteArray bytes = QJsonDocument(document).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size())
        return failed(file.errorString());
    if (!file.commit())
        return failed(file.errorString());
    return true;
}

QString isoTimestamp(const QDateTime &moment)
{
    // The log's stamp (an explicit offset, also +00:00), with the ISO separator.
    QString text = Log::timeStamp(moment.toLocalTime());
    text[10] = QLatin1Char('T');
    return text;
}
