#include "ReportTextFile.h"

#include "WriteAll.h"

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
