#pragma once

#include <cstddef>

namespace quendral {

// Writes all `size` bytes to the file descriptor, retrying interrupted and short writes.
// Returns 0, or the operating system's error number of the write that failed.
int writeAll(int fd, const char* data, std::size_t size);

}  // namespace quendral
