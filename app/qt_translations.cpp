#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void LoadQtTranslations()
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // qt_ names the modules' catalogues together; qtbase_ alone holds every text the player shows.
    for (const char* catalogue : {"qtbase", "qt"}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(QLocale(), QLatin1String(catalogue), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
        delete translator;
    }
}
