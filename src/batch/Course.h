#pragma once

// A course: the answer files named for one run or found in one folder, each file loaded
// once, and what came of them. The tables, the printed course report and the course window
// are all made from this one model.

#include "AnswerFiles.h"
#include "AnswerRecord.h"
#include "CourseStatistics.h"

#include <functional>
#include <string>
#include <vector>

namespace quendral::batch {

// The names the outputs of a course go by when a program chooses them (the manual's example
// uses them too): the results table, the item analysis, the block table, the course report.
inline constexpr const char* kResultsFileName = "ergebnis.csv";
inline constexpr const char* kItemsFileName = "fragen.csv";
inline constexpr const char* kBlocksFileName = "bloecke.csv";
inline constexpr const char* kCourseReportFileName = "kursbericht.pdf";

struct UnreadableFile {
    std::string path;
    std::string reason;  // German: "kürzer als 395 Bytes", "nicht vorhanden", ...
};

struct Course {
    std::vector<std::string> sources;  // the files and folders evaluated, as given
    std::vector<std::string> paths;  // one per participant, in results-table order
    std::vector<AnswerRecord> records;  // alongside `paths`
    std::vector<UnreadableFile> unreadable;  // in the order they were met
    std::vector<std::string> folderProblems;  // German, one per folder not listed
    CourseStatistics statistics;  // of `records`, in the scope it was loaded with
};

struct CourseLoading {
    // One German line for the user: a folder not listed, a file not loaded, a file named
    // twice and passed over.
    std::function<void(const std::string& message)> notice;
    // Each participant as it is loaded, before the next file is read.
    std::function<void(const std::string& path, const AnswerRecord& record)> loaded;
    // Reads one file, as loadAnswerRecord does (which is used when this is not given); the
    // course window serves the files it has read before and that have not changed.
    std::function<LoadResult(const std::string& path, AnswerRecord& record)> load;
};

// Loads every file of `files` once (a file met again under any name is passed over) and
// computes the statistics. `sources` are the paths `files` was collected from.
Course loadCourse(std::vector<std::string> sources, const AnswerFiles& files,
    const CourseLoading& hooks = {}, StatisticsScope scope = StatisticsScope::Full);

// Why a file did not load, in German.
std::string loadProblem(const LoadResult& result);

}  // namespace quendral::batch
