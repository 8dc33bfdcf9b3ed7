#include "BatchRun.h"

#include "AnswerFiles.h"
#include "AtomicFile.h"
#include "BlockTable.h"
#include "Course.h"
#include "FileNames.h"
#include "ItemAnalysis.h"
#include "OsErrorText.h"
#include "PlainText.h"
#include "ReportWriter.h"
#include "ResultsTable.h"
#include "WriteAll.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace quendral::batch {

namespace {

void tell(int errFd, const std::string& message)
{
    const std::string line = oneLine("quendral-batch: " + message) + "\n";
    writeAll(errFd, line.data(), line.size());
}

// The answer files as files. A report is written into the file its name leads to, so it
// must not lead to an answer file under any name (a link, a report name that happens to be
// an answer file's).
class AnswerFileIds {
public:
    explicit AnswerFileIds(const std::vector<std::string>& files)
    {
        ids_.reserve(files.size());
        for (const std::string& file : files) {
            if (const auto id = fileIdOf(file))
                ids_.push_back(*id);
        }
        std::sort(ids_.begin(), ids_.end());
    }

    bool contains(const std::string& path) const
    {
        const auto id = fileIdOf(path);
        return id && std::binary_search(ids_.begin(), ids_.end(), *id);
    }

private:
    std::vector<FileId> ids_;
};

std::string resolvedPath(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return {};
    std::string result(resolved);
    std::free(resolved);
    return result;
}

// The name as its folder holds it: the folder with links resolved, the last part as given.
std::string entryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder
        = slash == std::string::npos ? "." : path.substr(0, std::max<std::size_t>(slash, 1));
    std::string entry = resolvedPath(folder);
    if (entry.empty())
        return {};
    if (!entry.ends_with('/'))
        entry += '/';
    return entry + path.substr(slash == std::string::npos ? 0 : slash + 1);
}

// A table replaces the file of its name as a whole (a new file takes the name). That loses
// an answer file when the name is an answer file's, or the file an answer file's link leads
// to; a link as the table's name is refused too. A plain file of a listed folder is compared
// by its name, so a course of many files costs no look at each of them.
bool replacesAnswerFile(const std::string& output, const AnswerFiles& inputs)
{
    struct stat info { };
    if (::lstat(output.c_str(), &info) != 0)
        return false;  // nothing there yet that could be lost
    const std::string targets[2] = {entryOf(output), resolvedPath(output)};
    auto isTarget = [&](std::string_view path) {
        return std::any_of(std::begin(targets), std::end(targets),
            [&](const std::string& target) { return !target.empty() && target == path; });
    };

    std::vector<std::optional<std::string>> resolvedFolders(inputs.folders.size());
    std::string candidate;
    for (std::size_t i = 0; i < inputs.files.size(); ++i) {
        const std::string& file = inputs.files[i];
        if (const int folder = inputs.listedIn[i]; folder >= 0) {
            std::optional<std::string>& resolved
                = resolvedFolders[static_cast<std::size_t>(folder)];
            const std::string& given = inputs.folders[static_cast<std::size_t>(folder)];
            if (!resolved) {
                resolved = resolvedPath(given);
                if (!resolved->empty() && !resolved->ends_with('/'))
                    *resolved += '/';
            }
            if (resolved->empty())
                continue;  // the folder is gone: nothing of it can be replaced
            candidate.assign(*resolved).append(file, given.size());
            if (isTarget(candidate))
                return true;
        } else if (isTarget(entryOf(file)) || isTarget(resolvedPath(file))) {
            return true;
        }
    }
    return false;
}

// Replaces the table's file in one step; a failure is told on stderr, naming the file.
bool saveTable(
    int errFd, const std::string& what, const std::string& path, const std::string& bytes)
{
    const WriteResult written = writeFileAtomically(path, bytes.data(), bytes.size());
    if (!written.ok())
        tell(errFd,
            what + " lässt sich nicht schreiben: " + path + " (" + osErrorText(written.osError)
                + ")");
    return written.ok();
}

// Two outputs under one name would leave only the one written last.
bool sameFile(const std::string& a, const std::string& b)
{
    const std::string entry = entryOf(a);
    const auto id = fileIdOf(a);
    return (!entry.empty() && entry == entryOf(b)) || (id && id == fileIdOf(b));
}

// Hands an output over: to standard output for "-" (and for the results table without a
// file), else as the file's new content in one step. A failure is told on stderr.
bool deliver(int outFd, int errFd, const BatchOptions::Output& output, const std::string& bytes)
{
    const std::string& path = *output.file;
    const std::string what = output.what;
    if (path.empty() || path == kStandardOutput) {
        const int error = writeAll(outFd, bytes.data(), bytes.size());
        if (error)
            tell(errFd, what + " lässt sich nicht ausgeben (" + osErrorText(error) + ")");
        return error == 0;
    }
    return saveTable(errFd, what, path, bytes);
}

}  // namespace

int runBatch(const BatchOptions& options, int outFd, int errFd, const CoursePdfMaker& makePdf)
{
    const AnswerFiles answerFiles = collectAnswerFiles(options.paths);

    // Checked before anything is read: an output must never take an answer file's place.
    const auto outputs = options.outputs();
    auto isFile = [](const BatchOptions::Output& output) {
        return !output.file->empty() && *output.file != kStandardOutput;
    };
    for (const BatchOptions::Output& output : outputs) {
        if (isFile(output) && replacesAnswerFile(*output.file, answerFiles)) {
            tell(errFd,
                std::string(output.article) + " " + output.what + " „" + *output.file
                    + "“ wäre eine der Antwortdateien; es wird nichts geschrieben");
            return kExitBadCommandLine;
        }
    }
    for (std::size_t a = 0; a < outputs.size(); ++a) {
        for (std::size_t b = a + 1; b < outputs.size(); ++b) {
            if (isFile(outputs[a]) && isFile(outputs[b])
                && sameFile(*outputs[a].file, *outputs[b].file)) {
                tell(errFd,
                    std::string(outputs[a].what) + " und " + outputs[b].what
                        + " dürfen nicht dieselbe Datei sein");
                return kExitBadCommandLine;
            }
        }
    }

    bool failed = false;
    std::optional<AnswerFileIds> answerIds;
    std::optional<ReportWriter> reports;
    CourseLoading hooks;
    hooks.notice = [&](const std::string& message) { tell(errFd, message); };
    if (options.reports) {
        answerIds.emplace(answerFiles.files);
        reports.emplace();
        hooks.loaded = [&](const std::string& file, const AnswerRecord& record) {
            const std::string reportName = reportFileName(file);
            if (answerIds->contains(reportName)) {
                tell(errFd,
                    "Auswertdatei wird nicht geschrieben, sie ist eine der Antwortdateien: "
                        + reportName);
                failed = true;
            } else if (const int error = reports->write(reportName, record)) {
                tell(errFd,
                    "Auswertdatei lässt sich nicht schreiben: " + reportName + " ("
                        + osErrorText(error) + ")");
                failed = true;
            }
        };
    }
    // The results table alone needs the block totals only.
    const auto& [results, items, blocks, pdf] = outputs;
    const bool analysed = !items.file->empty() || !blocks.file->empty() || !pdf.file->empty();
    const Course course = loadCourse(options.paths, answerFiles, hooks,
        analysed ? StatisticsScope::Full : StatisticsScope::TotalsOnly);
    if (!course.unreadable.empty() || !course.folderProblems.empty())
        failed = true;

    if (!deliver(outFd, errFd, results, csvBytes(ResultsTable(course))))
        failed = true;
    if (!items.file->empty()
        && !deliver(outFd, errFd, items, csvBytes(ItemAnalysis(course.statistics))))
        failed = true;
    if (!blocks.file->empty()
        && !deliver(outFd, errFd, blocks, csvBytes(BlockTable(course.statistics))))
        failed = true;
    if (!pdf.file->empty()) {
        std::string bytes;
        std::string problem = "nicht verfügbar";
        if (!makePdf || !makePdf(course, bytes, problem)) {
            tell(errFd, std::string(pdf.what) + " lässt sich nicht erstellen (" + problem + ")");
            failed = true;
        } else if (!deliver(outFd, errFd, pdf, bytes)) {
            failed = true;
        }
    }
    return failed ? kExitSomeFailed : kExitAllLoaded;
}

}  // namespace quendral::batch
