#pragma once

#include <cstddef>

namespace quendral {

// Writes all `size` bytes to the file descriptor, retrying interrupted and short writes.
// Returns 0, or the operating system's error number of the write that failed.
int writeAll(int fd, const char* data, std::size_t size);

// A file opened without waiting (O_NONBLOCK, so that opening a pipe nobody reads fails at
// once) then lets its writes wait for the reader like any output does.
void clearNonBlocking(int fd);

// A write past the file size limit (SIGXFSZ) or into a pipe nobody reads (SIGPIPE) ends a
// program by default, half-way through its file. Called once at start, such a write fails
// with EFBIG or EPIPE instead and takes the program's ordinary error path.
void ignoreWriteSignals();

}  // namespace quendral
