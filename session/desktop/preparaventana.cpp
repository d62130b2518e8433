#include "session/desktop/preparaventana.h"
#include "services/sharedservices.h"
#include "session/session.h"

#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QWidget>

namespace {

// The icon resources travel under ":/iconos/", named as the INI names them.
QIcon resourceIcon(const QString &name)
{
    for (const char *extension : {".png", ".ico", ""}) {
        const QString path = QStringLiteral(":/iconos/") + name + QLatin1String(extension);
        if (name.isEmpty() || !QFile::exists(path))
            continue;
        QPixmap pixmap(path);
        if (!pixmap.isNull())
            return QIcon(pixmap);
    }
    return QIcon();
}

QIcon fileIcon(const QString &path)
{
    QPixmap pixmap;
    if (!QFile::exists(path) || !pixmap.load(path))
        return QIcon();
    return QIcon(pixmap);
}

} // namespace

void PreparaVentana(QWidget &window, Session &session)
{
    const QString name =
        session.services().ini.ReadValue(QStringLiteral("CN000pr.INI"), QStringLiteral("Iconos"),
                                         QStringLiteral("IconoDelSistema"), QStringLiteral("ICONVELMORAMC"));
    QIcon icon = resourceIcon(name.trimmed());
    if (icon.isNull())
        icon = fileIcon(session.programFolder + QStringLiteral("velmora.ico"));
    if (!icon.isNull())
        window.setWindowIcon(icon);
    if (QString::fromLatin1(window.metaObject()->className()).compare(QLatin1String("FRMMDI"), Qt::CaseInsensitive)
        != 0)
        QCoreApplication::processEvents();
}
