#include "ReportText.h"

#include <QStringEncoder>

namespace quendral {

std::string toReportBytes(const QString& text)
{
    QStringEncoder encoder("windows-1252");
    const QByteArray bytes = encoder.encode(text);
    return bytes.toStdString();
}

}  // namespace quendral
