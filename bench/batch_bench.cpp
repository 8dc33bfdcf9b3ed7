// Benchmark of quendral-batch on a course of 10,000 answer files in one folder.
//
// The files are made once in a temporary folder (warm in the page cache, as after copying
// a course's files together). Every sample is one whole run over all of them, timed with the
// wall clock: the batch library with results table and item analysis (to files, and the
// table streamed to a descriptor), the program itself as a user starts it, and the reports.
// Next to them runs the floor, simply listing the folder and reading each file once (open,
// one read of 395 bytes, close); the summary at the end gives medians and ratios to it.
//
//   batch_bench [--samples=N] [Google Benchmark flags]

#include "BatchRun.h"
#include "CommandLine.h"

#include "AnswerRecord.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace quendral;

constexpr int kFiles = 10000;
int samples = 9;

struct Course {
    std::string root;  // removed at the end
    std::string folder;  // the 10,000 answer files
    std::string out;  // tables written by the runs
};

Course& course()
{
    static Course c = [] {
        Course made;
        std::string pattern = std::filesystem::temp_directory_path() / "batch-bench-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        made.root = pattern;
        made.folder = made.root + "/kurs";
        made.out = made.root + "/ausgabe";
        std::filesystem::create_directory(made.folder);
        std::filesystem::create_directory(made.out);

        // Participants of every kind: blocks worked or not, ticks as 1 or 255, some noise in
        // the bytes the evaluation does not read.
        std::mt19937 random(20240607);
        for (int i = 0; i < kFiles; ++i) {
            std::array<std::uint8_t, kRecordSize> bytes{};
            for (std::size_t b = 0; b < kFirstOptionByte; ++b)
                bytes[b] = static_cast<std::uint8_t>(random());
            for (std::size_t b = kFirstOptionByte; b < kFirstOptionByte + kOptionCount; ++b)
                bytes[b] = random() % 3 == 0 ? (random() % 2 ? 1 : 255) : 0;
            for (std::size_t b = kDoneFlagBase + 1; b < kRecordSize; ++b)
                bytes[b] = random() % 4 != 0 ? 1 : 0;
            char name[64];
            std::snprintf(name, sizeof name, "/teilnehmer-%05d.dat", i);
            const std::string path = made.folder + name;
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t{kRecordSize}) {
                std::perror(path.c_str());
                std::exit(1);
            }
            ::close(fd);
        }
        return made;
    }();
    return c;
}

// Wall clock and processor time (user and system, of this process and its waited-for
// children): on a busy machine the processor time shows the work itself.
struct Stopwatch {
    Clock::time_point wall = Clock::now();
    double processor = processorSeconds();

    static double processorSeconds()
    {
        double seconds = 0;
        for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
            rusage usage{};
            ::getrusage(who, &usage);
            for (const timeval& t : {usage.ru_utime, usage.ru_stime})
                seconds += static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
        }
        return seconds;
    }
};

struct Samples {
    std::vector<double> wall;
    std::vector<double> processor;
};

std::map<std::string, Samples>& sampleTable()
{
    static std::map<std::string, Samples> table;
    return table;
}

const char* currentFigure = "";

void record(benchmark::State& state, const Stopwatch& watch)
{
    const double wall = std::chrono::duration<double>(Clock::now() - watch.wall).count();
    state.SetIterationTime(wall);
    Samples& samples = sampleTable()[currentFigure];
    samples.wall.push_back(wall);
    samples.processor.push_back(Stopwatch::processorSeconds() - watch.processor);
}

int devNull()
{
    static const int fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    return fd;
}

// ---------------------------------------------------------------- floor

void floorListAndRead(benchmark::State& state)
{
    const Course& c = course();
    std::vector<std::string> names;
    for (auto _ : state) {
        const Stopwatch watch;
        names.clear();
        DIR* dir = ::opendir(c.folder.c_str());
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] != '.')
                names.emplace_back(c.folder + '/' + entry->d_name);
        }
        ::closedir(dir);
        std::size_t read = 0;
        std::uint8_t buffer[kRecordSize];
        for (const std::string& name : names) {
            const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
            read += static_cast<std::size_t>(::read(fd, buffer, sizeof buffer));
            ::close(fd);
        }
        benchmark::DoNotOptimize(read);
        record(state, watch);
        if (read != kFiles * kRecordSize)
            state.SkipWithError("not every file was read");
    }
}

// ---------------------------------------------------------------- the batch

bool tableComplete(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    int lines = 0;
    for (int c; (c = std::fgetc(file)) != EOF;)
        lines += c == '\n' ? 1 : 0;
    std::fclose(file);
    return lines == kFiles + 1;
}

void runLibrary(benchmark::State& state, bool tableToFile, bool reports)
{
    const Course& c = course();
    batch::BatchOptions options;
    options.resultsFile = tableToFile ? c.out + "/ergebnis.csv" : std::string();
    options.itemsFile = c.out + "/fragen.csv";
    options.reports = reports;
    options.paths = {c.folder};
    for (auto _ : state) {
        const Stopwatch watch;
        const int exitCode = batch::runBatch(options, devNull(), devNull());
        record(state, watch);
        if (exitCode != batch::kExitAllLoaded)
            state.SkipWithError("the batch failed");
    }
    if (tableToFile && !tableComplete(options.resultsFile))
        state.SkipWithError("the results table is not complete");
    if (reports) {
        // Later figures must see the folder as it was.
        for (int i = 0; i < kFiles; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "/teilnehmer-%05d-Detail.txt", i);
            if (::unlink((c.folder + name).c_str()) != 0)
                state.SkipWithError("a report is missing");
        }
    }
}

void batchTableAndItems(benchmark::State& state)
{
    runLibrary(state, true, false);
}
void batchStreamedTableAndItems(benchmark::State& state)
{
    runLibrary(state, false, false);
}
void batchWithReports(benchmark::State& state)
{
    runLibrary(state, true, true);
}

// The program as a user runs it: process start, Qt Core loaded, the same work.
const char* programPath()
{
#ifdef QUENDRAL_BATCH_EXE
    return QUENDRAL_BATCH_EXE;
#else
    return std::getenv("QUENDRAL_BATCH_EXE");
#endif
}

void programTableAndItems(benchmark::State& state)
{
    const Course& c = course();
    const std::string program = programPath() ? programPath() : "";
    if (program.empty()) {
        state.SkipWithError("path of quendral-batch unknown (QUENDRAL_BATCH_EXE)");
        return;
    }
    std::vector<std::string> arguments = {program, "-o", c.out + "/programm.csv", "--items",
        c.out + "/programm-fragen.csv", c.folder};
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    for (auto _ : state) {
        const Stopwatch watch;
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(devNull(), 1);
            ::dup2(devNull(), 2);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        record(state, watch);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("quendral-batch failed");
    }
    if (!tableComplete(c.out + "/programm.csv"))
        state.SkipWithError("the results table is not complete");
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void printSummary()
{
    const auto& table = sampleTable();
    const auto floor = table.find("floor/list+read");
    if (floor == table.end() || floor->second.wall.empty())
        return;
    const double floorWall = median(floor->second.wall);
    const double floorProcessor = median(floor->second.processor);
    std::printf(
        "\n%d Antwortdateien in einem Ordner; Median aus %d Läufen je Messung\n", kFiles, samples);
    std::printf(
        "%-28s %12s %9s %14s %9s\n", "Messung", "Uhrzeit ms", "x Boden", "Prozessor ms", "x Boden");
    for (const auto& [name, values] : table) {
        if (values.wall.empty())
            continue;
        const double wall = median(values.wall);
        const double processor = median(values.processor);
        std::printf("%-28s %12.1f %9.2f %14.1f %9.2f\n", name.c_str(), wall * 1000,
            wall / floorWall, processor * 1000, processor / floorProcessor);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // Figures take turns, so that a change in the machine's load falls on all of them.
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> rest;
    bool interleaveGiven = false;
    for (int i = 0; i < argc; ++i) {
        interleaveGiven |= std::strstr(argv[i], "random_interleaving") != nullptr;
        if (std::strncmp(argv[i], "--samples=", 10) == 0)
            samples = std::max(1, std::atoi(argv[i] + 10));
        else
            rest.push_back(argv[i]);
    }
    if (!interleaveGiven)
        rest.push_back(interleave);
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());

    course();  // made before any clock runs
    auto add = [](const char* name, void (*function)(benchmark::State&)) {
        benchmark::RegisterBenchmark(name,
            [name, function](benchmark::State& state) {
                currentFigure = name;
                function(state);
            })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(samples)
            ->ReportAggregatesOnly(true);
    };
    add("floor/list+read", floorListAndRead);
    add("batch/table+items", batchTableAndItems);
    add("batch/streamed-table+items", batchStreamedTableAndItems);
    add("program/table+items", programTableAndItems);
    add("batch/table+items+reports", batchWithReports);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();

    std::error_code ignored;
    std::filesystem::remove_all(course().root, ignored);
    return 0;
}
