#include "ReportTextFile.h"

#include "WriteAll.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quendral {

ReportTextFile::~ReportTextFile()
{
    close();
}

int ReportTextFile::create(const std::string& path, std::span<const FileId> neverWrite)
{
    close();
    // Opened without truncating: what the name leads to is looked at first.
    const int fd
        = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0)
        return errno;
    struct stat info { };
    int error = ::fstat(fd, &info) == 0 ? 0 : errno;
    const FileId id{info.st_dev, info.st_ino};
    if (error == 0 && isOneOf(id, neverWrite))
        error = EPERM;
    if (error == 0 && S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0)
        error = errno;
    if (error == 0)
        clearNonBlocking(fd);
    if (error != 0) {
        ::close(fd);
        return error;
    }
    fd_ = fd;
    return 0;
}

int ReportTextFile::writeLine(std::string_view bytes)
{
    if (fd_ < 0)
        return EBADF;
    line_.assign(bytes);
    line_ += "\r\n";
    return writeAll(fd_, line_.data(), line_.size());
}

int ReportTextFile::close()
{
    if (fd_ < 0)
        return 0;
    const int result = ::close(fd_);
    fd_ = -1;
    return result < 0 ? errno : 0;
}

}  // namespace quendral
