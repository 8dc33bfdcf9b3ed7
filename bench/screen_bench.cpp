// What the user waits for, on a real X server with a window manager: the evaluation
// program as a user starts and clicks it, next to a bare-Qt peer (qt_peer) that shows the
// same windows and does the same work, taking turns in one run.
//
// Both are started as processes in a folder of their own with the same answer file and
// driven by XTest clicks and key presses only. "Painted" is the last drawing request that
// reaches the screen (XDamage on the root window) before a quiet period; the pixels are the
// area of all drawing requests until then. Run under Xvfb with openbox: bench/run.sh does.
//
//   screen_bench [--cold=N] [--warm=N]   (pairs per block; default 15 each)
//                [--program=PATH]        (another build of the program, to compare)

#include "SampleTable.h"
#include "ScreenWatch.h"

#include "AnswerRecord.h"
#include "Catalogue.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

using namespace quendral;
using namespace quendral::bench;

namespace {

constexpr std::uint32_t kReturn = 0xff0d;
constexpr int kStartQuietMs = 300;  // the start-up may pause while libraries load
constexpr int kQuietMs = 150;
const std::string kMainTitle = "Quendral Tarvik: Auswertung";
const std::string kMenuTitle = "Quendral Einzelauswertung Tarvik";
constexpr int kBlockButtonTops[6] = {24, 72, 120, 168, 216, 264};

struct Side {
    std::string name;  // "program" or "peer": the sample keys' prefix
    std::vector<std::string> command;
};

double seconds(std::int64_t ns)
{
    return double(ns) / 1e9;
}

Point offset(Point origin, int x, int y)
{
    return {origin.x + x, origin.y + y};
}

// The sample participant with every block worked, so every block button is enabled.
AnswerRecord benchRecord()
{
    AnswerRecord record;
    std::ifstream in(QUENDRAL_EXAMPLE_FILE, std::ios::binary);
    in.read(reinterpret_cast<char*>(record.bytes.data()), std::streamsize(kRecordSize));
    for (int block = 1; block <= 6; ++block)
        record.bytes[kDoneFlagBase + std::size_t(block)] = 1;
    return record;
}

// One run of a program in a fresh folder holding the answer file, from its start to its
// end, step by step as the user goes. A step that does not come about makes the session
// fail; it then says which.
class Session {
public:
    Session(ScreenWatch& screen, const Side& side, const AnswerRecord& record) : screen_(screen)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "screen-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
        std::ofstream(folder_ + "/Quendral.dat", std::ios::binary)
            .write(
                reinterpret_cast<const char*>(record.bytes.data()), std::streamsize(kRecordSize));
        command_ = side.command;
    }
    ~Session()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // What failed, with what the process printed.
    std::string failure() const
    {
        std::ifstream in(folder_ + "/output.txt");
        std::string printed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return failure_ + (printed.empty() ? "" : "; it printed:\n" + printed);
    }

    // From just before the process is created to the open dialog painted, in ns.
    std::optional<std::int64_t> start()
    {
        const std::int64_t started = monotonicNs();
        pid_ = startInFolder(command_, folder_);
        if (!waitFor("the main window", [](const std::string& t) { return t == kMainTitle; })
            || !waitFor("the open dialog", [](const std::string& t) { return t != kMainTitle; }))
            return std::nullopt;
        return settle(started, kStartQuietMs).lastDrawing - started;
    }

    // The file accepted, "&Ja", "&Einzelauswertung", the report message answered: the
    // block menu up.
    bool toMenu()
    {
        screen_.pressKey(kReturn);
        const auto question = waitFor("the picture question", is("Bestätigung"));
        if (!question)
            return false;
        settle(monotonicNs(), kQuietMs);
        screen_.pressKey(kReturn);
        const auto main = waitFor("the main window", is(kMainTitle));
        if (!main || !screen_.waitUntilGone(*question, 5000))
            return fail("the picture question stays");
        settle(monotonicNs(), kQuietMs);
        main_ = *main;
        screen_.click(offset(screen_.clientOrigin(main_), 376, 536));
        if (!waitFor("the report message", is("Quendral Tarvik")))
            return false;
        settle(monotonicNs(), kQuietMs);
        screen_.pressKey(kReturn);
        const auto menu = waitFor("the block menu", is(kMenuTitle));
        if (!menu)
            return false;
        menu_ = *menu;
        settle(monotonicNs(), kQuietMs);
        return true;
    }

    // The menu made the active window, as before a click on it after using another window.
    bool bringMenuToFront()
    {
        if (!screen_.activate(menu_))
            return fail("the menu does not become active");
        settle(monotonicNs(), kQuietMs);
        return true;
    }

    struct Shown {
        std::int64_t ns;  // from the click to the last drawing
        double pixels;
    };

    // From the click on the block's button to its review window painted and settled; the
    // window is closed again with Enter.
    std::optional<Shown> review(int block)
    {
        const Point button
            = offset(screen_.clientOrigin(menu_), 104, kBlockButtonTops[block - 1] + 16);
        const std::int64_t clicked = monotonicNs();
        screen_.click(button);
        const auto window = waitFor("review window " + std::to_string(block),
            [](const std::string& t) { return t.rfind("Wiederholungsfragen", 0) == 0; });
        if (!window)
            return std::nullopt;
        const Settled settled = settle(clicked, kQuietMs);
        screen_.pressKey(kReturn);
        if (!screen_.waitUntilGone(*window, 5000)) {
            fail("review window " + std::to_string(block) + " stays open");
            return std::nullopt;
        }
        settle(monotonicNs(), kQuietMs);
        return Shown{settled.lastDrawing - clicked, settled.pixels};
    }

    // The menu closed, then from the click on "S&chließen" to the picture renamed into
    // place beside the answer file.
    std::optional<std::int64_t> savePicture()
    {
        screen_.click(offset(screen_.clientOrigin(menu_), 344, 272));
        if (!screen_.waitUntilGone(menu_, 5000) || !screen_.activate(main_)) {
            fail("the menu stays open");
            return std::nullopt;
        }
        settle(monotonicNs(), kQuietMs);
        const int watch = ::inotify_init1(IN_CLOEXEC);
        ::inotify_add_watch(watch, folder_.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
        const std::int64_t clicked = monotonicNs();
        screen_.click(offset(screen_.clientOrigin(main_), 536, 536));
        std::optional<std::int64_t> saved;
        alignas(inotify_event) char buffer[4096];
        pollfd ready{watch, POLLIN, 0};
        while (!saved && ::poll(&ready, 1, 5000) > 0) {
            const ssize_t n = ::read(watch, buffer, sizeof buffer);
            const std::int64_t at = monotonicNs();
            for (ssize_t i = 0; i < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + i);
                if (event->len > 0 && std::strcmp(event->name, "Quendral.jpg") == 0)
                    saved = at - clicked;
                i += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        ::close(watch);
        if (!saved)
            fail("no picture on disk");
        return saved;
    }

private:
    static std::function<bool(const std::string&)> is(std::string title)
    {
        return [title](const std::string& t) { return t == title; };
    }

    std::optional<ScreenWatch::Window> waitFor(
        const std::string& what, const std::function<bool(const std::string&)>& wanted)
    {
        const auto window = screen_.waitForWindow(pid_, wanted, 10000);
        if (!window)
            fail("no " + what);
        return window;
    }

    Settled settle(std::int64_t since, int quietMs)
    {
        return screen_.waitUntilQuiet(since, quietMs);
    }

    bool fail(const std::string& what)
    {
        if (failure_.empty())
            failure_ = what;
        return false;
    }

    ScreenWatch& screen_;
    std::vector<std::string> command_;
    std::string folder_;
    pid_t pid_ = -1;
    ScreenWatch::Window main_ = 0;
    ScreenWatch::Window menu_ = 0;
    std::string failure_;
};

void addTime(const std::string& key, std::int64_t ns)
{
    SampleTable::instance().add(key, {seconds(ns), 0});
}

void addPixels(const std::string& key, double pixels)
{
    SampleTable::instance().add(key, {pixels, 0});
}

// One fresh process per side and sample: start to the open dialog, the first (cold) click
// on `block`, and the picture on "S&chließen".
bool coldSample(ScreenWatch& screen, const Side& side, const AnswerRecord& record, int block)
{
    Session session(screen, side, record);
    const std::optional<std::int64_t> started = session.start();
    std::optional<Session::Shown> shown;
    std::optional<std::int64_t> picture;
    if (started && session.toMenu() && (shown = session.review(block))
        && (picture = session.savePicture())) {
        addTime(side.name + "/start", *started);
        addTime(side.name + "/cold/" + std::to_string(block), shown->ns);
        addTime(side.name + "/picture", *picture);
        return true;
    }
    std::cerr << side.name << ": " << session.failure() << '\n';
    return false;
}

std::vector<TableRow> tableRows()
{
    std::vector<TableRow> rows{
        {"start to the open dialog painted", "program/start", "peer/start", 1.15}};
    for (int block = 1; block <= 6; ++block) {
        const std::string n = std::to_string(block);
        const std::string boxes = std::to_string(reviewCatalogue(block).optionCount());
        rows.push_back(
            {"click on block " + n + " to its window settled, cold (" + boxes + " boxes)",
                "program/cold/" + n, "peer/cold/" + n, 1.3});
        rows.push_back({"  the same, warm", "program/warm/" + n, "peer/warm/" + n, 1.15});
        rows.push_back({"  pixels repainted, warm", "program/pixels/" + n, "peer/pixels/" + n, 1.2,
            0, Unit::Pixels});
    }
    rows.push_back(
        {"\"S&chließen\" to the picture on disk", "program/picture", "peer/picture", 1.15});
    return rows;
}

}  // namespace

int main(int argc, char* argv[])
{
    int coldPairs = 15;
    int warmPairs = 15;
    std::string program = QUENDRAL_PROGRAM;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--cold=", 7) == 0)
            coldPairs = std::atoi(argv[i] + 7);
        else if (std::strncmp(argv[i], "--warm=", 7) == 0)
            warmPairs = std::atoi(argv[i] + 7);
        else if (std::strncmp(argv[i], "--program=", 10) == 0)
            program = argv[i] + 10;
    }
    ScreenWatch screen;
    if (!screen.ok()) {
        std::cerr << "screen_bench: no X server with XDamage and XTest on $DISPLAY\n";
        return 1;
    }
    const std::vector<int> frame = screen.frameExtents();
    char frameArgument[64];
    std::snprintf(frameArgument, sizeof frameArgument, "--frame=%d,%d,%d,%d", frame[0], frame[1],
        frame[2], frame[3]);
    const Side sides[2] = {{"program", {program}}, {"peer", {QUENDRAL_PEER, frameArgument}}};
    const AnswerRecord record = benchRecord();

    // Cold: each sample a fresh pair of processes, the program or the peer first in turn. A
    // sample that does not come through (the X server under load) is taken again.
    int turn = 0;
    int retries = 0;
    for (int i = 0; i < coldPairs; ++i) {
        for (int block = 1; block <= 6; ++block, ++turn) {
            for (int k = 0; k < 2; ++k) {
                while (!coldSample(screen, sides[(turn + k) % 2], record, block)) {
                    if (++retries > 5)
                        return 1;
                }
            }
        }
    }

    // Warm: both up at their menus; each sample opens a block in one, then in the other.
    if (warmPairs > 0) {
        Session program(screen, sides[0], record);
        Session peer(screen, sides[1], record);
        Session* both[2] = {&program, &peer};
        for (Session* session : both) {
            if (!session->start() || !session->toMenu()) {
                std::cerr << "warm start: " << session->failure() << '\n';
                return 1;
            }
        }
        for (int i = 0; i < warmPairs; ++i) {
            for (int block = 1; block <= 6; ++block, ++turn) {
                for (int k = 0; k < 2; ++k) {
                    const int s = (turn + k) % 2;
                    std::optional<Session::Shown> shown;
                    if (!both[s]->bringMenuToFront() || !(shown = both[s]->review(block))) {
                        std::cerr << "warm: " << both[s]->failure() << '\n';
                        return 1;
                    }
                    const std::string n = std::to_string(block);
                    addTime(sides[s].name + "/warm/" + n, shown->ns);
                    addPixels(sides[s].name + "/pixels/" + n, shown->pixels);
                }
            }
        }
    }

    TableLayout layout;
    layout.floorHeading = "bare Qt";
    layout.withCpu = false;
    layout.withMemory = false;
    std::cout << "\nOn a real X server (Xvfb, openbox), the program against its bare-Qt peer:";
    SampleTable::instance().print(std::cout, tableRows(), layout);
    std::cout << "Medians of single events, the program and the peer taking turns; \"first\" is\n"
                 "the run's first sample. Settled: the last drawing request on the screen before\n"
              << kQuietMs << " ms without any (" << kStartQuietMs
              << " ms at start). Cold: the first review window of a\n"
                 "freshly started process. Pixels: the area of all drawing requests from the\n"
                 "click until settled. Samples taken again: "
              << retries << ".\n";
    return 0;
}
