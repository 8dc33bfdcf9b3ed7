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

// Create: the temporary file could not be made (a missing or write-protected folder).
// Write: writing or flushing it failed (a full disk, the file size limit).
// Replace: it could not take the target's place (the target is a folder, for example).
// After any failure the target is as it was and no temporary file is left behind.
WriteResult writeFileAtomically(const std::string& path, const void* data, std::size_t size);

}  // namespace quendral
