#include "Section.h"

#include "BlockScore.h"

#include <algorithm>

namespace quendral {

std::string CollapseDoubleSpaces(std::string text)
{
    const auto end = std::unique(
        text.begin(), text.end(), [](char a, char b) { return a == ' ' && b == ' '; });
    text.erase(end, text.end());
    return text;
}

int writeReportHeader(const std::function<int(std::string_view line)>& writeLine)
{
    for (const char* line : kReportHeader) {
        if (const int error = writeLine(line))
            return error;
    }
    return 0;
}

int writeSection(const ReviewCatalogue& catalogue, std::string_view heading,
    const AnswerRecord& record, const SectionHooks& hooks)
{
    static constexpr std::string_view kAnswerLines[4]
        = {"Antwort a", "Antwort b", "Antwort c", "Antwort d"};

    if (const int error = hooks.writeLine(heading))
        return error;
    for (int q = 1; q <= catalogue.questionCount(); ++q) {
        if (const int error = hooks.writeLine(CollapseDoubleSpaces(hooks.questionCaption(q))))
            return error;
        for (int k = 0; k < 4; ++k) {
            const int box = 4 * (q - 1) + k + 1;
            if (agreesWithKey(record, static_cast<std::size_t>(catalogue.box(box).byte))) {
                hooks.optionAgrees(box);
            } else if (const int error = hooks.writeLine(kAnswerLines[k])) {
                return error;
            }
        }
        if (const int error = hooks.writeLine({}))
            return error;
    }
    return 0;
}

}  // namespace quendral
