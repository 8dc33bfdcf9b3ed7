// The evaluation program's start-up, exactly as its main() runs it, up to the overall
// window's first activation and first painted frame. At the first activation the window
// would post its start-up work (the open dialog); the probe clears the flag that asks for
// it just before the window sees the event, so the window handles its activation as usual
// but opens no dialog, and the process ends as soon as both moments are taken.

#include "StartupWatch.h"

#include "Application.h"
#include "QuendralAusw.h"
#include "QuendralGLOBAL.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    quendral::bench::StartupWatch watch(argc, argv, [] { quendral::FirstActivation = 0; });

    // From here on as in src/app/QuendralAuswertung.cpp.
    QApplication application(argc, argv);
    quendral::prepareApplication(application);
    QApplication::setApplicationName(QStringLiteral("Quendral Tarvik"));

    quendral::Tquendralauswfrm window;
    quendral::quendralauswfrm = &window;
    watch.watch(&window);
    window.show();
    return QApplication::exec();
}
