#include "run/desktop/spanishqttexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installSpanishQtTexts()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    const QLocale system = QLocale::system();
    const QLocale spanish = system.language() == QLocale::Spanish ? system : QLocale(QLocale::Spanish);
    auto *translator = new QTranslator(app);
    if (!translator->load(spanish, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}
