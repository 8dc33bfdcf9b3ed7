// What bare Qt needs to start: an empty QApplication with one shown QWidget of the overall
// window's size, up to its first activation and first painted frame. With --with-text the
// widget holds one line of text, so the font database is loaded too, as in any program
// that shows text.

#include "StartupWatch.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    quendral::bench::StartupWatch watch(argc, argv);
    QApplication application(argc, argv);
    QWidget window;
    window.resize(808, 619);
    if (QCoreApplication::arguments().contains(QStringLiteral("--with-text")))
        new QLabel(QStringLiteral("Quendral-Auswertung"), &window);
    watch.watch(&window);
    window.show();
    return QApplication::exec();
}
