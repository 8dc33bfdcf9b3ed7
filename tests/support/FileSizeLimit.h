#pragma once

// Lowers this process's file size limit for as long as the guard lives: regular files
// cannot grow beyond the limit, and writes past it fail with EFBIG, as on a disk that has
// filled up. SIGXFSZ is ignored meanwhile, so crossing the limit does not end the process.
// Root may raise the soft limit again, so the run gets its own limit back afterwards.

#include <sys/resource.h>

namespace quendral::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit() { lift(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return active_; }
    void lift();

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
    bool active_ = false;
};

}  // namespace quendral::test
