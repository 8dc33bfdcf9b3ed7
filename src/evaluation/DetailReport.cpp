#include "DetailReport.h"

#include "Blocks.h"
#include "Catalogue.h"
#include "Section.h"

namespace quendral {

int writeDetailReport(const AnswerRecord& record, const ReportTexts& texts,
    const std::function<int(std::string_view line)>& writeLine)
{
    if (const int error = writeReportHeader(writeLine))
        return error;
    for (int block = 1; block <= kBlockCount; ++block) {
        if (!record.isDone(block))
            continue;
        const SectionHooks hooks{
            [&](int question) { return texts.questionCaption(block, question); },
            [](int) {},
            writeLine,
        };
        if (const int error
            = writeSection(reviewCatalogue(block), texts.heading(block), record, hooks))
            return error;
    }
    return 0;
}

}  // namespace quendral
