#include "BufferedOutput.h"

#include <cerrno>
#include <unistd.h>

namespace quendral::batch {

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
