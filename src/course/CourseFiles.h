#pragma once

// What the course window writes: the course report and the three tables, as quendral-batch
// writes them. Each file replaces an earlier one only once it is complete, and none is ever
// written over an answer file of the course's folder, under whatever name leads to it.

#include "Course.h"

#include <array>
#include <string>

namespace quendral::course {

struct SaveResult {
    enum class Status { Saved, AnswerFile, Failed };
    Status status = Status::Saved;
    int osError = 0;  // for Failed
    bool ok() const { return status == Status::Saved; }
};

// Writes `bytes` as the file `path`, unless it leads to one of the answer files now in
// `folder`.
SaveResult saveCourseFile(
    const std::string& path, const std::string& bytes, const std::string& folder);

struct TableFile {
    std::string name;  // "ergebnis.csv"
    std::string what;  // "Ergebnistabelle", as messages name it
    std::string bytes;
};

// The results table, the item analysis and the block table, named as the batch tool names
// them, in its CSV format.
std::array<TableFile, 3> courseTables(const batch::Course& course);

}  // namespace quendral::course
