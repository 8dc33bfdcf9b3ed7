#include "Course.h"

#include "FileIdentity.h"
#include "OsErrorText.h"

#include <optional>
#include <unordered_map>

namespace quendral::batch {

namespace {

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

}  // namespace

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

Course loadCourse(std::vector<std::string> sources, const AnswerFiles& files,
    const CourseLoading& hooks, StatisticsScope scope)
{
    Course course;
    course.sources = std::move(sources);
    auto notice = [&](const std::string& message) {
        if (hooks.notice)
            hooks.notice(message);
    };
    for (const std::string& problem : files.problems) {
        course.folderProblems.push_back(problem);
        notice(problem);
    }

    course.paths.reserve(files.files.size());
    course.records.reserve(files.files.size());
    AnswerRecord record;
    SeenFiles seen;
    for (const std::string& file : files.files) {
        const LoadResult loaded
            = hooks.load ? hooks.load(file, record) : loadAnswerRecord(file, record);
        if (loaded.file) {
            if (const auto first = seen.firstName(*loaded.file, file)) {
                notice("Datei ist schon genannt, wird übersprungen: " + file + " (wie " + *first
                    + ")");
                continue;
            }
        }
        if (!loaded.ok()) {
            course.unreadable.push_back({file, loadProblem(loaded)});
            notice("Datei lässt sich nicht lesen: " + file + " (" + course.unreadable.back().reason
                + ")");
            continue;
        }
        course.paths.push_back(file);
        course.records.push_back(record);
        if (hooks.loaded)
            hooks.loaded(file, record);
    }
    course.statistics = computeCourseStatistics(course.records, scope);
    return course;
}

}  // namespace quendral::batch
