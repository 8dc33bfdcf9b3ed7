#pragma once

// The program's raised errors and the one place that shows them, as the application's
// default error handler would: the German text in an error box captioned with the
// application title, after which the program goes on.

#include <QString>

class QWidget;

namespace quendral {

struct ApplicationError {
    QString text;

    // An input/output error of the report, with the operating system's error number.
    static ApplicationError inOut(int osError);
    // A file that could not be created, named with its full path.
    static ApplicationError fileCreate(const QString& path);
};

void handleApplicationError(QWidget* parent, const ApplicationError& error);

}  // namespace quendral
