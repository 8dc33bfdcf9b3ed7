#pragma once

// Writes a whole file so that readers see either the old file or the complete new one:
// the bytes go to a temporary file in the same folder, which then replaces the target.
// Only a regular file is ever replaced. A target that exists and is something else (a
// device such as /dev/null, a named pipe, a terminal behind /dev/stdout) is written in
// place instead, and a link is followed to the file it leads to, which is replaced there.

#include "FileIdentity.h"

#include <cstddef>
#include <span>
#include <string>

namespace quendral {

struct WriteResult {
    enum class Step { None, Create, Write, Replace };
    Step failedStep = Step::None;
    int osError = 0;
    bool ok() const { return failedStep == Step::None; }
};

// Create: the temporary file (or the device or pipe written in place) could not be opened:
// a missing or write-protected folder, a pipe nobody reads, a dangling link, or a target
// that is one of `neverReplace` (EPERM).
// Write: writing or flushing it failed (a full disk, the file size limit).
// Replace: it could not take the target's place (the target is a folder, for example).
// After any failure the target is as it was and no temporary file is left behind.
//
// Sync::ToDisk waits until the new bytes are on the disk before they replace the old ones,
// so that not even a power cut between the two leaves an empty file. Files made again by
// the next run anyway (the reports of a course: thousands of them) may skip the wait.
enum class Sync { ToDisk, Skip };
WriteResult writeFileAtomically(const std::string& path, const void* data, std::size_t size,
    std::span<const FileId> neverReplace = {}, Sync sync = Sync::ToDisk);

}  // namespace quendral
