#include "Application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quendral {

bool prepareApplication(QApplication& application)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));

    auto* translator = new QTranslator(&application);
    const bool loaded = translator->load(
        QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded)
        QApplication::installTranslator(translator);
    return loaded;
}

}  // namespace quendral
