#include "AtomicFile.h"

#include "WriteAll.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <random>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quendral {

namespace {

using Step = WriteResult::Step;

constexpr std::size_t kNameMax = 255;

// A descriptor closed on every way out of the function that holds it.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) { }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now, for the error number a late write error may still bring.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

bool isOneOf(const struct stat& info, std::span<const FileId> files)
{
    return isOneOf(FileId{info.st_dev, info.st_ino}, files);
}

// The temporary file's name: the target's name, cut where needed so that a dot and six
// random characters still fit into a file name, then those. The name is opened relative to
// the folder, so a target path as long as a path may be needs no longer temporary path.
std::string temporaryName(std::string_view name, std::mt19937& random)
{
    static constexpr std::string_view kLetters
        = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr std::size_t kSuffix = 7;
    std::size_t keep = std::min(name.size(), kNameMax - kSuffix);
    // Never cut a UTF-8 sequence in two.
    while (
        keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
        --keep;
    std::string result(name.substr(0, keep));
    result += '.';
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    for (std::size_t i = 1; i < kSuffix; ++i)
        result += kLetters[pick(random)];
    return result;
}

int writeAndSync(int fd, const void* data, std::size_t size, Sync sync)
{
    int error = writeAll(fd, static_cast<const char*>(data), size);
    if (error == 0 && sync == Sync::ToDisk && ::fsync(fd) != 0)
        error = errno;
    return error;
}

// A device or a pipe takes the bytes as they come: it is opened without waiting for a
// reader and without becoming the program's terminal, and never truncated or replaced.
WriteResult writeInPlace(const std::string& path, const void* data, std::size_t size,
    std::span<const FileId> neverReplace, bool& wasRegular)
{
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0)
        return {Step::Create, errno};
    struct stat info { };
    if (::fstat(fd.get(), &info) != 0)
        return {Step::Create, errno};
    if (isOneOf(info, neverReplace))
        return {Step::Create, EPERM};
    // Replaced by a regular file since it was looked at: that one is replaced as a whole.
    wasRegular = S_ISREG(info.st_mode);
    if (wasRegular)
        return {};
    clearNonBlocking(fd.get());
    int error = writeAll(fd.get(), static_cast<const char*>(data), size);
    if (const int closed = fd.close(); error == 0)
        error = closed;
    if (error != 0)
        return {Step::Write, error};
    return {};
}

WriteResult replaceInFolder(const std::string& path, const void* data, std::size_t size, Sync sync)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder
        = slash == std::string::npos ? "." : path.substr(0, std::max<std::size_t>(slash, 1));
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);

    Descriptor dir(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        return {Step::Create, errno};

    std::mt19937 random(std::random_device{}());
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(name, random);
        // A new file is an ordinary one: the creation mode follows the umask.
        fd = ::openat(dir.get(), temporary.c_str(),
            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return {Step::Create, errno};
    }
    if (fd < 0)
        return {Step::Create, EEXIST};

    Descriptor file(fd);
    int error = writeAndSync(file.get(), data, size, sync);
    if (const int closed = file.close(); error == 0)
        error = closed;
    if (error != 0) {
        ::unlinkat(dir.get(), temporary.c_str(), 0);
        return {Step::Write, error};
    }
    if (::renameat(dir.get(), temporary.c_str(), dir.get(), name.c_str()) != 0) {
        error = errno;
        ::unlinkat(dir.get(), temporary.c_str(), 0);
        return {Step::Replace, error};
    }
    return {};
}

// Where a link leads, as a path; empty, with `error` set, when it leads nowhere.
std::string linkTarget(const std::string& path, int& error)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) {
        error = errno;
        return {};
    }
    std::string result(resolved);
    std::free(resolved);
    return result;
}

}  // namespace

WriteResult writeFileAtomically(const std::string& path, const void* data, std::size_t size,
    std::span<const FileId> neverReplace, Sync sync)
{
    struct stat target { };
    if (::stat(path.c_str(), &target) == 0) {
        if (isOneOf(target, neverReplace))
            return {Step::Create, EPERM};
        // A folder in the target's place is left to the rename, which refuses it.
        if (!S_ISREG(target.st_mode) && !S_ISDIR(target.st_mode)) {
            bool wasRegular = false;
            const WriteResult written = writeInPlace(path, data, size, neverReplace, wasRegular);
            if (!wasRegular)
                return written;
        }
    }

    struct stat name { };
    if (::lstat(path.c_str(), &name) != 0 || !S_ISLNK(name.st_mode))
        return replaceInFolder(path, data, size, sync);
    // A link stays a link: the file it leads to is replaced. A link that leads nowhere is
    // not replaced either.
    int error = 0;
    const std::string resolved = linkTarget(path, error);
    if (resolved.empty())
        return {Step::Create, error};
    if (leadsToOneOf(resolved, neverReplace))
        return {Step::Create, EPERM};
    return replaceInFolder(resolved, data, size, sync);
}

}  // namespace quendral
