// The printed course report of the real program, read back with poppler's tools: it opens
// and renders page by page (pdftoppm), has its pages in order, and pdftotext finds on it the
// block table's rows, every participant's row and every option whose key is to be checked,
// with the numbers of the CSV files of the same run. It is made without any display, and it
// is written like every other output: never over an answer file, never half.

#include "BatchFixtures.h"

#include "Blocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

using namespace quendral;
using namespace quendral::batch::test;
namespace fs = std::filesystem;

namespace {

// Neither a display nor a platform choice reaches the program: the report needs none.
const std::vector<std::string> kHeadless = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};

std::vector<std::string> cellsOf(const std::string& line)
{
    std::vector<std::string> cells;
    std::stringstream in(line);
    for (std::string cell; std::getline(in, cell, ';');)
        cells.push_back(cell);
    if (!line.empty() && line.back() == ';')
        cells.emplace_back();
    return cells;
}

// True when one line of `text` holds the non-empty `cells` in this order, apart by blanks.
bool hasRow(const std::string& text, const std::vector<std::string>& cells)
{
    std::string pattern = "(^|\\n)[ \\t]*";
    bool first = true;
    for (const std::string& cell : cells) {
        if (cell.empty())
            continue;
        if (!first)
            pattern += "[ \\t]+";
        first = false;
        pattern += std::regex_replace(cell, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
    }
    return std::regex_search(text, std::regex(pattern + "[ \\t]*(\\n|$)"));
}

class Report : public ::testing::Test {
protected:
    // 130 participants of the ability model on blocks 2, 5 and 6 (three pages of results),
    // with two options keyed the wrong way round, and one file too short to load.
    static void SetUpTestSuite()
    {
        dir_ = new TemporaryFolder;
        const std::vector<AnswerRecord> records
            = abilityCourse(130, {2, 5, 6}, {81 + 4 * 13 + 2, 361 + 4 * 2 + 3}, 77);
        for (std::size_t i = 0; i < records.size(); ++i) {
            char name[48];
            std::snprintf(name, sizeof name, "kurs/t%03zu.dat", i);
            writeFile(*dir_ / name, recordBytes(records[i]));
        }
        writeFile(*dir_ / "kurs/zu-kurz.dat", std::string(100, '\1'));
        run_ = new ProgramRun(runCommand({QUENDRAL_BATCH_EXE, "-o", "e.csv", "--items", "f.csv",
                                             "--blocks", "b.csv", "--pdf", "k.pdf", "kurs"},
            dir_->path(), {}, kHeadless));
    }
    static void TearDownTestSuite()
    {
        delete run_;
        delete dir_;
    }

    static std::vector<std::string> csvLines(const std::string& name)
    {
        return crlfLines(readFile(*dir_ / name).substr(3));
    }
    static int pageCount()
    {
        const ProgramRun info = runCommand({"pdfinfo", "k.pdf"}, dir_->path());
        std::smatch pages;
        if (!std::regex_search(info.out, pages, std::regex("Pages:[ ]+([0-9]+)")))
            return 0;
        return std::stoi(pages[1]);
    }
    static std::string pageText(int page)
    {
        const std::string number = std::to_string(page);
        return runCommand(
            {"pdftotext", "-layout", "-f", number, "-l", number, "k.pdf", "-"}, dir_->path())
            .out;
    }

    static TemporaryFolder* dir_;
    static ProgramRun* run_;
};

TemporaryFolder* Report::dir_ = nullptr;
ProgramRun* Report::run_ = nullptr;

TEST_F(Report, IsWrittenWithoutADisplayAndSaysOnlyWhatFailed)
{
    EXPECT_EQ(run_->exitCode, 1);
    EXPECT_EQ(run_->err,
        "quendral-batch: Datei lässt sich nicht lesen: kurs/zu-kurz.dat (kürzer als 395 "
        "Bytes)\n");
    EXPECT_TRUE(readFile(*dir_ / "k.pdf").starts_with("%PDF-"));
}

TEST_F(Report, RendersEveryPage)
{
    const int pages = pageCount();
    ASSERT_GE(pages, 6);
    fs::create_directory(*dir_ / "bilder");
    const ProgramRun rendered
        = runCommand({"pdftoppm", "-r", "20", "-png", "k.pdf", "bilder/seite"}, dir_->path());
    EXPECT_EQ(rendered.exitCode, 0) << rendered.err;
    EXPECT_EQ(rendered.err, "");
    EXPECT_EQ(
        std::distance(fs::directory_iterator(*dir_ / "bilder"), fs::directory_iterator()), pages);
}

TEST_F(Report, HasItsPagesInOrder)
{
    const int pages = pageCount();
    ASSERT_GE(pages, 6);
    const std::string first = pageText(1);
    for (const char* part : {"Quendral-Kursbericht", "Ausgewertet: kurs",
             "Datum: ", "Ausgewertete Antwortdateien: 130", "Nicht lesbar: 1",
             "kurs/zu-kurz.dat (kürzer als 395 Bytes)", "Blöcke", "Verteilung der Blockprozente",
             "QUARTILE.INKL", "1,5-fachen Quartilsabstands", "Tukey"})
        EXPECT_NE(first.find(part), std::string::npos) << part;

    // The results on pages 2 to 4, the header on each of them; then the item map, then the
    // options with a note.
    for (int page = 2; page <= 4; ++page) {
        const std::string text = pageText(page);
        // The first title wraps ("Über- / und / Einblick"); its last line stands in the row.
        EXPECT_TRUE(hasRow(text,
            {"Datei", "Einblick", "Start", "Planung", "Steuerung", "Abschluss", "PM-SW-Werkzeuge",
                "Punkte", "Optionen"}))
            << "page " << page;
        EXPECT_NE(text.find("Seite " + std::to_string(page)), std::string::npos);
    }
    EXPECT_NE(pageText(2).find("Ergebnisse der Teilnehmer"), std::string::npos);
    EXPECT_NE(pageText(5).find("Itemkarte"), std::string::npos);
    EXPECT_NE(pageText(6).find("Optionen mit Hinweis"), std::string::npos);
}

TEST_F(Report, ShowsTheNumbersOfTheTables)
{
    const std::string first = pageText(1);
    const std::vector<std::string> blocks = csvLines("b.csv");
    ASSERT_EQ(blocks.size(), 1u + kBlockCount);
    for (std::size_t row = 1; row < blocks.size(); ++row)
        EXPECT_TRUE(hasRow(first, cellsOf(blocks[row]))) << blocks[row];

    std::string results;
    for (int page = 2; page <= 4; ++page)
        results += pageText(page);
    const std::vector<std::string> participants = csvLines("e.csv");
    ASSERT_EQ(participants.size(), 131u);
    for (std::size_t row = 1; row < participants.size(); ++row)
        EXPECT_TRUE(hasRow(results, cellsOf(participants[row]))) << participants[row];
}

TEST_F(Report, LabelsEveryOptionWhoseKeyIsToBeChecked)
{
    std::vector<std::string> flagged;
    for (const std::string& line : csvLines("f.csv")) {
        const std::vector<std::string> cells = cellsOf(line);
        if (cells.back().find("Schlüssel prüfen") != std::string::npos)
            flagged.push_back(cells[0] + "." + cells[1] + cells[2]);
    }
    EXPECT_EQ(flagged, (std::vector<std::string>{"2.14c", "5.3d"}));
    const std::string map = pageText(5);
    std::string notes;
    for (int page = 6; page <= pageCount(); ++page)
        notes += pageText(page);
    for (const std::string& label : flagged) {
        EXPECT_NE(map.find(label), std::string::npos) << label;
        EXPECT_NE(notes.find(label + ": Schlüssel prüfen"), std::string::npos) << label;
    }
}

// ---------------------------------------------------------------- as an output

class ReportOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        AnswerRecord record;
        fillBlock(record, 6, Fill::Key);
        setDone(record, {6});
        answer_ = recordBytes(record);
        writeFile(dir_ / "kurs/a.dat", answer_);
    }
    ProgramRun run(const std::vector<std::string>& arguments, RunLimits limits = {}) const
    {
        std::vector<std::string> command{QUENDRAL_BATCH_EXE};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return runCommand(command, dir_.path(), limits, kHeadless);
    }
    std::vector<std::string> listing() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir_.path()))
            names.push_back(entry.path().lexically_relative(dir_.path()).string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TemporaryFolder dir_;
    std::string answer_;
};

TEST_F(ReportOutput, GoesToStandardOutputForADash)
{
    const ProgramRun result = run({"-o", "e.csv", "--pdf", "-", "kurs"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.starts_with("%PDF-"));
    EXPECT_NE(result.out.find("%%EOF"), std::string::npos);
    EXPECT_TRUE(exists(dir_ / "e.csv"));
}

TEST_F(ReportOutput, OfACourseWithoutParticipantsSaysSo)
{
    fs::create_directory(dir_ / "leer");
    const ProgramRun result = run({"--pdf", "k.pdf", "leer"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::string text = runCommand({"pdftotext", "k.pdf", "-"}, dir_.path()).out;
    for (const char* part : {"Ausgewertete Antwortdateien: 0", "Keine Antwortdatei ließ sich",
             "Keine Option hat einen Hinweis"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
}

TEST_F(ReportOutput, ThatCannotBeWrittenIsNamed)
{
    const ProgramRun result = run({"--pdf", "fehlt/k.pdf", "kurs"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
        "quendral-batch: Kursbericht lässt sich nicht schreiben: fehlt/k.pdf (nicht "
        "vorhanden)\n");
}

TEST_F(ReportOutput, NeverTakesAnAnswerFilesPlace)
{
    const ProgramRun result = run({"--pdf", "kurs/a.dat", "kurs"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("der Kursbericht „kurs/a.dat“ wäre eine der Antwortdateien"),
        std::string::npos)
        << result.err;
    EXPECT_EQ(readFile(dir_ / "kurs/a.dat"), answer_);
}

TEST_F(ReportOutput, CutShortLeavesTheEarlierReportAndNoTemporaryFile)
{
    writeFile(dir_ / "k.pdf", "frühere Fassung");
    const std::vector<std::string> before = listing();
    const ProgramRun result = run({"-o", "/dev/null", "--pdf", "k.pdf", "kurs"}, {20000, 4096});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
        "quendral-batch: Kursbericht lässt sich nicht schreiben: k.pdf (Datei zu groß)\n");
    EXPECT_EQ(readFile(dir_ / "k.pdf"), "frühere Fassung");
    EXPECT_EQ(listing(), before);
    EXPECT_EQ(readFile(dir_ / "kurs/a.dat"), answer_);
}

TEST_F(ReportOutput, WithoutItsModuleIsToldAndTheTablesAreStillWritten)
{
    // The program alone in a folder of its own, where the module beside it is missing.
    fs::create_directories(dir_ / "ohne/bin");
    fs::copy_file(QUENDRAL_BATCH_EXE, dir_ / "ohne/bin/quendral-batch");
    const ProgramRun result = runCommand({dir_ / "ohne/bin/quendral-batch", "-o", "e.csv",
                                             "--blocks", "b.csv", "--pdf", "k.pdf", "kurs"},
        dir_.path(), {}, kHeadless);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
        "quendral-batch: Kursbericht lässt sich nicht erstellen (Baustein für PDF fehlt: "
            + dir_ / "ohne/lib/quendral/plugins/quendral-batch-pdf.so)\n");
    EXPECT_TRUE(exists(dir_ / "e.csv"));
    EXPECT_TRUE(exists(dir_ / "b.csv"));
    EXPECT_FALSE(exists(dir_ / "k.pdf"));
}

}  // namespace
