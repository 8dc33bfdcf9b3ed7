#include "HeadlessApplication.h"

#include "Application.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace quendral::batch {

namespace {

void dropQtDiagnostics(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fputs(message.toLocal8Bit().constData(), stderr);
        std::abort();
    }
}

}  // namespace

HeadlessApplication::HeadlessApplication()
{
    previousHandler_ = qInstallMessageHandler(dropQtDiagnostics);
    if (QCoreApplication::instance()) {
        ready_ = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
        return;
    }
    application_ = std::make_unique<QApplication>(argc_, argv_);
    prepareApplication(*application_);
    ready_ = true;
}

HeadlessApplication::~HeadlessApplication()
{
    application_.reset();
    qInstallMessageHandler(previousHandler_);
}

}  // namespace quendral::batch
