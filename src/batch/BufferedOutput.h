#pragma once

// Output gathered in memory and handed to a file descriptor in large pieces. Without a
// descriptor everything stays in memory until the caller takes it.

#include "WriteAll.h"

#include <string>

namespace quendral::batch {

class BufferedOutput {
public:
    explicit BufferedOutput(int fd = -1) : fd_(fd) { }

    std::string& buffer() { return buffer_; }
    // Hands the buffer on once it has grown large; call after each row.
    void rowDone()
    {
        if (fd_ >= 0 && buffer_.size() >= kChunk)
            flush();
    }
    // Writes what is buffered; returns the first error number met so far, or 0.
    int flush();
    int error() const { return error_; }

private:
    static constexpr std::size_t kChunk = 64 * 1024;
    int fd_;
    int error_ = 0;
    std::string buffer_;
};

using quendral::writeAll;

}  // namespace quendral::batch
