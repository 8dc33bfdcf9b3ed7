#include "BenchRecord.h"

#include "Catalogue.h"
#include "FileNames.h"
#include "ReportText.h"
#include "Section.h"

#include <QFile>
#include <QString>

#include <sys/stat.h>

#include <fstream>
#include <iterator>

namespace quendral::bench {

BenchFiles& benchFiles()
{
    static BenchFiles files = [] {
        BenchFiles made;
        QFile sample(QStringLiteral(QUENDRAL_EXAMPLE_FILE));
        if (!made.dir.isValid() || !sample.open(QIODevice::ReadOnly))
            return made;
        const QByteArray bytes = sample.read(static_cast<qint64>(kRecordSize));
        if (bytes.size() != static_cast<qsizetype>(kRecordSize))
            return made;
        std::copy(bytes.begin(), bytes.end(), made.record.bytes.begin());
        for (int block = 1; block <= 6; ++block)
            made.record.bytes[kDoneFlagBase + static_cast<std::size_t>(block)] = 1;

        const QString path = made.dir.filePath(QStringLiteral("Quendral.dat"));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly)
            || out.write(reinterpret_cast<const char*>(made.record.bytes.data()),
                   static_cast<qint64>(kRecordSize))
                != static_cast<qint64>(kRecordSize))
            return made;
        made.answerFile = QFile::encodeName(path).toStdString();
        made.reportFile = reportFileName(made.answerFile);
        return made;
    }();
    return files;
}

std::string expectedSection(int block, const AnswerRecord& record)
{
    const ReviewCatalogue& catalogue = reviewCatalogue(block);
    std::string text;
    const SectionHooks hooks{
        [&](int q) { return toReportBytes(QString::fromUtf8(catalogue.label(q).caption)); },
        [](int) {},
        [&](std::string_view line) {
            text.append(line);
            text.append("\r\n");
            return 0;
        },
    };
    writeSection(catalogue, toReportBytes(QString::fromUtf8(catalogue.heading)), record, hooks);
    return text;
}

std::string expectedReport(const AnswerRecord& record, int lastBlock)
{
    std::string text;
    for (const char* line : kReportHeader) {
        text.append(line);
        text.append("\r\n");
    }
    for (int block = 1; block <= lastBlock; ++block)
        text += expectedSection(block, record);
    return text;
}

long long fileSize(const std::string& path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

std::string fileContents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace quendral::bench
