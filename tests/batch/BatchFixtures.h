#pragma once

// Answer files in temporary folders and runs of the real quendral-batch program.

#include "AbilityCourse.h"
#include "AnswerRecord.h"
#include "AnswerRecords.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quendral::batch::test {

using model::abilityCourse;
using model::setAgreement;
using quendral::test::Fill;
using quendral::test::fillBlock;
using quendral::test::setDone;

// The record's bytes, cut or padded with zeros to `size`.
std::string recordBytes(const AnswerRecord& record, std::size_t size = kRecordSize);

// A fresh folder, removed with everything in it at the end of the test.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(std::string_view relative) const
    {
        return path_ + '/' + std::string(relative);
    }

private:
    std::string path_;
};

void writeFile(const std::string& path, std::string_view bytes);  // creates missing folders
std::string readFile(const std::string& path);
bool exists(const std::string& path);

struct ProgramRun {
    int exitCode = -1;  // -1: ended by a signal, or stopped after the time limit
    int signal = 0;  // the signal that ended it
    bool timedOut = false;
    std::string out;
    std::string err;
};

struct RunLimits {
    int timeoutMs = 20000;  // then the program is killed: a hang fails instead of waiting
    long fileSizeLimit = -1;  // RLIMIT_FSIZE in bytes for the program; -1: unchanged
};

// Runs the program `command[0]` (looked up on PATH) with the rest of `command` as its
// arguments in the folder `workDir` and waits for it. Its standard output and error are
// pipes read by the test, and every signal has its default action in the program, as when a
// user starts it. `environment` changes the program's environment: "NAME=value" sets a
// variable, a bare "NAME" removes it.
ProgramRun runCommand(const std::vector<std::string>& command, const std::string& workDir,
    RunLimits limits = {}, const std::vector<std::string>& environment = {});
// The same for quendral-batch with `arguments`.
ProgramRun runProgram(
    const std::vector<std::string>& arguments, const std::string& workDir, RunLimits limits = {});

// The first six cells of the item analysis's row for option box `n` (1-based, record
// order) of `block`, as the CSV file holds them: block, question, letter, question text with
// blanks collapsed, option text (quoted where it holds a quote) and the key's state.
std::string itemRowStart(int block, int n);
// Whether the key expects option box `n` of `block` ticked.
bool expectedTicked(int block, int n);

// Splits at CR LF; a text not ending in CR LF keeps its rest as a last element.
std::vector<std::string> crlfLines(std::string_view text);

}  // namespace quendral::batch::test
