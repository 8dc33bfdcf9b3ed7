// The real quendral-batch program against what an adversarial user can put in its way: named
// pipes, devices, links to the answer files, a file size limit, the same file under several
// names, names that are no UTF-8 or that a spreadsheet would run. Each row says what the user
// sees; every row also checks that the answer files keep their bytes and that the folder
// holds no file the row did not expect (no temporary file is left behind).

#include "BatchFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace quendral;
using namespace quendral::batch::test;
namespace fs = std::filesystem;

namespace {

const std::string kBom = "\xEF\xBB\xBF";
const std::string kHeader = "Datei;Über- und Einblick;Start;Planung;Steuerung;Abschluss;"
                            "PM-SW-Werkzeuge;Punkte;Optionen\r\n";
const std::string kRowA = ";100;;;;;;40;40\r\n";  // block 1 as the key expects
const std::string kRowB = ";;;;;;100;8;8\r\n";  // block 6 as the key expects

// Two participants in the folder "d": a.dat and b.dat.
class Folder {
public:
    Folder()
    {
        AnswerRecord a;
        fillBlock(a, 1, Fill::Key);
        setDone(a, {1});
        put("d/a.dat", recordBytes(a));
        AnswerRecord b;
        fillBlock(b, 6, Fill::Key);
        fillBlock(b, 1, Fill::Everything);
        setDone(b, {6});
        put("d/b.dat", recordBytes(b));
    }

    void put(const std::string& relative, const std::string& bytes)
    {
        writeFile(dir / relative, bytes);
        answers[relative] = bytes;
    }
    void link(const std::string& target, const std::string& relative) const
    {
        fs::create_symlink(target, dir / relative);
    }
    void fifo(const std::string& relative) const
    {
        ASSERT_EQ(::mkfifo((dir / relative).c_str(), 0600), 0);
    }

    // Every name below the folder, sorted, with "/" after a folder's name.
    std::vector<std::string> listing() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
            std::string name = entry.path().lexically_relative(dir.path()).string();
            if (entry.is_directory() && !entry.is_symlink())
                name += '/';
            names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TemporaryFolder dir;
    std::map<std::string, std::string> answers;  // the answer files and their bytes
};

struct HostileCase {
    const char* name;
    std::function<void(Folder&)> prepare;
    std::vector<std::string> arguments;
    int exitCode;
    std::string out;  // the whole standard output; "*" when `check` looks at it
    std::string err;  // the whole standard error
    std::vector<std::string> added = {};  // names the run leaves in the folder besides d/
    std::function<void(const Folder&, const ProgramRun&)> check = {};
    long fileSizeLimit = -1;
};

void PrintTo(const HostileCase& c, std::ostream* os)
{
    *os << c.name;
}

class HostileInput : public ::testing::TestWithParam<HostileCase> { };

TEST_P(HostileInput, IsToldInGermanAndLosesNothing)
{
    const HostileCase& c = GetParam();
    Folder folder;
    if (c.prepare)
        c.prepare(folder);
    std::vector<std::string> expected = folder.listing();
    expected.insert(expected.end(), c.added.begin(), c.added.end());
    std::sort(expected.begin(), expected.end());
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());

    RunLimits limits;
    limits.timeoutMs = 10000;
    limits.fileSizeLimit = c.fileSizeLimit;
    const ProgramRun run = runProgram(c.arguments, folder.dir.path(), limits);

    ASSERT_FALSE(run.timedOut) << "the program hung";
    EXPECT_EQ(run.signal, 0) << "ended by a signal";
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    if (c.out != "*") {
        EXPECT_EQ(run.out, c.out);
    }
    EXPECT_EQ(run.err, c.err);
    for (const auto& [relative, bytes] : folder.answers)
        EXPECT_EQ(readFile(folder.dir / relative), bytes) << relative << " has changed";
    EXPECT_EQ(folder.listing(), expected);
    if (c.check)
        c.check(folder, run);
}

bool isCharacterDevice(const std::string& path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

bool isLink(const std::string& path)
{
    return fs::is_symlink(fs::symlink_status(path));
}

const std::string kNotRegular
    = "quendral-batch: Datei lässt sich nicht lesen: d/c.dat (keine gewöhnliche Datei)\n";

// Links to devices and to standard output are made in the test's folder: should the
// program ever replace a link again, it replaces that one and not the system's.
INSTANTIATE_TEST_SUITE_P(Batch, HostileInput,
    ::testing::Values(HostileCase{"NamedPipeInFolder", [](Folder& f) { f.fifo("d/c.dat"); }, {"d"},
                          1, kBom + kHeader + "d/a.dat" + kRowA + "d/b.dat" + kRowB, kNotRegular},
        HostileCase{"NamedPipeNamed", [](Folder& f) { f.fifo("d/c.dat"); }, {"d/c.dat", "d/a.dat"},
            1, kBom + kHeader + "d/a.dat" + kRowA, kNotRegular},
        HostileCase{"ResultsToNullDevice", [](Folder& f) { f.link("/dev/null", "null"); },
            {"-o", "null", "d"}, 0, "", "", {},
            [](const Folder& f, const ProgramRun&) {
                EXPECT_TRUE(isLink(f.dir / "null"));
                EXPECT_TRUE(isCharacterDevice("/dev/null"));
            }},
        HostileCase{"ItemsToFullDevice", [](Folder& f) { f.link("/dev/full", "voll"); },
            {"--items", "voll", "d/a.dat"}, 1, kBom + kHeader + "d/a.dat" + kRowA,
            "quendral-batch: Itemanalyse lässt sich nicht schreiben: voll (kein Platz mehr auf "
            "dem Datenträger)\n",
            {},
            [](const Folder& f, const ProgramRun&) {
                EXPECT_TRUE(isLink(f.dir / "voll"));
                EXPECT_TRUE(isCharacterDevice("/dev/full"));
            }},
        // Standard output is a pipe here, as in "quendral-batch -o /dev/stdout d | less".
        HostileCase{"ResultsToStandardOutputLink",
            [](Folder& f) { f.link("/proc/self/fd/1", "ausgabe"); }, {"-o", "ausgabe", "d/b.dat"},
            0, kBom + kHeader + "d/b.dat" + kRowB, "", {},
            [](const Folder& f, const ProgramRun&) { EXPECT_TRUE(isLink(f.dir / "ausgabe")); }},
        HostileCase{
            "ResultsToDash", {}, {"-o", "-", "d/b.dat"}, 0, kBom + kHeader + "d/b.dat" + kRowB, ""},
        HostileCase{"ItemsToDash", {}, {"-o", "e.csv", "--items", "-", "d/b.dat"}, 0, "*", "",
            {"e.csv"},
            [](const Folder& f, const ProgramRun& run) {
                EXPECT_TRUE(run.out.starts_with(kBom + "Block;Frage;Option;")) << run.out;
                EXPECT_EQ(readFile(f.dir / "e.csv"), kBom + kHeader + "d/b.dat" + kRowB);
            }},
        HostileCase{"ItemsPastFileSizeLimit",
            [](Folder& f) { writeFile(f.dir / "fragen.csv", "die vorige Itemanalyse"); },
            {"--items", "fragen.csv", "d"}, 1,
            kBom + kHeader + "d/a.dat" + kRowA + "d/b.dat" + kRowB,
            "quendral-batch: Itemanalyse lässt sich nicht schreiben: fragen.csv (Datei zu "
            "groß)\n",
            {},
            [](const Folder& f, const ProgramRun&) {
                EXPECT_EQ(readFile(f.dir / "fragen.csv"), "die vorige Itemanalyse");
            },
            4096},
        HostileCase{"ReportPastFileSizeLimit",
            [](Folder& f) { writeFile(f.dir / "d/b-Detail.txt", "der vorige Bericht"); },
            {"--reports", "d/b.dat"}, 1, kBom + kHeader + "d/b.dat" + kRowB,
            "quendral-batch: Auswertdatei lässt sich nicht schreiben: d/b-Detail.txt (Datei zu "
            "groß)\n",
            {},
            [](const Folder& f, const ProgramRun&) {
                EXPECT_EQ(readFile(f.dir / "d/b-Detail.txt"), "der vorige Bericht");
            },
            200},
        HostileCase{"ReportNameLinksToAnswerFile",
            [](Folder& f) { f.link("a.dat", "d/a-Detail.txt"); }, {"--reports", "d/a.dat"}, 1,
            kBom + kHeader + "d/a.dat" + kRowA,
            "quendral-batch: Auswertdatei wird nicht geschrieben, sie ist eine der "
            "Antwortdateien: d/a-Detail.txt\n"},
        HostileCase{"ReportNameIsSecondNameOfAnswerFile",
            [](Folder& f) { fs::create_hard_link(f.dir / "d/a.dat", f.dir / "d/a-Detail.txt"); },
            {"--reports", "d/a.dat"}, 1, kBom + kHeader + "d/a.dat" + kRowA,
            "quendral-batch: Auswertdatei wird nicht geschrieben, sie ist eine der "
            "Antwortdateien: d/a-Detail.txt\n"},
        HostileCase{"SameFileNamedThrice", {}, {"d/a.dat", "./d/a.dat", "d"}, 0,
            kBom + kHeader + "d/a.dat" + kRowA + "d/b.dat" + kRowB,
            "quendral-batch: Datei ist schon genannt, wird übersprungen: ./d/a.dat (wie "
            "d/a.dat)\n"
            "quendral-batch: Datei ist schon genannt, wird übersprungen: d/a.dat (wie "
            "d/a.dat)\n"},
        HostileCase{"SameFileUnderSecondName",
            [](Folder& f) { fs::create_hard_link(f.dir / "d/b.dat", f.dir / "d/c.dat"); },
            {"--items", "fragen.csv", "d"}, 0,
            kBom + kHeader + "d/a.dat" + kRowA + "d/b.dat" + kRowB,
            "quendral-batch: Datei ist schon genannt, wird übersprungen: d/c.dat (wie "
            "d/b.dat)\n",
            {"fragen.csv"},
            [](const Folder& f, const ProgramRun&) {
                // Block 6 was worked by one participant, not two.
                const std::vector<std::string> lines = crlfLines(readFile(f.dir / "fragen.csv"));
                ASSERT_FALSE(lines.empty());
                EXPECT_NE(lines.back().find(";nicht angekreuzt;1;100,0;0,0"), std::string::npos)
                    << lines.back();
            }},
        HostileCase{"NameThatIsNoUtf8",
            [](Folder& f) { f.put("d/M\xFCller.dat", readFile(f.dir / "d/b.dat")); },
            {"d/M\xFCller.dat"}, 0, kBom + kHeader + "d/M\xEF\xBF\xBDller.dat" + kRowB, ""},
        HostileCase{"NameLikeAFormula",
            [](Folder& f) { f.put("=1+1.dat", readFile(f.dir / "d/b.dat")); }, {"=1+1.dat"}, 0,
            kBom + kHeader + "'=1+1.dat" + kRowB, ""},
        HostileCase{"BadNameWithLineBreak",
            [](Folder& f) { writeFile(f.dir / "d/zwei\nZeilen\x1b.dat", "kurz"); },
            {"d/b.dat", "d/zwei\nZeilen\x1b.dat"}, 1, kBom + kHeader + "d/b.dat" + kRowB,
            "quendral-batch: Datei lässt sich nicht lesen: d/zwei\\nZeilen\\x1b.dat (kürzer als "
            "395 Bytes)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
