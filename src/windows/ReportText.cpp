#include "ReportText.h"

#include <QStringEncoder>

namespace quendral {

std::string toReportBytes(const QString& text)
{
    // The code page keeps no state between texts, so one encoder serves every line.
    static QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    return bytes.toStdString();
}

}  // namespace quendral
