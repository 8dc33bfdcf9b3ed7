#include "AnswerFiles.h"

#include "OsErrorText.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <string_view>
#include <utility>
#include <sys/stat.h>

namespace quendral::batch {

namespace {

bool isFolder(const std::string& path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isAnswerFileName(std::string_view name)
{
    return name.size() > 4 && name.front() != '.' && name.ends_with(".dat");
}

// Appends the folder's answer files in name order; returns 0 or the error number.
int listFolder(const std::string& folder, AnswerFiles& result)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return errno;
    const std::string prefix = folder.ends_with('/') ? folder : folder + '/';
    const int folderIndex = static_cast<int>(result.folders.size());
    result.folders.push_back(prefix);
    std::vector<std::pair<std::string, bool>> entries;  // path, listed as a plain file
    int error = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            error = errno;
            break;
        }
        if (!isAnswerFileName(entry->d_name) || entry->d_type == DT_DIR)
            continue;
        std::string path = prefix + entry->d_name;
        // Links and file systems without entry types need a look at the file itself.
        const bool plain = entry->d_type == DT_REG;
        if (!plain && isFolder(path))
            continue;
        entries.emplace_back(std::move(path), plain);
    }
    ::closedir(dir);
    // All entries share the prefix, so the paths sort as their names do.
    std::sort(entries.begin(), entries.end());
    for (auto& [path, plain] : entries) {
        result.files.push_back(std::move(path));
        result.listedIn.push_back(plain ? folderIndex : -1);
    }
    return error;
}

}  // namespace

AnswerFiles collectAnswerFiles(const std::vector<std::string>& paths)
{
    AnswerFiles result;
    for (const std::string& path : paths) {
        if (!isFolder(path)) {
            result.files.push_back(path);  // a missing file shows when it is loaded
            result.listedIn.push_back(-1);
            continue;
        }
        if (const int error = listFolder(path, result)) {
            result.problems.push_back(
                "Ordner lässt sich nicht lesen: " + path + " (" + osErrorText(error) + ")");
        }
    }
    return result;
}

}  // namespace quendral::batch
