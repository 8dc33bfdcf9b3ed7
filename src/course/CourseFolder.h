#pragma once

// The answer files of one folder as last read. Per file it keeps what the file system says
// of it (size, modification and change time, inode) and what loading it gave; a new scan
// lists the folder again and reads only the files whose entry has changed, so that a large
// folder costs one look at each file when one of them changes. The course is then made from
// the kept records exactly as the batch tool makes it from the folder.
//
// Not thread-safe: one scan at a time, and nothing else while it runs (the course window
// hands the folder to its worker thread and takes it back afterwards).

#include "AnswerFiles.h"
#include "AnswerRecord.h"
#include "Course.h"

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include <sys/types.h>

namespace quendral::course {

class CourseFolder {
public:
    explicit CourseFolder(std::string folder) : folder_(std::move(folder)) { }

    const std::string& folder() const { return folder_; }

    enum class Scan { Unchanged, Changed, Cancelled };
    // Told how far the scan is (files looked at, of how many); returns false to stop it.
    using Progress = std::function<bool(std::size_t done, std::size_t total)>;

    // Lists the folder and reads every answer file that is new or has changed since the
    // last scan. A cancelled scan keeps what it read, and counts as no scan otherwise.
    Scan scan(const Progress& progress = {});

    // The course, as quendral-batch makes it of this folder, after a complete scan.
    batch::Course course() const;
    // The answer files of the last complete scan, in name order.
    const std::vector<std::string>& files() const { return files_.files; }

private:
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        mode_t mode = 0;
        off_t size = 0;
        timespec modified{};
        timespec changed{};
        bool operator==(const Stamp& other) const;
    };
    struct Entry {
        bool stamped = false;  // false: the file could not be looked at
        Stamp stamp;
        LoadResult result;
        AnswerRecord record;
    };
    static bool stampOf(const std::string& path, Stamp& stamp);

    std::string folder_;
    batch::AnswerFiles files_;
    std::unordered_map<std::string, Entry> entries_;
    bool scanned_ = false;  // a scan has completed
    bool unshown_ = false;  // read since the last complete scan
};

}  // namespace quendral::course
