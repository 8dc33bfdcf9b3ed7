#include "FileNames.h"

namespace quendral {

namespace {

bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Drops the last `count` characters (code points, not bytes) of a UTF-8 text.
std::string_view dropLastCharacters(std::string_view text, int count)
{
    std::size_t end = text.size();
    for (int i = 0; i < count && end > 0; ++i) {
        --end;
        while (end > 0 && isUtf8Continuation(text[end]))
            --end;
    }
    return text.substr(0, end);
}

}  // namespace

std::string reportFileName(std::string_view answerPath)
{
    const std::size_t slash = answerPath.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    std::string_view base = answerPath;
    const std::size_t dat = answerPath.find(".dat", nameStart);
    if (dat != std::string_view::npos)
        base = answerPath.substr(0, dat);
    return std::string(base) + "-Detail.txt";
}

std::string pictureFileName(std::string_view answerPath)
{
    // Only the file name loses characters: a name shorter than three keeps its folder.
    const std::size_t slash = answerPath.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::string_view name = answerPath.substr(nameStart);
    std::string picture = std::string(answerPath.substr(0, nameStart))
        + std::string(dropLastCharacters(name, 3)) + "jpg";
    if (picture == answerPath)
        picture = std::string(answerPath) + ".jpg";
    return picture;
}

}  // namespace quendral
