#include "CourseFiles.h"

#include "AnswerFiles.h"
#include "AtomicFile.h"
#include "BlockTable.h"
#include "CommandLine.h"
#include "FileIdentity.h"
#include "ItemAnalysis.h"
#include "ResultsTable.h"

#include <cerrno>
#include <vector>

namespace quendral::course {

namespace {

// The folder's answer files as they are now, not as last shown: one may have come since.
std::vector<FileId> answerFileIds(const std::string& folder)
{
    std::vector<FileId> ids;
    for (const std::string& file : batch::collectAnswerFiles({folder}).files) {
        if (const auto id = fileIdOf(file))
            ids.push_back(*id);
    }
    return ids;
}

}  // namespace

SaveResult saveCourseFile(
    const std::string& path, const std::string& bytes, const std::string& folder)
{
    const std::vector<FileId> answers = answerFileIds(folder);
    if (leadsToOneOf(path, answers))
        return {SaveResult::Status::AnswerFile, EPERM};
    const WriteResult written = writeFileAtomically(path, bytes.data(), bytes.size(), answers);
    if (!written.ok())
        return {SaveResult::Status::Failed, written.osError};
    return {};
}

std::array<TableFile, 3> courseTables(const batch::Course& course)
{
    // The batch tool's names of its tables, in messages and as files.
    const auto outputs = batch::BatchOptions{}.outputs();
    auto file = [&](std::size_t output, const char* name, std::string bytes) {
        return TableFile{name, outputs[output].what, std::move(bytes)};
    };
    return {file(0, batch::kResultsFileName, batch::csvBytes(batch::ResultsTable(course))),
        file(1, batch::kItemsFileName, batch::csvBytes(batch::ItemAnalysis(course.statistics))),
        file(2, batch::kBlocksFileName, batch::csvBytes(batch::BlockTable(course.statistics)))};
}

}  // namespace quendral::course
