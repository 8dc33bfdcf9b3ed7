#include "ReportTextFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quendral {

ReportTextFile::~ReportTextFile()
{
    close();
}

int ReportTextFile::create(const std::string& path)
{
    close();
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return fd_ < 0 ? errno : 0;
}

int ReportTextFile::writeLine(std::string_view bytes)
{
    if (fd_ < 0)
        return EBADF;
    line_.assign(bytes);
    line_ += "\r\n";
    std::size_t done = 0;
    while (done < line_.size()) {
        const ssize_t n = ::write(fd_, line_.data() + done, line_.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
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
