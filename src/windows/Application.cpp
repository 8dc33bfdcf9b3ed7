#include "Application.h"

#include "FormSupport.h"
#include "QuendralAusw.h"
#include "WriteAll.h"

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
    // The application title is the caption of the program's message boxes; it is not set
    // as the display name, which would be appended to every window title.
    QApplication::setApplicationName(kApplicationTitle);
    return loaded;
}

int runQuendralAuswertung(
    int& argc, char** argv, const std::function<void(Tquendralauswfrm&)>& created)
{
    ignoreWriteSignals();
    QApplication application(argc, argv);
    prepareApplication(application);
    Tquendralauswfrm window;
    quendralauswfrm = &window;
    if (created)
        created(window);
    window.show();
    const int result = QApplication::exec();
    quendralauswfrm = nullptr;
    return result;
}

}  // namespace quendral
