#include "AnswerRecord.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quendral {

namespace {

// Reads up to `size` bytes, retrying short reads the kernel may return before the end.
ssize_t readFully(int fd, std::uint8_t* buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

}  // namespace

LoadResult loadAnswerRecord(const std::string& path, AnswerRecord& record)
{
    // Opening a named pipe would wait for a writer, and a terminal could become ours: the
    // open must not wait, and what it opened is looked at before anything is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return {LoadStatus::OpenFailed, errno, std::nullopt};
    struct stat info { };
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return {LoadStatus::OpenFailed, error, std::nullopt};
    }
    const FileId file{info.st_dev, info.st_ino};
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        return {LoadStatus::OpenFailed, EISDIR, file};
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return {LoadStatus::NotRegularFile, 0, file};
    }

    std::array<std::uint8_t, kRecordSize> buffer{};
    const ssize_t got = readFully(fd, buffer.data(), buffer.size());
    const int readError = errno;
    ::close(fd);

    if (got < 0)
        return {LoadStatus::ReadFailed, readError, file};
    if (static_cast<std::size_t>(got) < kRecordSize)
        return {LoadStatus::TooShort, 0, file};
    record.bytes = buffer;
    return {LoadStatus::Loaded, 0, file};
}

}  // namespace quendral
