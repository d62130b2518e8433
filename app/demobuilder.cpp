#include "app/demobuilder.h"
#include "services/sqlscript.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>

namespace {

QString resourceText(const QString &name)
{
    QFile file(QStringLiteral(":/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

bool buildOne(const QString &path, const QStringList &scripts, const QString &folder, QString *error)
{
    QFile::remove(path);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("demo-builder"));
        db.setDatabaseName(path);
        ok = db.open();
        if (!ok && error)
            *error = QStringLiteral("No se pudo crear %1").arg(path);
        for (const QString &name : scripts) {
            if (!ok)
                break;
            QString script = resourceText(name);
            script.replace(QStringLiteral("@DEMO_DIR@"), folder);
            QString failure;
            ok = runSqlScript(db, script, &failure);
            if (!ok && error)
                *error = QStringLiteral("%1: %2").arg(name, failure);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("demo-builder"));
    return ok;
}

} // namespace

bool buildDemoDatabases(const QString &folder, QString *error)
{
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("No se pudo crear la carpeta %1").arg(folder);
        return false;
    }
    const QString dir = QFileInfo(folder).absoluteFilePath();
    return buildOne(dir + QStringLiteral("/ktz.db"), {QStringLiteral("schema/ktz.sqlite.sql"), QStringLiteral("demo/ktz.demo.sql")}, dir, error)
        && buildOne(dir + QStringLiteral("/ktz2.db"), {QStringLiteral("schema/ktz.sqlite.sql"), QStringLiteral("demo/ktz2.demo.sql")}, dir, error)
        && buildOne(dir + QStringLiteral("/orva.db"), {QStringLiteral("schema/orva.sqlite.sql"), QStringLiteral("demo/orva.demo.sql")}, dir, error);
}
