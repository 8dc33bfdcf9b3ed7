// Benchmark of quendral-batch on a course of 10,000 answer files in one folder.
//
// The files are made once in a temporary folder (warm in the page cache, as after copying
// a course's files together). Every sample is one whole run over all of them, timed with the
// wall clock: the batch library with results table and item analysis (to files, and the
// table streamed to a descriptor), the program itself as a user starts it, and the reports.
// Next to them runs the floor, simply listing the folder and reading each file once (open,
// one read of 395 bytes, close); the summary at the end gives medians and ratios to it.
//
// Then the course statistics and the course report as the course grows: the statistics
// alone over 1,000, 10,000 and 100,000 records in memory, and the program writing every
// table and the PDF for as many files, next to a bare-Qt peer writing the same files as a
// plain PDF table and to the floor of reading those files; and the program's start on a
// single file, which is what linking it costs.
//
//   batch_bench [--samples=N] [--sizes=1000,10000,100000] [Google Benchmark flags]

#include "SampleTable.h"

#include "BatchRun.h"
#include "CommandLine.h"
#include "ReportWriter.h"

#include "AnswerRecord.h"
#include "AnswerRecords.h"
#include "CourseStatistics.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
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
std::vector<int> sizes = {1000, 10000, 100000};

struct Course {
    std::string root;  // removed at the end
    std::string folder;  // the answer files
    std::string out;  // tables written by the runs
};

// The same seed gives the same course at every size.
Course makeCourse(int files)
{
    {
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
        for (int i = 0; i < files; ++i) {
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
    }
}

// A course of `files` answer files, made on first use.
Course& course(int files = kFiles)
{
    static std::map<int, Course> made;
    auto at = made.find(files);
    if (at == made.end())
        at = made.emplace(files, makeCourse(files)).first;
    return at->second;
}

void removeCourses()
{
    for (const int files : sizes) {
        std::error_code ignored;
        std::filesystem::remove_all(course(files).root, ignored);
    }
    std::error_code ignored;
    std::filesystem::remove_all(course().root, ignored);
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

void floorListAndRead(benchmark::State& state, int files)
{
    const Course& c = course(files);
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
        if (read != std::size_t(files) * kRecordSize)
            state.SkipWithError("not every file was read");
    }
}

void floorListAndReadCourse(benchmark::State& state)
{
    floorListAndRead(state, kFiles);
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

bool tableComplete(const std::string& path, int files = kFiles)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    int lines = 0;
    for (int c; (c = std::fgetc(file)) != EOF;)
        lines += c == '\n' ? 1 : 0;
    std::fclose(file);
    return lines == files + 1;
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

// Runs `arguments` as a program, once per sample.
void runCommand(benchmark::State& state, std::vector<std::string> arguments)
{
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
            state.SkipWithError("the program failed");
    }
}

// Runs quendral-batch with `options` and the course's folder, or, with `onlyFile`, one of
// its files.
void runProgram(benchmark::State& state, const Course& c, std::vector<std::string> options,
    bool onlyFile = false)
{
    const std::string program = programPath() ? programPath() : "";
    if (program.empty()) {
        state.SkipWithError("path of quendral-batch unknown (QUENDRAL_BATCH_EXE)");
        return;
    }
    std::vector<std::string> arguments = {program};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.push_back(onlyFile ? c.folder + "/teilnehmer-00000.dat" : c.folder);
    runCommand(state, std::move(arguments));
}

void programTableAndItems(benchmark::State& state)
{
    const Course& c = course();
    runProgram(
        state, c, {"-o", c.out + "/programm.csv", "--items", c.out + "/programm-fragen.csv"});
    if (!tableComplete(c.out + "/programm.csv"))
        state.SkipWithError("the results table is not complete");
}

// ---------------------------------------------------------------- as the course grows

// The statistics alone: one pass over the records plus a counting sort per block, so the
// time per record should stay the same from 1,000 to 100,000 records.
void statisticsInMemory(benchmark::State& state, int records)
{
    std::mt19937 random(20240607);
    std::vector<AnswerRecord> participants(static_cast<std::size_t>(records));
    for (AnswerRecord& participant : participants)
        participant = test::randomRecord(random);
    for (auto _ : state) {
        const bench::Stopwatch watch;
        const CourseStatistics statistics = computeCourseStatistics(participants);
        benchmark::DoNotOptimize(statistics.blocks[0].alpha);
        record(state, watch);
    }
}

// Every table and the course report, from the program as a user starts it.
void programEverything(benchmark::State& state, int files)
{
    const Course& c = course(files);
    runProgram(state, c,
        {"-o", c.out + "/alles.csv", "--items", c.out + "/alles-fragen.csv", "--blocks",
            c.out + "/alles-bloecke.csv", "--pdf", c.out + "/alles.pdf"});
    if (!tableComplete(c.out + "/alles.csv", files))
        state.SkipWithError("the results table is not complete");
}

// The bare-Qt peer: the same files read, one PDF row of nine cells each.
void pdfPeer(benchmark::State& state, int files)
{
#ifdef QUENDRAL_PDF_PEER
    const Course& c = course(files);
    runCommand(state, {QUENDRAL_PDF_PEER, c.folder, c.out + "/peer.pdf"});
#else
    (void)files;
    state.SkipWithError("pdf_peer not built");
#endif
}

// The program's start on one file: loading its libraries is most of it.
void programOneFile(benchmark::State& state)
{
    const Course& c = course();
    runProgram(state, c, {"-o", c.out + "/eine.csv"}, true);
}

std::vector<bench::TableRow> tableRows()
{
    return {
        {"results table + item analysis, library", "batch/table+items", "floor/list+read"},
        {"  the same, table streamed", "batch/streamed-table+items", "floor/list+read"},
        {"  the same, the program as started", "program/table+items", "floor/list+read"},
        {"  the same, with the reports", "batch/table+items+reports", "floor/list+read+reports"},
        {"the program on one file (its start)", "program/one-file", ""},
    };
}

// Per course size: the statistics alone, and every table with the PDF against the bare-Qt
// PDF peer; the floor of reading the files for scale.
std::vector<bench::TableRow> growthRows()
{
    std::vector<bench::TableRow> rows;
    for (const int files : sizes) {
        const std::string n = std::to_string(files);
        rows.push_back({"statistics alone, " + n + " records", "growth/statistics/" + n, ""});
        rows.push_back({"every table and the PDF, " + n + " files", "growth/program-all/" + n,
            "growth/pdf-peer/" + n});
        rows.push_back({"  list and read the " + n + " files", "growth/floor/" + n, ""});
    }
    return rows;
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
        if (std::strncmp(argv[i], "--samples=", 10) == 0) {
            samples = std::max(1, std::atoi(argv[i] + 10));
        } else if (std::strncmp(argv[i], "--sizes=", 8) == 0) {
            sizes.clear();
            for (const char* at = argv[i] + 8; *at;) {
                char* end = nullptr;
                sizes.push_back(std::max(1, static_cast<int>(std::strtol(at, &end, 10))));
                at = *end == ',' ? end + 1 : end;
                if (end == at && *at)
                    break;
            }
        } else {
            rest.push_back(argv[i]);
        }
    }
    if (!interleaveGiven)
        rest.push_back(interleave);
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());

    // Made before any clock runs.
    course();
    for (const int files : sizes)
        course(files);
    static std::deque<std::string> names;  // registered figures keep their names' storage
    auto add = [](std::string figure, std::function<void(benchmark::State&)> function) {
        const char* name = names.emplace_back(std::move(figure)).c_str();
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
    add("floor/list+read", floorListAndReadCourse);
    add("batch/table+items", batchTableAndItems);
    add("batch/streamed-table+items", batchStreamedTableAndItems);
    add("program/table+items", programTableAndItems);
    add("batch/table+items+reports", batchWithReports);
    add("floor/list+read+reports", floorListReadAndWriteReports);
    add("program/one-file", programOneFile);
    for (const int files : sizes) {
        const std::string n = std::to_string(files);
        add("growth/floor/" + n, [files](benchmark::State& s) { floorListAndRead(s, files); });
        add("growth/statistics/" + n,
            [files](benchmark::State& s) { statisticsInMemory(s, files); });
        add("growth/program-all/" + n,
            [files](benchmark::State& s) { programEverything(s, files); });
        add("growth/pdf-peer/" + n, [files](benchmark::State& s) { pdfPeer(s, files); });
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::cout << "\n"
              << kFiles << " answer files in one folder; the floors list the folder "
              << "and read each file (and write\nthe same report bytes with plain calls):";
    bench::TableLayout layout;
    layout.withMemory = false;
    bench::SampleTable::instance().print(std::cout, tableRows(), layout);
    std::cout << "\nAs the course grows (the statistics in memory; the program writing all "
              << "four outputs,\nagainst a bare-Qt program writing the same files as one "
              << "plain PDF table):";
    layout.floorHeading = "bare Qt";
    bench::SampleTable::instance().print(std::cout, growthRows(), layout);

    removeCourses();
    return 0;
}
