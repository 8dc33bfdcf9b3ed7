// The course folder's scans: after every kind of change the course it makes is the course
// quendral-batch loads from the folder afresh, a scan that finds nothing new says so (the
// window then keeps its tables as they are), and a cancelled scan loses nothing.

#include "AnswerRecords.h"
#include "CourseFolder.h"

#include "AnswerFiles.h"
#include "Course.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace quendral;
using quendral::course::CourseFolder;
namespace fs = std::filesystem;

namespace {

class CourseFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "kurs-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        std::mt19937 rng(7);
        for (int i = 1; i <= 5; ++i) {
            AnswerRecord record = test::randomRecord(rng);
            test::setDone(record, {1, 2, 6});
            write("t" + std::to_string(i) + ".dat", record);
        }
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return folder_ + "/" + name; }
    void write(const std::string& name, const AnswerRecord& record, std::size_t size = kRecordSize,
        std::ios::openmode mode = std::ios::trunc) const
    {
        std::ofstream(path(name), std::ios::binary | std::ios::out | mode)
            .write(reinterpret_cast<const char*>(record.bytes.data()), std::streamsize(size));
    }

    // What quendral-batch makes of the folder as it is now.
    batch::Course batchCourse() const
    {
        return batch::loadCourse({folder_}, batch::collectAnswerFiles({folder_}));
    }

    static void expectSameCourse(const batch::Course& shown, const batch::Course& expected)
    {
        EXPECT_EQ(shown.sources, expected.sources);
        EXPECT_EQ(shown.paths, expected.paths);
        ASSERT_EQ(shown.records.size(), expected.records.size());
        for (std::size_t i = 0; i < shown.records.size(); ++i)
            EXPECT_EQ(shown.records[i].bytes, expected.records[i].bytes) << shown.paths[i];
        ASSERT_EQ(shown.unreadable.size(), expected.unreadable.size());
        for (std::size_t i = 0; i < shown.unreadable.size(); ++i) {
            EXPECT_EQ(shown.unreadable[i].path, expected.unreadable[i].path);
            EXPECT_EQ(shown.unreadable[i].reason, expected.unreadable[i].reason);
        }
        EXPECT_EQ(shown.folderProblems, expected.folderProblems);
        EXPECT_EQ(
            shown.statistics.block(2).participants, expected.statistics.block(2).participants);
        EXPECT_EQ(shown.statistics.block(2).mean, expected.statistics.block(2).mean);
    }

    std::string folder_;
};

TEST_F(CourseFolderTest, FirstScanGivesTheBatchToolsCourseAndASecondFindsNothingNew)
{
    CourseFolder folder(folder_);
    EXPECT_EQ(folder.scan(), CourseFolder::Scan::Changed);
    expectSameCourse(folder.course(), batchCourse());
    EXPECT_EQ(folder.files().size(), 5u);
    EXPECT_EQ(folder.scan(), CourseFolder::Scan::Unchanged);
    // Files that are no answer files do not count.
    std::ofstream(path("notizen.txt")) << "x";
    EXPECT_EQ(folder.scan(), CourseFolder::Scan::Unchanged);
}

TEST_F(CourseFolderTest, EveryChangeToTheFolderShowsInItsCourse)
{
    AnswerRecord other;
    test::fillBlock(other, 4, test::Fill::Key);
    test::setDone(other, {4});
    const struct {
        const char* change;
        std::function<void()> apply;
    } changes[] = {
        {"added", [&] { write("neu.dat", other); }},
        {"rewritten in place, same size", [&] { write("t1.dat", other); }},
        {"cut short while written", [&] { write("t2.dat", other, 100); }},
        {"completed",
            [&] {
                AnswerRecord rest = other;
                std::rotate(rest.bytes.begin(), rest.bytes.begin() + 100, rest.bytes.end());
                write("t2.dat", rest, kRecordSize - 100, std::ios::app);
            }},
        {"replaced by a rename",
            [&] {
                write("stage.tmp", other);
                fs::rename(path("stage.tmp"), path("t3.dat"));
            }},
        {"unreadable: a named pipe",
            [&] {
                fs::remove(path("t4.dat"));
                ASSERT_EQ(::mkfifo(path("t4.dat").c_str(), 0600), 0);
            }},
        {"a second name of one file", [&] { fs::create_symlink("t5.dat", path("t6.dat")); }},
        {"removed", [&] { fs::remove(path("t5.dat")); }},
    };
    CourseFolder folder(folder_);
    ASSERT_EQ(folder.scan(), CourseFolder::Scan::Changed);
    for (const auto& [change, apply] : changes) {
        SCOPED_TRACE(change);
        apply();
        EXPECT_EQ(folder.scan(), CourseFolder::Scan::Changed);
        expectSameCourse(folder.course(), batchCourse());
        EXPECT_EQ(folder.scan(), CourseFolder::Scan::Unchanged);
    }
}

TEST_F(CourseFolderTest, ChangesReadByACancelledScanShowAtTheNext)
{
    // Enough files for the scan to tell its progress more than once.
    for (int i = 6; i <= 100; ++i)
        write("t" + std::to_string(i) + ".dat", AnswerRecord{});
    CourseFolder folder(folder_);
    ASSERT_EQ(folder.scan(), CourseFolder::Scan::Changed);
    const std::vector<std::string> before = folder.files();

    AnswerRecord other;
    test::setDone(other, {3});
    write("t1.dat", other);
    write("neu.dat", other);
    // Stopped when it tells its progress the second time, after t1.dat has been read again.
    int told = 0;
    EXPECT_EQ(folder.scan([&](std::size_t, std::size_t) { return told++ == 0; }),
        CourseFolder::Scan::Cancelled);
    EXPECT_EQ(folder.files(), before);

    EXPECT_EQ(folder.scan(), CourseFolder::Scan::Changed);
    expectSameCourse(folder.course(), batchCourse());
}

TEST_F(CourseFolderTest, FolderThatGoesAwayIsTold)
{
    CourseFolder folder(folder_);
    ASSERT_EQ(folder.scan(), CourseFolder::Scan::Changed);
    fs::remove_all(folder_);
    EXPECT_EQ(folder.scan(), CourseFolder::Scan::Changed);
    // As the batch tool has it: a path that is no folder names a file, which is not there.
    const batch::Course course = folder.course();
    expectSameCourse(course, batchCourse());
    EXPECT_TRUE(course.records.empty());
    ASSERT_EQ(course.unreadable.size(), 1u);
    EXPECT_EQ(course.unreadable[0].reason, "nicht vorhanden");
}

TEST_F(CourseFolderTest, EmptyFolderIsShownOnce)
{
    fs::remove_all(folder_);
    fs::create_directory(folder_);
    CourseFolder folder(folder_);
    EXPECT_EQ(folder.scan(), CourseFolder::Scan::Changed);
    EXPECT_TRUE(folder.course().records.empty());
    EXPECT_EQ(folder.scan(), CourseFolder::Scan::Unchanged);
}

}  // namespace
