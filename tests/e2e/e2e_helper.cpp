// Files and measurements for the end-to-end run of the real program (run-e2e.sh):
//
//   e2e_helper answer-file PATH [SIZE]   writes the participant record (its first SIZE bytes)
//   e2e_helper course FOLDER N           writes a course: the participant as Quendral.dat and
//                                        N participants of the ability model beside it
//   e2e_helper expected-report PATH      writes the report that record must give when blocks
//                                        1, 2 and 4 are opened in that order
//   e2e_helper jpeg-size PATH            checks a baseline colour JPEG, prints WIDTHxHEIGHT
//   e2e_helper grab X Y W H PATH         saves what the X screen shows of a rectangle once
//                                        it holds still (PNG)
//   e2e_helper compare JPEG PNG          mean difference per colour channel, 0..255; fails
//                                        when the sizes differ or the mean exceeds 4
//
// The expected report is formed here from the catalogue captions and the answer key, line by
// line, without the program's section writer, so that the program's way through its windows
// is what gets checked.

#include "JpegHeader.h"

#include "AbilityCourse.h"

#include "AnswerKey.h"
#include "AnswerRecord.h"
#include "Blocks.h"
#include "Catalogue.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QStringEncoder>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

using namespace quendral;
using quendral::test::firstFrameMarker;
using quendral::test::JpegHeader;
using quendral::test::readJpegHeader;

namespace {

// Per worked block: the options answered against the key ("question letter"). Ticks are
// stored with varying non-zero values, as the questionnaire program may leave them.
struct Deviations {
    int block;
    const char* list;
};

constexpr Deviations kDeviations[] = {
    {1, "1b 2d 4a 5c 5d 8a 9d"},
    {2, "1a 3b 3c 7a 12d 20a 20b 20c 20d 27b 33d 37a"},
    {4, "2a 2b 10c 16a 19d"},
};

constexpr unsigned char kTickValues[] = {1, 2, 255, 7};

std::size_t offsetOf(int block, int question, int option)
{
    return blockInfo(block).firstByte + static_cast<std::size_t>(4 * (question - 1) + option);
}

AnswerRecord participantRecord()
{
    AnswerRecord record;
    // Bytes 0 to 40 belong to the questionnaire program.
    for (std::size_t i = 0; i < kFirstOptionByte; ++i)
        record.bytes[i] = static_cast<unsigned char>(0xA5 ^ i);

    std::size_t tick = 0;
    auto setTicked = [&](std::size_t offset, bool ticked) {
        record.bytes[offset] = ticked ? kTickValues[tick++ % std::size(kTickValues)] : 0;
    };

    // Worked blocks: the key's answers, then the deviations flipped.
    for (const Deviations& d : kDeviations) {
        const BlockInfo& info = blockInfo(d.block);
        for (int i = 0; i < info.options(); ++i) {
            const std::size_t offset = info.firstByte + static_cast<std::size_t>(i);
            setTicked(offset, expectedAt(offset) == Expected::Ticked);
        }
        const char* p = d.list;
        while (*p) {
            char* end = nullptr;
            const long question = std::strtol(p, &end, 10);
            const int option = end[0] - 'a';
            const std::size_t offset = offsetOf(d.block, static_cast<int>(question), option);
            setTicked(offset, record.bytes[offset] == 0);
            p = end + 1;
            while (*p == ' ')
                ++p;
        }
    }
    // Blocks not worked through still hold a few ticks; they are neither scored nor open to
    // review.
    for (int question = 1; question <= 4; ++question)
        setTicked(offsetOf(3, question, 1), true);
    setTicked(offsetOf(5, 2, 0), true);
    setTicked(offsetOf(6, 1, 3), true);

    record.bytes[kDoneFlagBase + 1] = 1;
    record.bytes[kDoneFlagBase + 2] = 255;
    record.bytes[kDoneFlagBase + 4] = 2;
    return record;
}

std::string collapseBlanks(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == ' ' && !out.empty() && out.back() == ' ')
            continue;
        out += c;
    }
    return out;
}

bool writeFile(const char* path, const QByteArray& bytes)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return false;
    }
    return true;
}

int answerFile(const char* path, long size)
{
    const AnswerRecord record = participantRecord();
    QByteArray bytes(reinterpret_cast<const char*>(record.bytes.data()), kRecordSize);
    bytes.resize(size, '\0');
    return writeFile(path, bytes) ? 0 : 1;
}

// The participants answer blocks 1, 2, 4 and 6; option 6.1c is one whose key is doubtful.
int course(const char* folder, long participants)
{
    const QString base = QString::fromLocal8Bit(folder) + QLatin1Char('/');
    if (answerFile(QFile::encodeName(base + QStringLiteral("Quendral.dat")).constData(),
            static_cast<long>(kRecordSize)))
        return 1;
    const std::vector<AnswerRecord> records = quendral::model::abilityCourse(
        static_cast<std::size_t>(participants), {1, 2, 4, 6}, {381 + 2}, 2024);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const QString name
            = base + QStringLiteral("participant%1.dat").arg(i + 1, 3, 10, QLatin1Char('0'));
        const QByteArray bytes(reinterpret_cast<const char*>(records[i].bytes.data()), kRecordSize);
        if (!writeFile(QFile::encodeName(name).constData(), bytes))
            return 1;
    }
    return 0;
}

int expectedReport(const char* path)
{
    const AnswerRecord record = participantRecord();
    std::vector<std::string> lines = {"Folgende Fragen sind bitte nochmals zu bedenken.",
        "Gehen Sie bitte den Quendral anhand dieser Auflistung", "nochmal durch.", ""};
    for (const Deviations& d : kDeviations) {
        const ReviewCatalogue& catalogue = reviewCatalogue(d.block);
        lines.emplace_back(catalogue.heading);
        for (int q = 1; q <= blockInfo(d.block).questions; ++q) {
            lines.push_back(collapseBlanks(catalogue.label(q).caption));
            for (int k = 0; k < 4; ++k) {
                const std::size_t offset = offsetOf(d.block, q, k);
                const bool ticked = record.bytes[offset] != 0;
                if (ticked != (expectedAt(offset) == Expected::Ticked))
                    lines.push_back(std::string("Antwort ") + static_cast<char>('a' + k));
            }
            lines.emplace_back();
        }
    }

    QStringEncoder encoder("windows-1252");
    QByteArray bytes;
    for (const std::string& line : lines) {
        bytes += encoder.encode(QString::fromStdString(line));
        bytes += "\r\n";
    }
    if (encoder.hasError()) {
        std::fprintf(stderr, "a report line has no Windows-1252 form\n");
        return 1;
    }
    return writeFile(path, bytes) ? 0 : 1;
}

int jpegSize(const char* path)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 1;
    }
    const QByteArray data = file.readAll();
    auto byteAt = [&](qsizetype i) { return static_cast<unsigned char>(data.at(i)); };
    if (data.size() < 4 || byteAt(0) != 0xFF || byteAt(1) != 0xD8 || byteAt(data.size() - 2) != 0xFF
        || byteAt(data.size() - 1) != 0xD9) {
        std::fprintf(stderr, "%s is no complete JPEG file\n", path);
        return 1;
    }
    const int marker = firstFrameMarker(data);
    if (marker < 0) {
        std::fprintf(stderr, "%s has no frame header\n", path);
        return 1;
    }
    if (marker != 0xC0) {
        std::fprintf(stderr, "%s is not a baseline JPEG (frame marker FF%02X)\n", path, marker);
        return 1;
    }
    const JpegHeader header = readJpegHeader(data);
    if (header.components != 3) {
        std::fprintf(stderr, "%s has %d colour components, not 3\n", path, header.components);
        return 1;
    }
    std::printf("%dx%d\n", header.width, header.height);
    return 0;
}

// The screen is read until two readings in a row agree, so that a window that is still
// repainting after another one has left it is not caught half drawn.
int grab(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "no screen\n");
        return 1;
    }
    const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
    const int width = std::atoi(argv[4]), height = std::atoi(argv[5]);
    QImage previous;
    for (int attempt = 0; attempt < 50; ++attempt) {
        const QImage pixels = screen->grabWindow(0, x, y, width, height).toImage();
        if (pixels.isNull())
            break;
        if (pixels == previous) {
            if (!pixels.save(QString::fromLocal8Bit(argv[6]), "PNG"))
                break;
            return 0;
        }
        previous = pixels;
        QThread::msleep(100);
    }
    std::fprintf(stderr, "cannot read a settled screen into %s\n", argv[6]);
    return 1;
}

int compare(int argc, char** argv)
{
    QCoreApplication application(argc, argv);  // for the image format plugins
    const char* picturePath = argv[2];
    const char* screenPath = argv[3];
    const QImage picture
        = QImage(QString::fromLocal8Bit(picturePath)).convertToFormat(QImage::Format_RGB32);
    const QImage screen
        = QImage(QString::fromLocal8Bit(screenPath)).convertToFormat(QImage::Format_RGB32);
    if (picture.isNull() || screen.isNull()) {
        std::fprintf(stderr, "cannot decode %s or %s\n", picturePath, screenPath);
        return 1;
    }
    if (picture.size() != screen.size()) {
        std::fprintf(stderr, "sizes differ: %dx%d and %dx%d\n", picture.width(), picture.height(),
            screen.width(), screen.height());
        return 1;
    }
    double sum = 0;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            sum += std::abs(qRed(a[x]) - qRed(b[x])) + std::abs(qGreen(a[x]) - qGreen(b[x]))
                + std::abs(qBlue(a[x]) - qBlue(b[x]));
        }
    }
    const double mean = sum / (3.0 * picture.width() * picture.height());
    std::printf("%.2f\n", mean);
    return mean <= 4.0 ? 0 : 1;
}

int usage()
{
    std::fprintf(stderr,
        "usage: e2e_helper answer-file PATH [SIZE] | course FOLDER N | expected-report PATH\n"
        "       | jpeg-size PATH\n"
        "       | grab X Y W H PATH | compare JPEG PNG\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string mode = argv[1];
    if (mode == "answer-file")
        return answerFile(argv[2], argc > 3 ? std::atol(argv[3]) : static_cast<long>(kRecordSize));
    if (mode == "course" && argc == 4)
        return course(argv[2], std::atol(argv[3]));
    if (mode == "expected-report")
        return expectedReport(argv[2]);
    if (mode == "jpeg-size")
        return jpegSize(argv[2]);
    if (mode == "grab" && argc == 7)
        return grab(argc, argv);
    if (mode == "compare" && argc == 4)
        return compare(argc, argv);
    return usage();
}
