#pragma once

// The batch program's command line:
//   quendral-batch [-o ERGEBNIS.csv] [--items FRAGEN.csv] [--blocks BLÖCKE.csv]
//                  [--pdf KURSBERICHT.pdf] [--reports] PFAD...

#include <array>
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
    std::string blocksFile;  // empty: no block table; "-": on standard output
    std::string pdfFile;  // empty: no course report; "-": on standard output
    bool reports = false;
    std::vector<std::string> paths;  // answer files and folders, in the given order

    struct Output {
        const std::string* file;
        const char* what;  // German name, as messages use it
        const char* article;  // its definite article
    };
    // Every output with its name; the results table first.
    std::array<Output, 4> outputs() const
    {
        return {{{&resultsFile, "Ergebnistabelle", "die"}, {&itemsFile, "Itemanalyse", "die"},
            {&blocksFile, "Blocktabelle", "die"}, {&pdfFile, "Kursbericht", "der"}}};
    }
};

struct CommandLine {
    enum class Action { Run, Help, Error };
    Action action = Action::Run;
    BatchOptions options;
    std::string error;  // German, for Action::Error
};

// `arguments` without the program name.
CommandLine parseCommandLine(std::span<const std::string_view> arguments);

// "A und B", "A, B und C": names joined as a German sentence does.
std::string germanList(const std::vector<std::string>& names);

// The one-line reminder after a command line error, and the text of --help.
extern const char* const kUsageLine;
extern const char* const kHelpText;

}  // namespace quendral::batch
