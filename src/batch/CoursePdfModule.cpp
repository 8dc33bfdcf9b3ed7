#include "CoursePdfModule.h"

#include <QDir>
#include <QLibrary>
#include <QString>

#include <climits>
#include <unistd.h>

namespace quendral::batch {

namespace {

// The module lies at the same place relative to the program in the build folder and in
// the installed tree (QUENDRAL_PDF_MODULE is that path, relative to the program's folder).
QString modulePath()
{
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return {};
    const QString program = QString::fromLocal8Bit(self, length);
    return QDir::cleanPath(program.left(program.lastIndexOf(QLatin1Char('/')) + 1)
        + QStringLiteral(QUENDRAL_PDF_MODULE));
}

}  // namespace

CoursePdfMaker coursePdfFromModule()
{
    return [](const Course& course, std::string& bytes, std::string& problem) {
        const QString path = modulePath();
        QLibrary module(path);
        const auto entry = reinterpret_cast<CoursePdfEntry>(module.resolve(kCoursePdfEntry));
        if (!entry) {
            problem = "Baustein für PDF fehlt: " + path.toStdString();
            return false;
        }
        // The module stays loaded: Qt's libraries keep state until the program ends.
        return entry(&course, &bytes, &problem);
    };
}

}  // namespace quendral::batch
