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

#include "SampleTable.h"

#include "BatchRun.h"
#include "CommandLine.h"
#include "ReportWriter.h"

#include "AnswerRecord.h"
#include "AnswerRecords.h"

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
#include <fstream>
#include <iostream>
#include <iterator>
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

        // Participants of every kind: blocks worked or not, any non-zero tick, noise in the
        // bytes the evaluation does not read.
        std::mt19937 random(20240607);
        for (int i = 0; i < kFiles; ++i) {
            const std::array<std::uint8_t, kRecordSize> bytes = test::randomRecord(random).bytes;
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

const char* currentFigure = "";

void record(benchmark::State& state, const bench::Stopwatch& watch)
{
    const bench::Sample sample = watch.elapsed();
    state.SetIterationTime(sample.wall);
    bench::SampleTable::instance().add(currentFigure, sample);
}

int devNull()
{
    static const int fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    return fd;
}

// ---------------------------------------------------------------- floor

// The folder's entries as full paths, in the order the folder gives them.
void listFolder(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    DIR* dir = ::opendir(folder.c_str());
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.')
            names.emplace_back(folder + '/' + entry->d_name);
    }
    ::closedir(dir);
}

void floorListAndRead(benchmark::State& state)
{
    const Course& c = course();
    std::vector<std::string> names;
    for (auto _ : state) {
        const bench::Stopwatch watch;
        listFolder(c.folder, names);
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

// The same listing and reading, then each participant's report written with plain calls
// (create, one write, close): the bytes are the batch's own, made beforehand.
void floorListReadAndWriteReports(benchmark::State& state)
{
    const Course& c = course();
    std::vector<std::pair<std::string, std::string>> reports;  // path, bytes
    batch::ReportWriter writer;
    for (int i = 0; i < kFiles; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/teilnehmer-%05d", i);
        const std::string base = c.folder + name;
        AnswerRecord record;
        if (!loadAnswerRecord(base + ".dat", record).ok()
            || writer.write(c.out + "/bericht.txt", record) != 0) {
            state.SkipWithError("the reports could not be made beforehand");
            return;
        }
        std::ifstream in(c.out + "/bericht.txt", std::ios::binary);
        reports.emplace_back(base + "-Detail.txt",
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    std::vector<std::string> names;
    for (auto _ : state) {
        const bench::Stopwatch watch;
        listFolder(c.folder, names);
        std::uint8_t buffer[kRecordSize];
        bool complete = true;
        for (std::size_t i = 0; i < names.size(); ++i) {
            int fd = ::open(names[i].c_str(), O_RDONLY | O_CLOEXEC);
            complete = ::read(fd, buffer, sizeof buffer) == ssize_t{kRecordSize} && complete;
            ::close(fd);
            const auto& [path, bytes] = reports[i];
            fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
            complete = ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size()) && complete;
            ::close(fd);
        }
        record(state, watch);
        for (const auto& report : reports)
            ::unlink(report.first.c_str());
        if (!complete)
            state.SkipWithError("not every file was read and written");
    }
}

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
        const bench::Stopwatch watch;
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
        const bench::Stopwatch watch;
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

std::vector<bench::TableRow> tableRows()
{
    return {
        {"results table + item analysis, library", "batch/table+items", "floor/list+read"},
        {"  the same, table streamed", "batch/streamed-table+items", "floor/list+read"},
        {"  the same, the program as started", "program/table+items", "floor/list+read"},
        {"  the same, with the reports", "batch/table+items+reports", "floor/list+read+reports"},
    };
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
    add("floor/list+read+reports", floorListReadAndWriteReports);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::cout << "\n"
              << kFiles << " answer files in one folder; the floors list the folder "
              << "and read each file (and write\nthe same report bytes with plain calls):";
    bench::TableLayout layout;
    layout.withMemory = false;
    bench::SampleTable::instance().print(std::cout, tableRows(), layout);

    std::error_code ignored;
    std::filesystem::remove_all(course().root, ignored);
    return 0;
}
