#include "BufferedOutput.h"

#include <cerrno>
#include <unistd.h>

namespace quendral::batch {

int writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

int BufferedOutput::flush()
{
    if (fd_ < 0)
        return error_;
    // After a failure the rest is dropped: the run reports the failure instead.
    if (error_ == 0)
        error_ = writeAll(fd_, buffer_.data(), buffer_.size());
    buffer_.clear();
    return error_;
}

}  // namespace quendral::batch
