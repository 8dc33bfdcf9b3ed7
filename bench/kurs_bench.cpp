// What the trainer waits for, on a real X server with a window manager: quendral-kurs as a
// trainer starts it, next to a bare-Qt peer (kurs_peer) that reads, scores and shows the
// same course, taking turns in one run. A course of 10,000 answer files; figures:
//   - start with the folder to the table painted (the title names the folder once it is
//     loaded, the last drawing after that ends the figure);
//   - the folder chosen in "Ordner öffnen" (its name typed, Enter) to the table painted;
//   - one answer file replaced (renamed over) to the table repainted.
// "Painted" is the last drawing request on the screen (XDamage) before a quiet period. Run
// under Xvfb with openbox: bench/run.sh does.
//
//   kurs_bench [--pairs=N] [--files=N]   (default 9 pairs, 10,000 files)

#include "SampleTable.h"
#include "ScreenWatch.h"

#include "AbilityCourse.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

using namespace quendral;
using namespace quendral::bench;
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kReturn = 0xff0d;
constexpr int kStartQuietMs = 300;  // loading may pause the drawing for a while
constexpr int kQuietMs = 150;
const std::string kCourseName = "kurs";
const std::string kTitle = "Quendral Kursauswertung – " + kCourseName;

struct Side {
    std::string name;  // "program" or "peer"
    std::string path;
};

std::string fileName(std::size_t i)
{
    char name[32];
    std::snprintf(name, sizeof name, "teilnehmer%05zu.dat", i + 1);
    return name;
}

void writeRecord(const std::string& path, const AnswerRecord& record)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(record.bytes.data()), std::streamsize(kRecordSize));
}

// A folder of its own per session, holding the course folder "kurs".
class Session {
public:
    Session(ScreenWatch& screen, const Side& side, const std::vector<AnswerRecord>& course)
        : screen_(screen), side_(side)
    {
        std::string pattern = (fs::temp_directory_path() / "kurs-bench-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
        fs::create_directory(course_());
        for (std::size_t i = 0; i < course.size(); ++i)
            writeRecord(course_() + "/" + fileName(i), course[i]);
        replacement_ = course.back();
    }
    ~Session()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    const std::string& failure() const { return failure_; }

    // From just before the process is created, given the folder, to the table painted.
    std::optional<std::int64_t> startWithFolder()
    {
        const std::int64_t started = monotonicNs();
        launch({side_.path, course_()});
        if (!waitFor("the course", [](const std::string& t) { return t == kTitle; }))
            return std::nullopt;
        return screen_.waitUntilQuiet(started, kStartQuietMs).lastDrawing - started;
    }

    // Started without a folder; from Enter on the folder's name typed in "Ordner öffnen"
    // to the table painted.
    std::optional<std::int64_t> chooseFolder()
    {
        launch({side_.path});
        if (!waitFor("Ordner öffnen", [](const std::string& t) { return t == "Ordner öffnen"; }))
            return std::nullopt;
        screen_.waitUntilQuiet(monotonicNs(), kStartQuietMs);
        for (const char c : kCourseName)
            screen_.pressKey(std::uint32_t(c));
        screen_.waitUntilQuiet(monotonicNs(), kQuietMs);
        const std::int64_t pressed = monotonicNs();
        screen_.pressKey(kReturn);
        if (!waitFor("the course", [](const std::string& t) { return t == kTitle; }))
            return std::nullopt;
        return screen_.waitUntilQuiet(pressed, kStartQuietMs).lastDrawing - pressed;
    }

    // The first participant's file replaced by another's (renamed over it), to the table
    // repainted.
    std::optional<std::int64_t> replaceFile()
    {
        screen_.waitUntilQuiet(monotonicNs(), kStartQuietMs);
        const std::string staged = folder_ + "/staged";
        writeRecord(staged, replacement_);
        const std::int64_t replaced = monotonicNs();
        fs::rename(staged, course_() + "/" + fileName(0));
        // A program may read for a while before it draws anything: quiet only counts once
        // something has been drawn.
        Settled settled;
        while (!settled.drew && monotonicNs() - replaced < 10'000'000'000)
            settled = screen_.waitUntilQuiet(replaced, kQuietMs);
        if (!settled.drew) {
            failure_ = "nothing repainted after the file was replaced";
            return std::nullopt;
        }
        return settled.lastDrawing - replaced;
    }

private:
    std::string course_() const { return folder_ + "/" + kCourseName; }

    void launch(std::vector<std::string> command)
    {
        pid_ = startInFolder(std::move(command), folder_);
    }

    bool waitFor(const std::string& what, const std::function<bool(const std::string&)>& wanted)
    {
        if (screen_.waitForWindow(pid_, wanted, 20000))
            return true;
        failure_ = side_.name + ": no window " + what;
        return false;
    }

    ScreenWatch& screen_;
    Side side_;
    std::string folder_;
    AnswerRecord replacement_;
    pid_t pid_ = -1;
    std::string failure_;
};

void add(const std::string& key, std::int64_t ns)
{
    SampleTable::instance().add(key, {double(ns) / 1e9, 0});
}

}  // namespace

int main(int argc, char* argv[])
{
    int pairs = 9;
    std::size_t files = 10000;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--pairs=", 8) == 0)
            pairs = std::atoi(argv[i] + 8);
        else if (std::strncmp(argv[i], "--files=", 8) == 0)
            files = std::size_t(std::atol(argv[i] + 8));
    }
    ScreenWatch screen;
    if (!screen.ok()) {
        std::cerr << "kurs_bench: no X server with XDamage and XTest on $DISPLAY\n";
        return 1;
    }
    const std::vector<AnswerRecord> course
        = model::abilityCourse(files, {1, 2, 4, 6}, {381 + 2}, 2024);
    const Side sides[2] = {{"program", QUENDRAL_KURS}, {"peer", QUENDRAL_KURS_PEER}};

    int failures = 0;
    for (int i = 0; i < pairs; ++i) {
        for (int k = 0; k < 2; ++k) {
            const Side& side = sides[(i + k) % 2];
            {
                Session session(screen, side, course);
                const auto shown = session.startWithFolder();
                const auto replaced = shown ? session.replaceFile() : std::nullopt;
                if (shown && replaced) {
                    add(side.name + "/start", *shown);
                    add(side.name + "/replace", *replaced);
                } else {
                    std::cerr << session.failure() << '\n';
                    ++failures;
                }
            }
            Session session(screen, side, course);
            if (const auto chosen = session.chooseFolder())
                add(side.name + "/choose", *chosen);
            else
                std::cerr << session.failure() << '\n', ++failures;
            if (failures > 5)
                return 1;
        }
    }

    const std::string n = std::to_string(files);
    const std::vector<TableRow> rows{
        {"start with the folder to " + n + " participants painted", "program/start", "peer/start",
            0, 1.0},
        {"folder chosen (Enter) to " + n + " participants painted", "program/choose", "peer/choose",
            0, 1.0},
        {"one answer file replaced to the table repainted", "program/replace", "peer/replace", 0,
            1.0},
    };
    TableLayout layout;
    layout.floorHeading = "bare Qt";
    layout.withCpu = false;
    layout.withMemory = false;
    std::cout << "\nquendral-kurs on a real X server (Xvfb, openbox), against its bare-Qt peer:";
    SampleTable::instance().print(std::cout, rows, layout);
    std::cout << "Medians; the program and the peer taking turns, each sample a fresh process and\n"
                 "a fresh copy of the course. Painted: the last drawing request before "
              << kStartQuietMs << " ms without any\n(" << kQuietMs
              << " ms after a replaced file). The aim: under 1 second.\n";
    return 0;
}
