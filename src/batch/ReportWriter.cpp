#include "ReportWriter.h"

#include "AtomicFile.h"
#include "Catalogue.h"
#include "DetailReport.h"
#include "ReportText.h"

#include <QString>

namespace quendral::batch {

ReportWriter::ReportWriter()
{
    for (int block = 1; block <= kBlockCount; ++block) {
        const ReviewCatalogue& catalogue = reviewCatalogue(block);
        const auto index = static_cast<std::size_t>(block - 1);
        headings_[index] = toReportBytes(QString::fromUtf8(catalogue.heading));
        for (int q = 1; q <= catalogue.questionCount(); ++q)
            captions_[index].push_back(
                toReportBytes(QString::fromUtf8(catalogue.label(q).caption)));
    }
}

int ReportWriter::write(const std::string& path, const AnswerRecord& record)
{
    bytes_.clear();
    const ReportTexts texts{
        [this](int block) { return headings_[static_cast<std::size_t>(block - 1)]; },
        [this](int block, int question) {
            return captions_[static_cast<std::size_t>(block - 1)]
                            [static_cast<std::size_t>(question - 1)];
        },
    };
    writeDetailReport(record, texts, [this](std::string_view line) {
        bytes_ += line;
        bytes_ += "\r\n";
        return 0;
    });

    // A course run writes thousands of reports, which the next run writes again: no wait
    // for the disk after each.
    return writeFileAtomically(path, bytes_.data(), bytes_.size(), {}, Sync::Skip).osError;
}

}  // namespace quendral::batch
