#pragma once

// Times a start-up probe (startup_probe.cpp, startup_floor.cpp) in a fresh process: from
// just before the process is created to the moments the probe reports.

#include "SampleTable.h"

#include <optional>
#include <string>

namespace quendral::bench {

struct StartupTimes {
    Sample toActivation;  // from process creation to the first activation
    Sample toPaint;  // ... to the end of the first painted frame
    long peakKilobytes = 0;  // the child's peak resident memory
};

// Runs `executable` with `argument` (if not empty), environment inherited, and waits for
// it. Empty when it could not be started or did not report.
std::optional<StartupTimes> timeStartup(
    const std::string& executable, const std::string& argument = {});

}  // namespace quendral::bench
