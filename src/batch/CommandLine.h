#pragma once

// The batch program's command line:
//   quendral-batch [-o ERGEBNIS.csv] [--items FRAGEN.csv] [--reports] PFAD...

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quendral::batch {

// "-" as a file name stands for standard output.
inline constexpr std::string_view kStandardOutput = "-";

struct BatchOptions {
    std::string resultsFile;  // empty (or "-" given): the results table goes to standard output
    std::string itemsFile;  // empty: no item analysis; "-": on standard output
    bool reports = false;
    std::vector<std::string> paths;  // answer files and folders, in the given order
};

struct CommandLine {
    enum class Action { Run, Help, Error };
    Action action = Action::Run;
    BatchOptions options;
    std::string error;  // German, for Action::Error
};

// `arguments` without the program name.
CommandLine parseCommandLine(std::span<const std::string_view> arguments);

// The one-line reminder after a command line error, and the text of --help.
extern const char* const kUsageLine;
extern const char* const kHelpText;

}  // namespace quendral::batch
