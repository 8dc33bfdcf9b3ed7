#include "CourseApplication.h"

#include "Application.h"
#include "CourseWindow.h"
#include "WriteAll.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace quendral::course {

namespace {

constexpr const char* kUsage = "Aufruf: quendral-kurs [ORDNER]\n";
constexpr const char* kHelp
    = "Aufruf: quendral-kurs [ORDNER]\n"
      "Zeigt die Ergebnisse aller Antwortdateien (*.dat) des Ordners, eine je Teilnehmer,\n"
      "und hält sie auf dem Stand, während Dateien hinzukommen. Ohne ORDNER fragt das\n"
      "Programm nach einem Ordner.\n";

bool asksForHelp(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    }
    return false;
}

}  // namespace

int runQuendralKurs(int& argc, char** argv, const std::function<void(CourseWindow&)>& created)
{
    // Asked before the application object exists, which would need a display.
    if (asksForHelp(argc, argv)) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    ignoreWriteSignals();
    QApplication application(argc, argv);
    prepareApplication(application);
    // The window class the desktop entry names (StartupWMClass), and its id elsewhere.
    QApplication::setApplicationName(QStringLiteral("quendral-kurs"));
    QGuiApplication::setDesktopFileName(QStringLiteral("de.quendral.Kursauswertung"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/de.quendral.Kursauswertung.png")));

    // Qt has taken its own options out of the command line by now.
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.size() > 1 || (arguments.size() == 1 && arguments.first().startsWith('-'))) {
        std::fputs(kUsage, stderr);
        return kExitBadCommandLine;
    }

    CourseWindow window;
    if (created)
        created(window);
    window.show();
    if (arguments.isEmpty())
        QTimer::singleShot(0, &window, &CourseWindow::chooseFolder);
    else
        window.openFolder(arguments.first());
    return QApplication::exec();
}

}  // namespace quendral::course
