// Quendral evaluation: scores one participant's answer file and shows the result.

#include "Application.h"
#include "QuendralAusw.h"
#include "WriteAll.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    quendral::ignoreWriteSignals();
    QApplication application(argc, argv);
    quendral::prepareApplication(application);
    // The application title is the caption of the program's message boxes; it is not set
    // as the display name, which would be appended to every window title.
    QApplication::setApplicationName(QStringLiteral("Quendral Tarvik"));

    quendral::Tquendralauswfrm window;
    quendral::quendralauswfrm = &window;
    window.show();
    const int result = QApplication::exec();
    quendral::quendralauswfrm = nullptr;
    return result;
}
