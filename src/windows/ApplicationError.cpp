#include "ApplicationError.h"

#include "FormSupport.h"

#include <QMessageBox>
#include <QPushButton>

namespace quendral {

ApplicationError ApplicationError::inOut(int osError)
{
    return {QStringLiteral("E/A-Fehler %1").arg(osError)};
}

ApplicationError ApplicationError::fileCreate(const QString& path)
{
    return {QStringLiteral("Datei %1 kann nicht erstellt werden.").arg(path)};
}

void handleApplicationError(QWidget* parent, const ApplicationError& error)
{
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, error.text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

}  // namespace quendral
