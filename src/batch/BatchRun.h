#pragma once

// One run of the batch evaluation: every answer file is read once and gives one row of the
// results table and, when asked for, its report; then the tables and the course report are
// made from the whole course.

#include "CommandLine.h"
#include "CoursePdfModule.h"

namespace quendral::batch {

inline constexpr int kExitAllLoaded = 0;
inline constexpr int kExitSomeFailed = 1;  // a file not loaded, or an output not written
inline constexpr int kExitBadCommandLine = 2;

// The results table goes to `outFd` unless options.resultsFile names a file, as does any
// output named "-"; German messages go to `errFd`, one line each. `makePdf` draws the
// course report when options.pdfFile asks for one. Returns the exit code.
int runBatch(const BatchOptions& options, int outFd, int errFd, const CoursePdfMaker& makePdf = {});

}  // namespace quendral::batch
