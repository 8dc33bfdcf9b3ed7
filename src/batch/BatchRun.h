#pragma once

// One run of the batch evaluation: every answer file is read once, gives one row of the
// results table, adds to the item analysis and, when asked for, gets its report.

#include "CommandLine.h"

namespace quendral::batch {

inline constexpr int kExitAllLoaded = 0;
inline constexpr int kExitSomeFailed = 1;  // a file not loaded, or an output not written
inline constexpr int kExitBadCommandLine = 2;

// The results table goes to `outFd` unless options.resultsFile names a file; German
// messages go to `errFd`, one line each. Returns the exit code.
int runBatch(const BatchOptions& options, int outFd, int errFd);

}  // namespace quendral::batch
