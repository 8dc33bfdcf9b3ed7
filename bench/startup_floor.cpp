// What bare Qt needs to start: a QApplication with one shown QWidget of the overall
// window's size holding one line of text (so the font database is loaded, as in any
// program that shows text), up to its first activation and first painted frame.

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
    new QLabel(QStringLiteral("Quendral-Auswertung"), &window);
    watch.watch(&window);
    window.show();
    return QApplication::exec();
}
