#include "ReportWriter.h"

#include "BufferedOutput.h"
#include "Catalogue.h"
#include "DetailReport.h"
#include "ReportText.h"

#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

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

    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    int error = writeAll(fd, bytes_.data(), bytes_.size());
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0)
        ::unlink(path.c_str());
    return error;
}

}  // namespace quendral::batch
