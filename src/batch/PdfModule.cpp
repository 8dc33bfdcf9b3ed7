// The course report as a module of its own, which quendral-batch loads only when a report
// is asked for: a run without one then starts with Qt Core alone, without the dozens of
// libraries behind Qt Widgets and Qt Charts.

#include "CoursePdf.h"
#include "CoursePdfModule.h"
#include "HeadlessApplication.h"

#include <QDate>

extern "C" Q_DECL_EXPORT bool quendralCoursePdf(
    const quendral::batch::Course* course, std::string* bytes, std::string* problem)
{
    using namespace quendral::batch;
    static_assert(std::is_same_v<decltype(&quendralCoursePdf), CoursePdfEntry>);
    const HeadlessApplication application;
    if (!application.ready()) {
        *problem = "kein Zeichnen ohne grafische Anwendung möglich";
        return false;
    }
    *bytes = coursePdf(*course, QDate::currentDate());
    if (bytes->empty()) {
        *problem = "die PDF-Datei lässt sich nicht zeichnen";
        return false;
    }
    return true;
}
