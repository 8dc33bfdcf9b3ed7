#pragma once

// The samples of one benchmark run, one per timed event, kept by figure, and the table
// printed at the end: each figure's median next to the median of its floor (what bare Qt
// or libjpeg need for the same work), their ratio, and the aims the figures are held to.
// Every sample has the wall time, which is what the user waits, and the CPU time the
// process spent in it, which other load on the machine does not inflate.

#include <cstddef>
#include <ctime>
#include <sys/resource.h>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace quendral::bench {

struct Sample {
    double wall = 0;  // seconds
    double cpu = 0;  // seconds of processor time of the whole process
};

// The wall clock, and the processor time (user and system) of this process and of the
// children it has waited for: on a busy machine the processor time shows the work itself.
class Stopwatch {
public:
    Stopwatch() : wall_(wallSeconds()), cpu_(cpuSeconds()) { }
    Sample elapsed() const { return {wallSeconds() - wall_, cpuSeconds() - cpu_}; }

private:
    static double wallSeconds()
    {
        timespec t{};
        clock_gettime(CLOCK_MONOTONIC, &t);
        return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
    }
    static double cpuSeconds()
    {
        timespec self{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &self);
        rusage children{};
        getrusage(RUSAGE_CHILDREN, &children);
        double seconds = double(self.tv_sec) + double(self.tv_nsec) / 1e9;
        for (const timeval& t : {children.ru_utime, children.ru_stime})
            seconds += double(t.tv_sec) + double(t.tv_usec) / 1e6;
        return seconds;
    }

    double wall_;
    double cpu_;
};

enum class Unit { Seconds, Pixels };

struct TableRow {
    std::string figure;  // as printed
    std::string key;  // samples of the figure
    std::string floorKey;  // samples of its floor; empty for none
    double ratioAim = 0;  // figure / floor at most this; 0 for none
    double secondsAim = 0;  // median below this; 0 for none
    Unit unit = Unit::Seconds;
};

struct TableLayout {
    std::string floorHeading = "floor";  // what the figures are held against
    bool withCpu = true;  // the CPU time columns
    bool withMemory = true;  // the peak memory of this process and of its probes
};

class SampleTable {
public:
    static SampleTable& instance();

    void add(const std::string& key, const Sample& sample) { samples_[key].push_back(sample); }
    void addPeakMemory(const std::string& key, long kilobytes) { peaks_[key].push_back(kilobytes); }
    bool has(const std::string& key) const { return samples_.count(key) != 0; }

    // The table of `rows` (rows without samples are left out), then the peak memory.
    void print(
        std::ostream& out, const std::vector<TableRow>& rows, const TableLayout& layout = {}) const;

private:
    std::map<std::string, std::vector<Sample>> samples_;
    std::map<std::string, std::vector<long>> peaks_;
};

}  // namespace quendral::bench
