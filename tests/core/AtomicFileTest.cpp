// Writing a whole file through a temporary file beside it, on real files in a private
// temporary folder: what a reader finds after success and after each kind of failure.

#include "FileSizeLimit.h"

#include "AtomicFile.h"
#include "WriteAll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace quendral;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Step = WriteResult::Step;

const char* stepName(Step step)
{
    switch (step) {
    case Step::None:
        return "None";
    case Step::Create:
        return "Create";
    case Step::Write:
        return "Write";
    case Step::Replace:
        return "Replace";
    }
    return "?";
}

// Every byte differs from its neighbours; `seed` tells two contents apart.
Bytes pattern(std::size_t size, unsigned seed = 3)
{
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i)
        b[i] = static_cast<std::uint8_t>(i * 7 + seed);
    return b;
}

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string folder = (fs::temp_directory_path() / "quendral-atomic-XXXXXX").string();
        ASSERT_NE(::mkdtemp(folder.data()), nullptr) << "errno " << errno;
        dir_ = folder;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    void writePlain(const std::string& p, const Bytes& bytes) const
    {
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << p;
    }

    static Bytes readFile(const std::string& p)
    {
        std::ifstream in(p, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The names in a folder, sorted: shows any temporary file left behind.
    static std::vector<std::string> entries(const fs::path& folder)
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& e : fs::directory_iterator(folder))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static WriteResult write(const std::string& p, const Bytes& bytes)
    {
        return writeFileAtomically(p, bytes.data(), bytes.size());
    }

    fs::path dir_;
};

// ---------------------------------------------------------------- success

class WritesWholeFile : public AtomicFileTest,
                        public ::testing::WithParamInterface<std::size_t> { };

TEST_P(WritesWholeFile, NewFileHoldsExactlyTheBytes)
{
    const Bytes content = pattern(GetParam());
    const WriteResult result = write(path("Quendral.jpg"), content);
    EXPECT_TRUE(result.ok()) << stepName(result.failedStep) << " errno " << result.osError;
    EXPECT_EQ(readFile(path("Quendral.jpg")), content);
    EXPECT_EQ(entries(dir_), std::vector<std::string>{"Quendral.jpg"});
}

TEST_P(WritesWholeFile, ReplacesAnEarlierFile)
{
    writePlain(path("Quendral.jpg"), pattern(3000, 99));
    const Bytes content = pattern(GetParam());
    EXPECT_TRUE(write(path("Quendral.jpg"), content).ok());
    EXPECT_EQ(readFile(path("Quendral.jpg")), content);
    EXPECT_EQ(entries(dir_), std::vector<std::string>{"Quendral.jpg"});
}

INSTANTIATE_TEST_SUITE_P(Sizes, WritesWholeFile,
    ::testing::Values(std::size_t(0), std::size_t(1), std::size_t(4096), std::size_t(1) << 20));

// The temporary file is made for its owner only; the finished file is an ordinary one.
class NewFileMode : public AtomicFileTest, public ::testing::WithParamInterface<mode_t> { };

TEST_P(NewFileMode, FollowsTheUmask)
{
    const mode_t mask = GetParam();
    const mode_t before = ::umask(mask);
    const WriteResult result = write(path("Quendral.jpg"), pattern(10));
    ::umask(before);
    ASSERT_TRUE(result.ok());
    struct stat info { };
    ASSERT_EQ(::stat(path("Quendral.jpg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, NewFileMode, ::testing::Values(mode_t(022), mode_t(002), mode_t(077)));

// A name as long as a file name may be must not fail because of the temporary file.
struct LongName {
    const char* tag;
    std::string name;
};

void PrintTo(const LongName& c, std::ostream* os)
{
    *os << c.tag;
}

class LongestName : public AtomicFileTest, public ::testing::WithParamInterface<LongName> { };

TEST_P(LongestName, IsWritten)
{
    const std::string& name = GetParam().name;
    ASSERT_EQ(name.size(), 255u);
    const Bytes content = pattern(5000);
    const WriteResult result = write(path(name), content);
    EXPECT_TRUE(result.ok()) << stepName(result.failedStep) << " errno " << result.osError;
    EXPECT_EQ(readFile(path(name)), content);
    EXPECT_EQ(entries(dir_), std::vector<std::string>{name});
}

std::string repeated(const std::string& piece, int count)
{
    std::string s;
    for (int i = 0; i < count; ++i)
        s += piece;
    return s;
}

INSTANTIATE_TEST_SUITE_P(Names, LongestName,
    ::testing::Values(LongName{"ascii", std::string(251, 'q') + ".jpg"},
        // 255 bytes whose cut for the temporary name falls inside a two-byte "ä"
        LongName{"utf8", "x" + repeated("\xC3\xA4", 125) + ".jpg"}),
    [](const ::testing::TestParamInfo<LongName>& info) { return std::string(info.param.tag); });

// ---------------------------------------------------------------- failures

struct Obstacle {
    const char* tag;
    std::string target;  // relative to the test folder
    Step step;
    std::vector<int> errors;  // any of these is the operating system's honest answer
};

void PrintTo(const Obstacle& c, std::ostream* os)
{
    *os << c.tag;
}

class FailsWithoutTrace : public AtomicFileTest, public ::testing::WithParamInterface<Obstacle> { };

TEST_P(FailsWithoutTrace, ReportsTheStepAndLeavesNothingBehind)
{
    const Obstacle& c = GetParam();
    // The target folder, or a folder in the target's place, holding a file that must stay.
    fs::create_directory(dir_ / "Quendral.jpg");
    writePlain(path("Quendral.jpg/inner.txt"), pattern(100, 42));
    const std::vector<std::string> before = entries(dir_);

    const WriteResult result = write(path(c.target), pattern(2000));

    EXPECT_EQ(result.failedStep, c.step) << stepName(result.failedStep);
    EXPECT_NE(std::find(c.errors.begin(), c.errors.end(), result.osError), c.errors.end())
        << "errno " << result.osError;
    EXPECT_EQ(entries(dir_), before);
    EXPECT_EQ(entries(dir_ / "Quendral.jpg"), std::vector<std::string>{"inner.txt"});
    EXPECT_EQ(readFile(path("Quendral.jpg/inner.txt")), pattern(100, 42));
}

INSTANTIATE_TEST_SUITE_P(Obstacles, FailsWithoutTrace,
    ::testing::Values(Obstacle{"missingFolder", "fehlt/Quendral.jpg", Step::Create, {ENOENT}},
        Obstacle{"folderIsAFile", "Quendral.jpg/inner.txt/Quendral.jpg", Step::Create, {ENOTDIR}},
        Obstacle{
            "targetIsNonEmptyFolder", "Quendral.jpg", Step::Replace, {EISDIR, ENOTEMPTY, EEXIST}}),
    [](const ::testing::TestParamInfo<Obstacle>& info) { return std::string(info.param.tag); });

// A write that stops short: the file size limit makes the kernel refuse the bytes past it,
// as a full disk would. The limit is set in a child process, so the test run keeps its own.
class ShortWrite : public AtomicFileTest, public ::testing::WithParamInterface<rlim_t> { };

TEST_P(ShortWrite, KeepsTheEarlierFile)
{
    const Bytes earlier = pattern(3000, 99);
    writePlain(path("Quendral.jpg"), earlier);
    const std::string target = path("Quendral.jpg");
    const Bytes content = pattern(100000);

    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(channel[0]);
        const quendral::test::FileSizeLimit limit(GetParam());
        const WriteResult r = writeFileAtomically(target, content.data(), content.size());
        const int report[2] = {static_cast<int>(r.failedStep), r.osError};
        const bool sent = ::write(channel[1], report, sizeof report) == sizeof report;
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    int report[2] = {-1, -1};
    const ssize_t got = ::read(channel[0], report, sizeof report);
    ::close(channel[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    ASSERT_EQ(got, static_cast<ssize_t>(sizeof report));

    EXPECT_EQ(static_cast<Step>(report[0]), Step::Write) << stepName(static_cast<Step>(report[0]));
    EXPECT_EQ(report[1], EFBIG);
    EXPECT_EQ(readFile(target), earlier);
    EXPECT_EQ(entries(dir_), std::vector<std::string>{"Quendral.jpg"});
}

// 0: the first write fails; 4096: the first write is cut short, the next one fails.
INSTANTIATE_TEST_SUITE_P(Limits, ShortWrite, ::testing::Values(rlim_t(0), rlim_t(4096)));

// File permissions stop only users other than root.
TEST_F(AtomicFileTest, WriteProtectedFolderKeepsTheEarlierFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into write-protected folders";
    const Bytes earlier = pattern(3000, 99);
    writePlain(path("Quendral.jpg"), earlier);
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);

    const WriteResult result = write(path("Quendral.jpg"), pattern(2000));

    fs::permissions(dir_, fs::perms::owner_all);
    EXPECT_EQ(result.failedStep, Step::Create) << stepName(result.failedStep);
    EXPECT_EQ(result.osError, EACCES);
    EXPECT_EQ(readFile(path("Quendral.jpg")), earlier);
    EXPECT_EQ(entries(dir_), std::vector<std::string>{"Quendral.jpg"});
}

// ---------------------------------------------------------------- what the name leads to

// The target's name leads to something else than a plain file of its own. Only a regular
// file is replaced; a device takes the bytes in place; a link stays a link; a pipe nobody
// reads is refused at once; a protected file (the answer file) is never written.
struct Lead {
    const char* tag;
    std::function<void(const fs::path& dir)> prepare;
    Step step;
    int error;
    std::function<void(const fs::path& dir)> check;
};

void PrintTo(const Lead& c, std::ostream* os)
{
    *os << c.tag;
}

class TargetLeadsElsewhere : public AtomicFileTest, public ::testing::WithParamInterface<Lead> { };

TEST_P(TargetLeadsElsewhere, IsWrittenWhereItLeadsOrRefused)
{
    const Lead& c = GetParam();
    {
        std::ofstream answers(dir_ / "Quendral.dat", std::ios::binary);
        answers << "die Antworten";
    }
    c.prepare(dir_);
    const std::vector<std::string> before = entries(dir_);
    const std::optional<FileId> answerFile = fileIdOf((dir_ / "Quendral.dat").string());
    ASSERT_TRUE(answerFile);

    // A hang here is a failure, not a stuck test run.
    ::alarm(10);
    const WriteResult result
        = writeFileAtomically(path("Quendral.jpg"), "neu", 3, std::span(&*answerFile, 1));
    ::alarm(0);

    EXPECT_EQ(result.failedStep, c.step) << stepName(result.failedStep);
    EXPECT_EQ(result.osError, c.error);
    EXPECT_EQ(entries(dir_), before) << "nothing added, nothing taken away";
    const Bytes answers = readFile(path("Quendral.dat"));
    EXPECT_EQ(std::string(answers.begin(), answers.end()), "die Antworten");
    if (c.check)
        c.check(dir_);
}

bool isCharacterDevice(const char* path)
{
    struct stat info { };
    return ::stat(path, &info) == 0 && S_ISCHR(info.st_mode);
}

INSTANTIATE_TEST_SUITE_P(Leads, TargetLeadsElsewhere,
    ::testing::Values(
        Lead{"linkToNullDevice",
            [](const fs::path& d) { fs::create_symlink("/dev/null", d / "Quendral.jpg"); },
            Step::None, 0,
            [](const fs::path& d) {
                EXPECT_TRUE(fs::is_symlink(d / "Quendral.jpg"));
                EXPECT_TRUE(isCharacterDevice("/dev/null"));
            }},
        Lead{"linkToFullDevice",
            [](const fs::path& d) { fs::create_symlink("/dev/full", d / "Quendral.jpg"); },
            Step::Write, ENOSPC,
            [](const fs::path&) { EXPECT_TRUE(isCharacterDevice("/dev/full")); }},
        Lead{"pipeNobodyReads",
            [](const fs::path& d) { ASSERT_EQ(::mkfifo((d / "Quendral.jpg").c_str(), 0600), 0); },
            Step::Create, ENXIO, {}},
        Lead{"linkToAnswerFile",
            [](const fs::path& d) { fs::create_symlink("Quendral.dat", d / "Quendral.jpg"); },
            Step::Create, EPERM, {}},
        Lead{"secondNameOfAnswerFile",
            [](const fs::path& d) { fs::create_hard_link(d / "Quendral.dat", d / "Quendral.jpg"); },
            Step::Create, EPERM, {}},
        Lead{"danglingLink",
            [](const fs::path& d) { fs::create_symlink("weg/bild.jpg", d / "Quendral.jpg"); },
            Step::Create, ENOENT,
            [](const fs::path& d) { EXPECT_TRUE(fs::is_symlink(d / "Quendral.jpg")); }},
        Lead{"linkToFileElsewhere",
            [](const fs::path& d) {
                fs::create_directory(d / "Bilder");
                std::ofstream(d / "Bilder/alt.jpg") << "alt";
                fs::create_symlink("Bilder/alt.jpg", d / "Quendral.jpg");
            },
            Step::None, 0,
            [](const fs::path& d) {
                EXPECT_TRUE(fs::is_symlink(d / "Quendral.jpg"));
                std::ifstream in(d / "Bilder/alt.jpg");
                EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "neu");
                std::vector<std::string> names;
                for (const auto& e : fs::directory_iterator(d / "Bilder"))
                    names.push_back(e.path().filename().string());
                EXPECT_EQ(names, std::vector<std::string>{"alt.jpg"});
            }}),
    [](const ::testing::TestParamInfo<Lead>& info) { return std::string(info.param.tag); });

TEST_F(AtomicFileTest, PipeWithReaderGetsTheBytes)
{
    const std::string fifo = path("Quendral.jpg");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const Bytes content = pattern(1000);
    ::alarm(10);
    const WriteResult result = write(fifo, content);
    ::alarm(0);
    EXPECT_TRUE(result.ok()) << stepName(result.failedStep) << " errno " << result.osError;
    Bytes got(2000);
    const ssize_t n = ::read(reader, got.data(), got.size());
    ::close(reader);
    ASSERT_EQ(n, 1000);
    got.resize(1000);
    EXPECT_EQ(got, content);
    struct stat info { };
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the pipe is never replaced";
}

// A path as long as a path may be but for a few bytes: the target fits, so the temporary
// file must fit too.
TEST_F(AtomicFileTest, LongestPathIsWritten)
{
    fs::path folder = dir_;
    const std::string piece(200, 'o');
    const std::size_t target = 4090 - std::string("/Quendral.jpg").size();
    while (folder.string().size() + 1 + piece.size() <= target)
        folder /= piece;
    folder /= std::string(target - folder.string().size() - 1, 'p');
    fs::create_directories(folder);
    const std::string file = (folder / "Quendral.jpg").string();
    ASSERT_EQ(file.size(), 4090u);

    const Bytes content = pattern(5000);
    const WriteResult result = write(file, content);
    EXPECT_TRUE(result.ok()) << stepName(result.failedStep) << " errno " << result.osError;
    EXPECT_EQ(readFile(file), content);
    EXPECT_EQ(entries(folder), std::vector<std::string>{"Quendral.jpg"});
}

// After ignoreWriteSignals() a write past the file size limit fails with EFBIG and a write
// into a pipe nobody reads with EPIPE, where they would have ended the program.
TEST(WriteSignals, BecomeErrorNumbers)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        std::signal(SIGPIPE, SIG_DFL);
        ignoreWriteSignals();
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string name = (fs::temp_directory_path() / "quendral-signal-XXXXXX").string();
        const int file = ::mkstemp(name.data());
        ::unlink(name.c_str());
        const int tooBig = writeAll(file, "x", 1);
        int channel[2];
        ::pipe(channel);
        ::close(channel[0]);
        const int broken = writeAll(channel[1], "x", 1);
        ::_exit(tooBig == EFBIG && broken == EPIPE ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
