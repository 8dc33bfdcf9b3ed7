// The real quendral-batch program on courses of answer files made in temporary folders:
// the results table, the choice of files, failures and exit codes, the item analysis and
// the reports beside the answer files.

#include "BatchFixtures.h"

#include "AnswerKey.h"
#include "Blocks.h"
#include "Catalogue.h"
#include "Section.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

using namespace quendral;
using namespace quendral::batch::test;

namespace {

const std::string kBom = "\xEF\xBB\xBF";
const std::string kResultsHeader = "Datei;Über- und Einblick;Start;Planung;Steuerung;Abschluss;"
                                   "PM-SW-Werkzeuge;Punkte;Optionen";
const std::string kReportHeader = "Folgende Fragen sind bitte nochmals zu bedenken.\r\n"
                                  "Gehen Sie bitte den Quendral anhand dieser Auflistung\r\n"
                                  "nochmal durch.\r\n\r\n";

std::vector<std::string> table(std::initializer_list<std::string> rows)
{
    std::vector<std::string> lines{kResultsHeader};
    lines.insert(lines.end(), rows);
    return lines;
}

// The table's lines after checking its form: byte-order mark first, every line ended by
// CR LF, no line feed on its own.
std::vector<std::string> tableLines(const std::string& text)
{
    EXPECT_TRUE(text.starts_with(kBom)) << "no byte-order mark";
    EXPECT_TRUE(text.ends_with("\r\n")) << "last line not ended by CR LF";
    std::size_t bareLineFeeds = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        bareLineFeeds += text[i] == '\n' && (i == 0 || text[i - 1] != '\r') ? 1 : 0;
    EXPECT_EQ(bareLineFeeds, 0u);
    return crlfLines(text.starts_with(kBom) ? text.substr(kBom.size()) : text);
}

// A small course: three answer files that load, one too short, files and folders that a
// folder argument must pass over, and an answer file under another name.
class Course : public ::testing::Test {
protected:
    void SetUp() override
    {
        AnswerRecord anna;  // blocks 1, 2 and 4 worked; block 3 holds the key but is not worked
        fillBlock(anna, 1, Fill::Key);
        fillBlock(anna, 2, Fill::Nothing);
        fillBlock(anna, 3, Fill::Key);
        fillBlock(anna, 4, Fill::Everything);
        setDone(anna, {1, 2, 4});
        put("kurs/anna.dat", recordBytes(anna));

        AnswerRecord bernd;  // every block worked, everything ticked, as 255
        for (int block = 1; block <= 6; ++block)
            fillBlock(bernd, block, Fill::Everything, 255);
        setDone(bernd, {1, 2, 3, 4, 5, 6}, 255);
        put("kurs/bernd.dat", recordBytes(bernd));

        AnswerRecord carla;  // nothing worked; the file is longer than one record
        fillBlock(carla, 1, Fill::Key);
        put("kurs/carla.dat", recordBytes(carla, 2 * kRecordSize + 7));

        put("kurs/dora.dat", recordBytes(anna, kRecordSize - 1));
        put("kurs/notizen.txt", recordBytes(anna));
        put("kurs/anna.dat.bak", recordBytes(anna));
        put("kurs/.versteckt.dat", recordBytes(anna));
        put("kurs/unterordner.dat/tief.dat", recordBytes(anna));

        AnswerRecord extra;
        fillBlock(extra, 6, Fill::Key);
        setDone(extra, {6});
        put("extra/teilnehmer.bin", recordBytes(extra));
    }

    void put(const std::string& relative, const std::string& bytes)
    {
        writeFile(dir_ / relative, bytes);
        originals_[relative] = bytes;
    }

    // Every file the test made still holds what it was given.
    void expectFilesUnchanged() const
    {
        for (const auto& [relative, bytes] : originals_)
            EXPECT_EQ(readFile(dir_ / relative), bytes) << relative;
    }

    ProgramRun run(const std::vector<std::string>& arguments) const
    {
        return runProgram(arguments, dir_.path());
    }

    TemporaryFolder dir_;
    std::map<std::string, std::string> originals_;
};

const std::string kAnnaRow = "kurs/anna.dat;100;53;;57;;;165;268";
const std::string kBerndRow = "kurs/bernd.dat;75;46;57;57;65;87;195;348";
const std::string kCarlaRow = "kurs/carla.dat;;;;;;;0;0";
const std::string kExtraRow = "extra/teilnehmer.bin;;;;;;100;8;8";

TEST_F(Course, TableHasOneRowPerLoadedFileAndNamesEachFailure)
{
    const ProgramRun result = run({"kurs", "fehlt.dat", "extra/teilnehmer.bin"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(tableLines(result.out), table({kAnnaRow, kBerndRow, kCarlaRow, kExtraRow}));
    EXPECT_EQ(result.err,
        "quendral-batch: Datei lässt sich nicht lesen: kurs/dora.dat (kürzer als 395 Bytes)\n"
        "quendral-batch: Datei lässt sich nicht lesen: fehlt.dat (nicht vorhanden)\n");
    expectFilesUnchanged();
}

TEST_F(Course, EveryFileLoadedGivesExitCodeZeroAndNothingOnStandardError)
{
    const ProgramRun result = run({"kurs/carla.dat", "extra/teilnehmer.bin", "kurs/anna.dat"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(tableLines(result.out), table({kCarlaRow, kExtraRow, kAnnaRow}));
}

TEST_F(Course, TrailingSlashOfAFolderIsNotDoubled)
{
    const ProgramRun result = run({"kurs/"});
    EXPECT_EQ(tableLines(result.out), table({kAnnaRow, kBerndRow, kCarlaRow}));
}

TEST_F(Course, AbsoluteFolderGivesAbsolutePaths)
{
    const ProgramRun result = run({dir_ / "extra/teilnehmer.bin"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(tableLines(result.out), table({dir_ / "extra/teilnehmer.bin;;;;;;100;8;8"}));
}

TEST_F(Course, ResultsFileHoldsWhatStandardOutputWouldShow)
{
    const ProgramRun toStdout = run({"kurs", "extra/teilnehmer.bin"});
    const ProgramRun toFile = run({"-o", "ergebnis.csv", "kurs", "extra/teilnehmer.bin"});
    EXPECT_EQ(toFile.exitCode, 1);  // dora.dat is still too short
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(readFile(dir_ / "ergebnis.csv"), toStdout.out);

    // A second run replaces the table.
    EXPECT_EQ(run({"-o", "ergebnis.csv", "kurs/anna.dat"}).exitCode, 0);
    EXPECT_EQ(tableLines(readFile(dir_ / "ergebnis.csv")), table({kAnnaRow}));
    expectFilesUnchanged();
}

TEST_F(Course, ResultsFileThatCannotBeWrittenIsNamed)
{
    const ProgramRun result = run({"-o", "fehlender-ordner/ergebnis.csv", "kurs/anna.dat"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
        "quendral-batch: Ergebnistabelle lässt sich nicht schreiben: "
        "fehlender-ordner/ergebnis.csv (nicht vorhanden)\n");
}

TEST_F(Course, OutputNamingAnAnswerFileIsRefused)
{
    std::filesystem::create_symlink(dir_ / "kurs/bernd.dat", dir_ / "verweis.csv");
    std::filesystem::create_symlink("kurs", dir_ / "kursverweis");
    put("daten.csv", recordBytes(AnswerRecord{}));
    std::filesystem::create_symlink("../daten.csv", dir_ / "kurs/verweis.dat");
    for (const std::vector<std::string>& arguments :
        {std::vector<std::string>{"-o", "kurs/anna.dat", "kurs"},
            {"--items", "./kurs/../kurs/carla.dat", "kurs"},
            {"-o", dir_ / "kursverweis/bernd.dat", "kurs/"}, {"-o", "kurs/anna.dat", "kursverweis"},
            {"-o", "verweis.csv", "kurs"}, {"-o", "verweis.csv", "kurs/bernd.dat"},
            {"--items", "daten.csv", "kurs"},
            {"-o", "extra/teilnehmer.bin", "kurs", "extra/../extra/teilnehmer.bin"}}) {
        const ProgramRun result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments[1] << " " << arguments[2];
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("wäre eine der Antwortdateien"), std::string::npos) << result.err;
    }
    expectFilesUnchanged();
    EXPECT_FALSE(exists(dir_ / "ergebnis.csv"));
}

TEST_F(Course, TablesBesideTheAnswerFilesAreFine)
{
    // Names that only look alike: another folder's anna.dat, and a second run onto the tables.
    for (int run = 0; run < 2; ++run) {
        const ProgramRun result = this->run({"-o", "extra/anna.dat", "--items", "kurs/fragen.csv",
            "kurs/anna.dat", "kurs/bernd.dat"});
        EXPECT_EQ(result.exitCode, 0) << result.err;
    }
    EXPECT_EQ(tableLines(readFile(dir_ / "extra/anna.dat")), table({kAnnaRow, kBerndRow}));
    EXPECT_TRUE(exists(dir_ / "kurs/fragen.csv"));
    expectFilesUnchanged();
}

TEST_F(Course, BothTablesUnderOneNameAreRefused)
{
    const ProgramRun result = run({"-o", "e.csv", "--items", "./e.csv", "kurs/anna.dat"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err,
        "quendral-batch: Ergebnistabelle und Itemanalyse dürfen nicht dieselbe "
        "Datei sein\n");
    EXPECT_FALSE(exists(dir_ / "e.csv"));
}

TEST(Folder, TakesItsDatFilesInNameOrderAndNothingElse)
{
    const TemporaryFolder dir;
    const std::vector<std::string> taken{"B.dat", "a.dat", "a10.dat", "a2.dat", "b.dat", "ü.dat"};
    for (const char* name : {"b.dat", "ü.dat", "a2.dat", "B.dat", "a10.dat", "a.dat", "c.DAT",
             "d.dat.bak", "e.txt", "dat", ".dat", ".h.dat"}) {
        AnswerRecord record;
        record.bytes[0] = static_cast<std::uint8_t>(name[0]);
        writeFile(dir / ("ordner/" + std::string(name)), recordBytes(record));
    }
    std::filesystem::create_directory(dir / "ordner/z.dat");

    const ProgramRun result = runProgram({"ordner"}, dir.path());
    EXPECT_EQ(result.exitCode, 0);
    std::vector<std::string> expected{kResultsHeader};
    for (const std::string& name : taken)
        expected.push_back("ordner/" + name + ";;;;;;;0;0");
    EXPECT_EQ(tableLines(result.out), expected);
}

TEST(Folder, EmptyFolderGivesOnlyTheHeader)
{
    const TemporaryFolder dir;
    std::filesystem::create_directory(dir / "leer");
    const ProgramRun result = runProgram({"leer"}, dir.path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, kBom + kResultsHeader + "\r\n");
}

// ---------------------------------------------------------------- command line

struct BadLineCase {
    const char* name;
    std::vector<std::string> arguments;
};

void PrintTo(const BadLineCase& c, std::ostream* os)
{
    *os << c.name;
}

class BadCommandLine : public ::testing::TestWithParam<BadLineCase> { };

TEST_P(BadCommandLine, ExitsWithTwoAndReadsNothing)
{
    const TemporaryFolder dir;
    AnswerRecord record;
    setDone(record, {1});
    writeFile(dir / "a.dat", recordBytes(record));
    const ProgramRun result = runProgram(GetParam().arguments, dir.path());
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("quendral-batch: ")) << result.err;
    EXPECT_NE(result.err.find("Aufruf: quendral-batch"), std::string::npos) << result.err;
    EXPECT_FALSE(exists(dir / "e.csv"));
    EXPECT_FALSE(exists(dir / "a-Detail.txt"));
}

INSTANTIATE_TEST_SUITE_P(Lines, BadCommandLine,
    ::testing::Values(BadLineCase{"NoArguments", {}},
        BadLineCase{"NoPath", {"--reports", "-o", "e.csv"}},
        BadLineCase{"UnknownOption", {"--reports", "--berichte", "a.dat"}},
        BadLineCase{"MissingFileName", {"a.dat", "--reports", "-o"}},
        BadLineCase{"ResultsTwice", {"-o", "e.csv", "-o", "f.csv", "--reports", "a.dat"}},
        BadLineCase{"BothTablesInOneFile", {"-o", "e.csv", "--items", "e.csv", "a.dat"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Help, IsGermanOnStandardOutput)
{
    const TemporaryFolder dir;
    const ProgramRun result = runProgram({"--help"}, dir.path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(result.out.starts_with(
        "Aufruf: quendral-batch [-o ERGEBNIS.csv] [--items FRAGEN.csv] [--blocks BLÖCKE.csv]\n"
        "                      [--pdf KURSBERICHT.pdf] [--reports] PFAD...\n"));
    for (const char* part : {"Rückgabewert", "Itemanalyse", "Detailauswertung", "Namensfolge",
             "Blocktabelle", "Kursbericht"})
        EXPECT_NE(result.out.find(part), std::string::npos) << part;
}

// ---------------------------------------------------------------- item analysis

// The line without its last `count` cells (none of the cells here holds a semicolon).
std::string withoutLastCells(const std::string& line, int count)
{
    std::size_t end = line.size();
    for (int i = 0; i < count && end != std::string::npos; ++i)
        end = line.rfind(';', end - 1);
    return end == std::string::npos ? line : line.substr(0, end);
}

TEST(ItemAnalysis, SharesOfThreeKnownParticipants)
{
    // Blocks 1 to 4 are worked by all three, block 5 not by the one who ticked everything,
    // block 6 not by the one who ticked nothing; a short file does not count. The columns
    // the table had before the discrimination figures keep their names, order and values.
    const TemporaryFolder dir;
    AnswerRecord key;
    AnswerRecord nothing;
    AnswerRecord everything;
    for (int block = 1; block <= 6; ++block) {
        fillBlock(key, block, Fill::Key);
        fillBlock(nothing, block, Fill::Nothing);
        fillBlock(everything, block, Fill::Everything, 2);
    }
    setDone(key, {1, 2, 3, 4, 5, 6});
    setDone(nothing, {1, 2, 3, 4, 5});
    setDone(everything, {1, 2, 3, 4, 6});
    writeFile(dir / "kurs/1-schluessel.dat", recordBytes(key));
    writeFile(dir / "kurs/2-leer.dat", recordBytes(nothing));
    writeFile(dir / "kurs/3-voll.dat", recordBytes(everything));
    writeFile(dir / "kurs/4-kurz.dat", recordBytes(key, 100));

    const ProgramRun result
        = runProgram({"--items", "fragen.csv", "-o", "ergebnis.csv", "kurs"}, dir.path());
    EXPECT_EQ(result.exitCode, 1);
    const std::vector<std::string> lines = tableLines(readFile(dir / "fragen.csv"));
    ASSERT_EQ(lines.size(), 1 + kOptionCount);
    EXPECT_EQ(lines[0],
        "Block;Frage;Option;Fragetext;Optionstext;Schlüssel;Bearbeitet;"
        "Übereinstimmung %;Angekreuzt %;Trennschärfe;Trennindex 27 %;Hinweis");

    // Per block and expected state: participants, agreement and tick shares.
    struct Expectation {
        const char* worked;
        const char* ifTicked;  // option expected ticked
        const char* ifClear;  // option expected clear
    };
    const Expectation byBlock[6] = {
        {"3", "66,7;66,7", "66,7;33,3"},
        {"3", "66,7;66,7", "66,7;33,3"},
        {"3", "66,7;66,7", "66,7;33,3"},
        {"3", "66,7;66,7", "66,7;33,3"},
        {"2", "50,0;50,0", "100,0;0,0"},
        {"2", "100,0;100,0", "50,0;50,0"},
    };

    std::size_t line = 1;
    for (int block = 1; block <= 6; ++block) {
        for (int n = 1; n <= reviewCatalogue(block).optionCount(); ++n, ++line) {
            const bool ticked = expectedTicked(block, n);
            const Expectation& e = byBlock[block - 1];
            EXPECT_EQ(withoutLastCells(lines[line], 3),
                itemRowStart(block, n) + ";" + e.worked + ";" + (ticked ? e.ifTicked : e.ifClear));
        }
    }
    // Written out once, so that a change of the tables shows here and not only above.
    // Block 1: totals 40 (key), 10 (nothing ticked) and 30 (everything). An option expected
    // ticked scores x = 1, 0, 1 against the rest 39, 10, 29: r = (16/3) / sqrt(2/9 * 434/3)
    // = 0.94; one expected clear scores 1, 1, 0 against 39, 9, 30: r = -0.23. The 27 % groups
    // are one participant each, the key (upper) and the empty one (lower).
    EXPECT_EQ(lines[1],
        "1;1;a;1. Was haben Projekte gemeinsam?;Interdisziplinäres Arbeiten;"
        "angekreuzt;3;66,7;66,7;0,94;1,00;");
    EXPECT_EQ(lines[18],
        "1;5;b;5. Was sind die Erfolgsfaktoren für Projektarbeit aus der Praxis?;Systematik;"
        "angekreuzt;3;66,7;66,7;0,94;1,00;");
    EXPECT_EQ(withoutLastCells(lines[1 + 188 + 21], 3),
        "3;6;b;6. Welche Wege zur Aufwandsschätzung gibt es?;"
        "\"\"\"Pi mal Daumen\"\"\";nicht angekreuzt;3;66,7;33,3");
    // Block 6 has two participants: too few for a Trennschärfe, one in each 27 % group; the
    // key (8 points, agrees with 2d) above the one who ticked everything (7, disagrees).
    EXPECT_EQ(lines[kOptionCount],
        "6;2;d;" + CollapseDoubleSpaces(kBlock6Catalogue.label(2).caption) + ";"
            + kBlock6Catalogue.box(8).caption + ";nicht angekreuzt;2;50,0;50,0;;1,00;");
}

TEST(ItemAnalysis, FileThatCannotBeWrittenIsNamed)
{
    const TemporaryFolder dir;
    writeFile(dir / "a.dat", recordBytes(AnswerRecord{}));
    std::filesystem::create_directory(dir / "fragen.csv");
    const ProgramRun result = runProgram({"--items", "fragen.csv", "a.dat"}, dir.path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(tableLines(result.out), table({"a.dat;;;;;;;0;0"}));
    EXPECT_EQ(result.err,
        "quendral-batch: Itemanalyse lässt sich nicht schreiben: fragen.csv "
        "(ist ein Ordner)\n");
}

// ---------------------------------------------------------------- reports

TEST_F(Course, ReportsLieBesideEachLoadedAnswerFile)
{
    const ProgramRun result = run({"--reports", "kurs", "extra/teilnehmer.bin"});
    EXPECT_EQ(result.exitCode, 1);  // dora.dat
    EXPECT_EQ(tableLines(result.out), table({kAnnaRow, kBerndRow, kCarlaRow, kExtraRow}));

    auto headings = [](const std::string& report) {
        std::vector<std::string> found;
        for (const std::string& line : crlfLines(report)) {
            if (line.starts_with("Fragen zu Kapitel "))
                found.push_back(line.substr(18, 1));
        }
        return found;
    };
    const std::string anna = readFile(dir_ / "kurs/anna-Detail.txt");
    EXPECT_TRUE(anna.starts_with(kReportHeader));
    EXPECT_EQ(headings(anna), (std::vector<std::string>{"1", "2", "4"}));
    EXPECT_EQ(headings(readFile(dir_ / "kurs/bernd-Detail.txt")),
        (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(readFile(dir_ / "kurs/carla-Detail.txt"), kReportHeader);
    EXPECT_EQ(readFile(dir_ / "extra/teilnehmer.bin-Detail.txt"),
        kReportHeader + "Fragen zu Kapitel 6: PM-Software-Werkzeuge\r\n"
            + CollapseDoubleSpaces(kBlock6Catalogue.label(1).caption) + "\r\n\r\n"
            + CollapseDoubleSpaces(kBlock6Catalogue.label(2).caption) + "\r\n\r\n");
    EXPECT_FALSE(exists(dir_ / "kurs/dora-Detail.txt"));
    EXPECT_FALSE(exists(dir_ / "kurs/unterordner-Detail.txt"));
    expectFilesUnchanged();
}

TEST_F(Course, ReportReplacesAnOlderOne)
{
    writeFile(dir_ / "kurs/carla-Detail.txt", std::string(10000, 'x'));
    EXPECT_EQ(run({"--reports", "kurs/carla.dat"}).exitCode, 0);
    EXPECT_EQ(readFile(dir_ / "kurs/carla-Detail.txt"), kReportHeader);
}

TEST_F(Course, ReportThatCannotBeWrittenIsNamedAndTheOthersGoOn)
{
    std::filesystem::create_directory(dir_ / "kurs/bernd-Detail.txt");
    const ProgramRun result
        = run({"--reports", "kurs/anna.dat", "kurs/bernd.dat", "kurs/carla.dat"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(tableLines(result.out), table({kAnnaRow, kBerndRow, kCarlaRow}));
    EXPECT_EQ(result.err,
        "quendral-batch: Auswertdatei lässt sich nicht schreiben: "
        "kurs/bernd-Detail.txt (ist ein Ordner)\n");
    EXPECT_TRUE(exists(dir_ / "kurs/anna-Detail.txt"));
    EXPECT_TRUE(exists(dir_ / "kurs/carla-Detail.txt"));
}

TEST_F(Course, ReportNeverReplacesAnAnswerFile)
{
    // The report of anna.dat would be anna-Detail.txt, which is itself an answer file here.
    put("kurs/anna-Detail.txt", readFile(dir_ / "kurs/bernd.dat"));
    const ProgramRun result = run({"--reports", "kurs/anna.dat", "kurs/anna-Detail.txt"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(tableLines(result.out),
        table({kAnnaRow, "kurs/anna-Detail.txt;75;46;57;57;65;87;195;348"}));
    EXPECT_EQ(result.err,
        "quendral-batch: Auswertdatei wird nicht geschrieben, sie ist eine der "
        "Antwortdateien: kurs/anna-Detail.txt\n");
    EXPECT_TRUE(exists(dir_ / "kurs/anna-Detail.txt-Detail.txt"));
    expectFilesUnchanged();
}

}  // namespace
