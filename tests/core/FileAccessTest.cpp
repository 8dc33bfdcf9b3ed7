// Loading the answer record and writing the report text file, on real files in a
// private temporary folder.

#include "AnswerRecord.h"
#include "ReportTextFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using namespace quendral;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder per test, removed with everything in it afterwards.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quendral-core-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << "errno " << errno;
        dir_ = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    std::string writeFile(const std::string& name, const Bytes& bytes) const
    {
        const std::string p = path(name);
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(out.good());
        return p;
    }

    static Bytes readFile(const std::string& p)
    {
        std::ifstream in(p, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static std::string readText(const std::string& p)
    {
        const Bytes b = readFile(p);
        return std::string(b.begin(), b.end());
    }

    // Every byte differs from its neighbours and from a plain counter.
    static Bytes pattern(std::size_t size)
    {
        Bytes b(size);
        for (std::size_t i = 0; i < size; ++i)
            b[i] = static_cast<std::uint8_t>(i * 7 + 3);
        return b;
    }

    // A record whose content is easy to tell from anything a load could put there.
    static AnswerRecord sentinelRecord()
    {
        AnswerRecord r;
        r.bytes.fill(0x5A);
        return r;
    }

    fs::path dir_;
};

// ---------------------------------------------------------------- answer record

struct SizeCase {
    std::size_t size;
    LoadStatus status;
};

void PrintTo(const SizeCase& c, std::ostream* os)
{
    *os << c.size << " bytes";
}

class LoadBySize : public TempDirTest, public ::testing::WithParamInterface<SizeCase> { };

TEST_P(LoadBySize, LoadsTheFirstRecordOrLeavesTheRecordAlone)
{
    const SizeCase c = GetParam();
    const Bytes content = pattern(c.size);
    const std::string file = writeFile("Quendral.dat", content);

    AnswerRecord record = sentinelRecord();
    const LoadResult result = loadAnswerRecord(file, record);

    EXPECT_EQ(result.status, c.status);
    if (c.status == LoadStatus::Loaded) {
        EXPECT_TRUE(result.ok());
        EXPECT_TRUE(std::equal(record.bytes.begin(), record.bytes.end(), content.begin()));
    } else {
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.osError, 0) << "a short file is no operating-system error";
        EXPECT_EQ(record.bytes, sentinelRecord().bytes);
    }
    EXPECT_EQ(readFile(file), content) << "the answer file must never be changed";
}

INSTANTIATE_TEST_SUITE_P(Sizes, LoadBySize,
    ::testing::Values(SizeCase{0, LoadStatus::TooShort}, SizeCase{1, LoadStatus::TooShort},
        SizeCase{394, LoadStatus::TooShort}, SizeCase{395, LoadStatus::Loaded},
        SizeCase{396, LoadStatus::Loaded}, SizeCase{10 * 395, LoadStatus::Loaded}),
    [](const auto& info) { return "Bytes" + std::to_string(info.param.size); });

using LoadAnswerFile = TempDirTest;

TEST_F(LoadAnswerFile, MissingFileFailsToOpenWithEnoent)
{
    AnswerRecord record = sentinelRecord();
    const LoadResult result = loadAnswerRecord(path("nicht-da.dat"), record);
    EXPECT_EQ(result.status, LoadStatus::OpenFailed);
    EXPECT_EQ(result.osError, ENOENT);
    EXPECT_EQ(record.bytes, sentinelRecord().bytes);
    EXPECT_FALSE(fs::exists(path("nicht-da.dat"))) << "the answer file is never created";
}

TEST_F(LoadAnswerFile, FolderInsteadOfFileFails)
{
    fs::create_directory(path("Quendral.dat"));
    AnswerRecord record = sentinelRecord();
    const LoadResult result = loadAnswerRecord(path("Quendral.dat"), record);
    EXPECT_TRUE(result.status == LoadStatus::ReadFailed || result.status == LoadStatus::OpenFailed);
    EXPECT_EQ(result.osError, EISDIR);
    EXPECT_EQ(record.bytes, sentinelRecord().bytes);
}

// Only a regular file is an answer file: a pipe nobody writes to, or a device, is refused at
// once, without waiting for data that never comes.
TEST_F(LoadAnswerFile, NamedPipeAndDeviceAreRefusedWithoutWaiting)
{
    ASSERT_EQ(::mkfifo(path("Quendral.dat").c_str(), 0600), 0);
    for (const std::string& file : {path("Quendral.dat"), std::string("/dev/zero")}) {
        AnswerRecord record = sentinelRecord();
        ::alarm(10);  // a hang is a failure, not a stuck test run
        const LoadResult result = loadAnswerRecord(file, record);
        ::alarm(0);
        EXPECT_EQ(result.status, LoadStatus::NotRegularFile) << file;
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(record.bytes, sentinelRecord().bytes) << file;
    }
}

TEST_F(LoadAnswerFile, ReadOnlyFileLoads)
{
    const Bytes content = pattern(395);
    const std::string file = writeFile("Quendral.dat", content);
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);

    AnswerRecord record;
    EXPECT_TRUE(loadAnswerRecord(file, record).ok());
    EXPECT_TRUE(std::equal(record.bytes.begin(), record.bytes.end(), content.begin()));
    EXPECT_EQ(readFile(file), content);
}

// The permission bits do not stop the superuser, but nobody may open a running program
// for writing (ETXTBSY): loading it proves that the file is opened for reading only.
TEST_F(LoadAnswerFile, FileThatNobodyMayWriteLoads)
{
    AnswerRecord record;
    const LoadResult result = loadAnswerRecord("/proc/self/exe", record);
    ASSERT_TRUE(result.ok()) << "errno " << result.osError;
    EXPECT_EQ(record.bytes[0], 0x7F);
    EXPECT_EQ(record.bytes[1], 'E');
    EXPECT_EQ(record.bytes[2], 'L');
    EXPECT_EQ(record.bytes[3], 'F');
}

TEST_F(LoadAnswerFile, LoadingKeepsTimestampAndSize)
{
    const std::string file = writeFile("Quendral.dat", pattern(400));
    const auto before = fs::last_write_time(file);
    AnswerRecord record;
    ASSERT_TRUE(loadAnswerRecord(file, record).ok());
    EXPECT_EQ(fs::file_size(file), 400u);
    EXPECT_EQ(fs::last_write_time(file), before);
}

// ---------------------------------------------------------------- report text file

using ReportFile = TempDirTest;

TEST_F(ReportFile, CreateReplacesAnExistingFile)
{
    const std::string file = writeFile("Quendral-Detail.txt", pattern(5000));
    ReportTextFile report;
    ASSERT_EQ(report.create(file), 0);
    EXPECT_TRUE(report.isOpen());
    ASSERT_EQ(report.writeLine("neu"), 0);
    ASSERT_EQ(report.close(), 0);
    EXPECT_FALSE(report.isOpen());
    EXPECT_EQ(readText(file), "neu\r\n");
}

TEST_F(ReportFile, LinesAreWrittenAsGivenEachEndedByCrLf)
{
    const std::string file = path("Quendral-Detail.txt");
    const std::vector<std::string> lines
        = {"Folgende Fragen sind bitte nochmals zu bedenken.", "", "3. Was kostet PM?", "Antwort c",
            "Fragen zu Kapitel 1: \xC3\x9C"
            "ber- und Einblick",
            "Auftraggeber-Auftragnehmer-Verh\xE4ltnis?", "  zwei  Blanks \t Tab  "};
    ReportTextFile report;
    ASSERT_EQ(report.create(file), 0);
    std::string expected;
    for (const std::string& line : lines) {
        ASSERT_EQ(report.writeLine(line), 0);
        expected += line + "\r\n";
    }
    ASSERT_EQ(report.close(), 0);
    EXPECT_EQ(readText(file), expected) << "no byte-order mark, nothing recoded, nothing trimmed";
}

TEST_F(ReportFile, EmbeddedZeroByteIsWritten)
{
    const std::string file = path("r.txt");
    ReportTextFile report;
    ASSERT_EQ(report.create(file), 0);
    ASSERT_EQ(report.writeLine(std::string_view("a\0b", 3)), 0);
    ASSERT_EQ(report.close(), 0);
    EXPECT_EQ(readText(file), std::string("a\0b\r\n", 5));
}

TEST_F(ReportFile, CreateInMissingFolderFailsWithEnoent)
{
    ReportTextFile report;
    EXPECT_EQ(report.create(path("fehlt/Quendral-Detail.txt")), ENOENT);
    EXPECT_FALSE(report.isOpen());
    EXPECT_NE(report.writeLine("x"), 0);
    EXPECT_EQ(report.close(), 0);
}

TEST_F(ReportFile, FullDiskIsReportedByWriteLine)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    ReportTextFile report;
    ASSERT_EQ(report.create("/dev/full"), 0);
    EXPECT_EQ(report.writeLine("Fragen zu Kapitel 1"), ENOSPC);
    EXPECT_EQ(report.writeLine(""), ENOSPC) << "an empty line still writes CR LF";
    EXPECT_EQ(report.close(), 0);
}

// The report's name leads to the answer file (a link, a second name): it is refused and the
// answer file keeps every byte. A pipe nobody reads is refused at once.
TEST_F(ReportFile, NameLeadingToTheAnswerFileIsRefused)
{
    const std::string answers = writeFile("Quendral.dat", pattern(395));
    ASSERT_EQ(::symlink("Quendral.dat", path("Quendral-Detail.txt").c_str()), 0);
    ASSERT_EQ(::link(answers.c_str(), path("zweiter-Name.txt").c_str()), 0);
    ASSERT_EQ(::mkfifo(path("leitung.txt").c_str(), 0600), 0);
    const std::optional<FileId> answerFile = fileIdOf(answers);
    ASSERT_TRUE(answerFile);

    for (const auto& [name, error] : {std::pair{"Quendral-Detail.txt", EPERM},
             std::pair{"zweiter-Name.txt", EPERM}, std::pair{"leitung.txt", ENXIO}}) {
        ReportTextFile report;
        ::alarm(10);
        EXPECT_EQ(report.create(path(name), std::span(&*answerFile, 1)), error) << name;
        ::alarm(0);
        EXPECT_FALSE(report.isOpen());
    }
    EXPECT_EQ(readFile(answers), pattern(395));
}

TEST_F(ReportFile, WriteLineOnClosedFileFails)
{
    ReportTextFile never;
    EXPECT_EQ(never.writeLine("x"), EBADF);

    const std::string file = path("r.txt");
    ReportTextFile report;
    ASSERT_EQ(report.create(file), 0);
    ASSERT_EQ(report.writeLine("eins"), 0);
    ASSERT_EQ(report.close(), 0);
    EXPECT_EQ(report.writeLine("zwei"), EBADF);
    EXPECT_EQ(report.close(), 0) << "closing twice is harmless";
    EXPECT_EQ(readText(file), "eins\r\n");
}

TEST_F(ReportFile, SecondCreateClosesTheFirstFile)
{
    ReportTextFile report;
    ASSERT_EQ(report.create(path("a.txt")), 0);
    ASSERT_EQ(report.writeLine("a"), 0);
    ASSERT_EQ(report.create(path("b.txt")), 0);
    ASSERT_EQ(report.writeLine("b"), 0);
    ASSERT_EQ(report.close(), 0);
    EXPECT_EQ(readText(path("a.txt")), "a\r\n");
    EXPECT_EQ(readText(path("b.txt")), "b\r\n");
}

}  // namespace
