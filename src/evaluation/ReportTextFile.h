#pragma once

// The report text file: created or replaced, written one line at a time (the bytes as
// given, ended by CR LF), closed. Every call returns the operating system's error number,
// 0 on success; nothing here throws.

#include "FileIdentity.h"

#include <span>
#include <string>
#include <string_view>

namespace quendral {

class ReportTextFile {
public:
    ReportTextFile() = default;
    ReportTextFile(const ReportTextFile&) = delete;
    ReportTextFile& operator=(const ReportTextFile&) = delete;
    ~ReportTextFile();

    // Creates the file or empties the one that is there. A name that leads to one of
    // `neverWrite` (the answer file under a link or a second name) is refused with EPERM and
    // the file is left as it is; a named pipe nobody reads is refused without waiting.
    int create(const std::string& path, std::span<const FileId> neverWrite = {});
    int writeLine(std::string_view bytes);
    int close();
    bool isOpen() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    std::string line_;  // reused so that a line costs one write and no allocation
};

}  // namespace quendral
