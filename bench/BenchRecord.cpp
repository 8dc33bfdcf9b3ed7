#include "BenchRecord.h"

#include "FileNames.h"
#include "ReportWriter.h"
#include "Section.h"

#include <QFile>
#include <QString>

#include <sys/stat.h>

#include <cstring>
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

namespace {

// The report quendral-batch writes for `record`: the program's own header and sections.
std::string reportOf(AnswerRecord record, int firstBlock, int lastBlock)
{
    for (int block = 1; block <= 6; ++block)
        record.bytes[kDoneFlagBase + static_cast<std::size_t>(block)]
            = block >= firstBlock && block <= lastBlock ? 1 : 0;
    const std::string path
        = benchFiles().dir.filePath(QStringLiteral("expected-Detail.txt")).toStdString();
    static batch::ReportWriter writer;
    return writer.write(path, record) == 0 ? fileContents(path) : std::string();
}

}  // namespace

std::string expectedSection(int block, const AnswerRecord& record)
{
    std::size_t header = 0;
    for (const char* line : kReportHeader)
        header += std::strlen(line) + 2;
    return reportOf(record, block, block).substr(header);
}

std::string expectedReport(const AnswerRecord& record, int lastBlock)
{
    return reportOf(record, 1, lastBlock);
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
