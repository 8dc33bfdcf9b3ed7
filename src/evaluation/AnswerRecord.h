#pragma once

// The participant's answer record: one fixed-size record of 395 bytes, written by the
// questionnaire program and only ever read here.

#include "FileIdentity.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quendral {

inline constexpr std::size_t kRecordSize = 395;
inline constexpr std::size_t kFirstOptionByte = 41;
inline constexpr std::size_t kOptionCount = 348;
inline constexpr std::size_t kDoneFlagBase = 388;  // flag of block N at kDoneFlagBase + N

struct AnswerRecord {
    std::array<std::uint8_t, kRecordSize> bytes{};

    // Every reader compares with zero only: any non-zero value is a tick.
    bool isTicked(std::size_t offset) const { return bytes[offset] != 0; }
    bool isDone(int block) const { return bytes[kDoneFlagBase + block] != 0; }
};

enum class LoadStatus { Loaded, OpenFailed, NotRegularFile, ReadFailed, TooShort };

struct LoadResult {
    LoadStatus status = LoadStatus::Loaded;
    int osError = 0;  // errno of the failing open or read; 0 for a short file
    std::optional<FileId> file;  // the file that was opened, when the open succeeded
    bool ok() const { return status == LoadStatus::Loaded; }
};

// Reads the first record of the file at `path` into `record`. The file is opened for
// reading only, read once and closed on every path; it is never written. Only a regular
// file is read: a named pipe, a device or a folder is refused without waiting for it. On
// failure `record` is left as it was.
LoadResult loadAnswerRecord(const std::string& path, AnswerRecord& record);

}  // namespace quendral
