#include "CourseFolder.h"

#include <unordered_set>
#include <utility>

#include <sys/stat.h>

namespace quendral::course {

namespace {

bool sameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// How often a scan tells its progress (and may be stopped).
constexpr std::size_t kProgressEvery = 64;

}  // namespace

bool CourseFolder::Stamp::operator==(const Stamp& other) const
{
    return device == other.device && inode == other.inode && mode == other.mode
        && size == other.size && sameTime(modified, other.modified)
        && sameTime(changed, other.changed);
}

bool CourseFolder::stampOf(const std::string& path, Stamp& stamp)
{
    // Links followed, as loading follows them.
    struct stat info { };
    if (::stat(path.c_str(), &info) != 0)
        return false;
    stamp = {info.st_dev, info.st_ino, info.st_mode, info.st_size, info.st_mtim, info.st_ctim};
    return true;
}

CourseFolder::Scan CourseFolder::scan(const Progress& progress)
{
    batch::AnswerFiles listed = batch::collectAnswerFiles({folder_});
    // Changes read by a cancelled scan are still to be shown; so is the first scan.
    unshown_ = unshown_ || !scanned_ || listed.files != files_.files
        || listed.problems != files_.problems;

    const std::size_t total = listed.files.size();
    for (std::size_t i = 0; i < total; ++i) {
        if (progress && i % kProgressEvery == 0 && !progress(i, total))
            return Scan::Cancelled;
        const std::string& path = listed.files[i];
        Stamp stamp;
        const bool stamped = stampOf(path, stamp);
        const auto [at, added] = entries_.try_emplace(path);
        Entry& entry = at->second;
        // A file that cannot be looked at (a dangling link) counts as unchanged while it
        // stays so.
        if (!added && stamped == entry.stamped && (!stamped || entry.stamp == stamp))
            continue;
        // Looked at before it is read: a change while it is read shows at the next scan.
        entry.stamped = stamped;
        entry.stamp = stamp;
        entry.result = loadAnswerRecord(path, entry.record);
        unshown_ = true;
    }
    if (progress)
        progress(total, total);

    if (entries_.size() > total) {
        const std::unordered_set<std::string> present(listed.files.begin(), listed.files.end());
        std::erase_if(entries_, [&](const auto& entry) { return !present.contains(entry.first); });
    }
    files_ = std::move(listed);
    scanned_ = true;
    return std::exchange(unshown_, false) ? Scan::Changed : Scan::Unchanged;
}

batch::Course CourseFolder::course() const
{
    batch::CourseLoading hooks;
    hooks.load = [this](const std::string& path, AnswerRecord& record) {
        const auto found = entries_.find(path);
        if (found == entries_.end())
            return loadAnswerRecord(path, record);
        if (found->second.result.ok())
            record = found->second.record;
        return found->second.result;
    };
    return batch::loadCourse({folder_}, files_, hooks);
}

}  // namespace quendral::course
