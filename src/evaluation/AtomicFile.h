#pragma once

// Writes a whole file so that readers see either the old file or the complete new one:
// the bytes go to a temporary file in the same folder, which then replaces the target.

#include <cstddef>
#include <string>

namespace quendral {

struct WriteResult {
    enum class Step { None, Create, Write, Replace };
    Step failedStep = Step::None;
    int osError = 0;
    bool ok() const { return failedStep == Step::None; }
};

WriteResult writeFileAtomically(const std::string& path, const void* data, std::size_t size);

}  // namespace quendral
