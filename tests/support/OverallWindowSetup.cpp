#include "OverallWindowSetup.h"

#include "QuendralAusw.h"
#include "QuendralGLOBAL.h"

#include <QFile>
#include <QTest>
#include <QWindow>

namespace quendral::test {

QRect outerOf(const QWidget& window)
{
    return window.windowHandle()->frameGeometry();
}

bool bringUpOverallWindow(
    Tquendralauswfrm& window, const QString& answerPath, std::uint8_t savePicture, bool framed)
{
    AnswerFile = QFile::encodeName(answerPath).toStdString();
    SavePicture = savePicture;
    FirstActivation = 0;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return false;
    return QTest::qWaitFor([&] {
        return (!framed || outerOf(window) != window.geometry())
            && outerOf(window).size() == kOverallOuterSize;
    });
}

}  // namespace quendral::test
