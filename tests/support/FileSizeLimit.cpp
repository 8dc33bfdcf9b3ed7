#include "FileSizeLimit.h"

#include <csignal>

namespace quendral::test {

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit lowered = previous_;
    lowered.rlim_cur = bytes;
    active_ = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
}

void FileSizeLimit::lift()
{
    if (!active_)
        return;
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
    active_ = false;
}

}  // namespace quendral::test
