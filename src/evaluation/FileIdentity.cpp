#include "FileIdentity.h"

#include <algorithm>

#include <sys/stat.h>

namespace quendral {

namespace {

FileId idOf(const struct stat& info)
{
    return {info.st_dev, info.st_ino};
}

}  // namespace

std::optional<FileId> fileIdOf(const std::string& path)
{
    struct stat info { };
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return idOf(info);
}

std::optional<FileId> fileIdOf(int fd)
{
    struct stat info { };
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    return idOf(info);
}

bool isOneOf(const FileId& id, std::span<const FileId> files)
{
    return std::find(files.begin(), files.end(), id) != files.end();
}

bool leadsToOneOf(const std::string& path, std::span<const FileId> files)
{
    if (files.empty())
        return false;
    const std::optional<FileId> id = fileIdOf(path);
    return id && isOneOf(*id, files);
}

}  // namespace quendral
