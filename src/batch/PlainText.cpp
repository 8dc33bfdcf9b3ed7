#include "PlainText.h"

#include <QString>
#include <QUtf8StringView>

#include <algorithm>

namespace quendral::batch {

std::string validUtf8(std::string_view text)
{
    if (QUtf8StringView(text.data(), static_cast<qsizetype>(text.size())).isValidUtf8())
        return std::string(text);
    // Qt's decoder replaces each undecodable byte with U+FFFD.
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .toUtf8()
        .toStdString();
}

std::string oneLine(std::string_view text)
{
    const std::string valid = validUtf8(text);
    const auto isControl = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    };
    if (std::none_of(valid.begin(), valid.end(), isControl))
        return valid;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string result;
    result.reserve(valid.size() + 8);
    for (const char c : valid) {
        if (!isControl(c)) {
            result += c;
            continue;
        }
        switch (c) {
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        default: {
            const auto u = static_cast<unsigned char>(c);
            result += "\\x";
            result += kHex[u >> 4];
            result += kHex[u & 0xF];
        }
        }
    }
    return result;
}

}  // namespace quendral::batch
