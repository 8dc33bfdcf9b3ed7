#pragma once

// A file as the file system knows it, whatever name or link leads to it: the answer file
// must never be written under any of its names.

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include <sys/types.h>

namespace quendral {

struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    // Spelt out: Qt's moc, which reads this header, cannot parse <compare>.
    bool operator==(const FileId& other) const
    {
        return device == other.device && inode == other.inode;
    }
    bool operator<(const FileId& other) const
    {
        return device != other.device ? device < other.device : inode < other.inode;
    }
};

// The file `path` leads to, links followed; none when nothing is there.
std::optional<FileId> fileIdOf(const std::string& path);
// The file an open descriptor refers to.
std::optional<FileId> fileIdOf(int fd);

bool isOneOf(const FileId& id, std::span<const FileId> files);
// True when `path` leads to one of `files`.
bool leadsToOneOf(const std::string& path, std::span<const FileId> files);

struct FileIdHash {
    std::size_t operator()(const FileId& id) const
    {
        return static_cast<std::size_t>(id.inode) * 31u + static_cast<std::size_t>(id.device);
    }
};

}  // namespace quendral
