#include "BatchRun.h"

#include "AnswerFiles.h"
#include "AnswerRecord.h"
#include "AtomicFile.h"
#include "BufferedOutput.h"
#include "CourseStatistics.h"
#include "CsvWriter.h"
#include "FileNames.h"
#include "ItemAnalysis.h"
#include "OsErrorText.h"
#include "ReportWriter.h"
#include "ResultsTable.h"

#include "PlainText.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unordered_map>
#include <vector>

namespace quendral::batch {

namespace {

void tell(int errFd, const std::string& message)
{
    const std::string line = oneLine("quendral-batch: " + message) + "\n";
    writeAll(errFd, line.data(), line.size());
}

std::string loadProblem(const LoadResult& result)
{
    switch (result.status) {
    case LoadStatus::TooShort:
        return "kürzer als 395 Bytes";
    case LoadStatus::NotRegularFile:
        return "keine gewöhnliche Datei";
    case LoadStatus::ReadFailed:
        return "Lesefehler, " + osErrorText(result.osError);
    default:
        return osErrorText(result.osError);
    }
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

// Every file once: a file named again, under the same or another name, is passed over.
class SeenFiles {
public:
    // The name under which the file was seen first, or nothing when it is new.
    std::optional<std::string> firstName(const FileId& id, const std::string& name)
    {
        const auto [at, added] = names_.try_emplace(id, name);
        if (added)
            return std::nullopt;
        return at->second;
    }

private:
    std::unordered_map<FileId, std::string, FileIdHash> names_;
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

}  // namespace

int runBatch(const BatchOptions& options, int outFd, int errFd)
{
    bool failed = false;
    const AnswerFiles answerFiles = collectAnswerFiles(options.paths);
    for (const std::string& problem : answerFiles.problems) {
        tell(errFd, problem);
        failed = true;
    }
    const std::vector<std::string>& files = answerFiles.files;

    // Checked before anything is read: a table must never take an answer file's place.
    const struct {
        const std::string& path;
        const char* what;
    } outputs[] = {{options.resultsFile, "Ergebnistabelle"}, {options.itemsFile, "Itemanalyse"}};
    for (const auto& output : outputs) {
        if (!output.path.empty() && output.path != kStandardOutput
            && replacesAnswerFile(output.path, answerFiles)) {
            tell(errFd,
                std::string("die ") + output.what + " „" + output.path
                    + "“ wäre eine der Antwortdateien; es wird nichts geschrieben");
            return kExitBadCommandLine;
        }
    }
    if (!options.resultsFile.empty() && !options.itemsFile.empty()
        && options.itemsFile != kStandardOutput) {
        const std::string results = entryOf(options.resultsFile);
        const auto resultsId = fileIdOf(options.resultsFile);
        if ((!results.empty() && results == entryOf(options.itemsFile))
            || (resultsId && resultsId == fileIdOf(options.itemsFile))) {
            tell(errFd, "Ergebnistabelle und Itemanalyse dürfen nicht dieselbe Datei sein");
            return kExitBadCommandLine;
        }
    }
    std::optional<AnswerFileIds> answerIds;
    if (options.reports)
        answerIds.emplace(files);

    const bool toFile = !options.resultsFile.empty();
    BufferedOutput table(toFile ? -1 : outFd);
    CsvWriter csv(table.buffer());
    table.buffer() += CsvWriter::kByteOrderMark;
    writeResultsHeader(csv);

    CourseStatistics statistics;
    std::optional<ReportWriter> reports;
    if (options.reports)
        reports.emplace();

    AnswerRecord record;
    SeenFiles seen;
    for (const std::string& file : files) {
        const LoadResult loaded = loadAnswerRecord(file, record);
        if (loaded.file) {
            if (const auto first = seen.firstName(*loaded.file, file)) {
                tell(errFd,
                    "Datei ist schon genannt, wird übersprungen: " + file + " (wie " + *first
                        + ")");
                continue;
            }
        }
        if (!loaded.ok()) {
            tell(errFd, "Datei lässt sich nicht lesen: " + file + " (" + loadProblem(loaded) + ")");
            failed = true;
            continue;
        }
        writeResultsRow(csv, file, record);
        table.rowDone();
        if (!options.itemsFile.empty())
            statistics.add(record);

        if (reports) {
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
        }
    }

    if (toFile) {
        if (!saveTable(errFd, "Ergebnistabelle", options.resultsFile, table.buffer()))
            failed = true;
    } else if (const int error = table.flush()) {
        tell(errFd, "Ergebnistabelle lässt sich nicht ausgeben (" + osErrorText(error) + ")");
        failed = true;
    }

    if (!options.itemsFile.empty()) {
        std::string bytes(CsvWriter::kByteOrderMark);
        CsvWriter items(bytes);
        writeItemAnalysis(items, statistics);
        if (options.itemsFile == kStandardOutput) {
            if (const int error = writeAll(outFd, bytes.data(), bytes.size())) {
                tell(errFd, "Itemanalyse lässt sich nicht ausgeben (" + osErrorText(error) + ")");
                failed = true;
            }
        } else if (!saveTable(errFd, "Itemanalyse", options.itemsFile, bytes)) {
            failed = true;
        }
    }

    return failed ? kExitSomeFailed : kExitAllLoaded;
}

}  // namespace quendral::batch
