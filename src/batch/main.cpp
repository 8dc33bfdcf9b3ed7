// quendral-batch: evaluates many answer files at once, without any window.

#include "BatchRun.h"
#include "CommandLine.h"
#include "CoursePdfModule.h"
#include "WriteAll.h"

#include <cstdio>
#include <string_view>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv)
{
    using namespace quendral::batch;
    quendral::ignoreWriteSignals();

    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const CommandLine commandLine = parseCommandLine(arguments);
    switch (commandLine.action) {
    case CommandLine::Action::Help:
        std::fputs(kHelpText, stdout);
        return std::fflush(stdout) == 0 ? kExitAllLoaded : kExitSomeFailed;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "quendral-batch: %s\n%s", commandLine.error.c_str(), kUsageLine);
        return kExitBadCommandLine;
    case CommandLine::Action::Run:
        break;
    }
    return runBatch(commandLine.options, STDOUT_FILENO, STDERR_FILENO, coursePdfFromModule());
}
