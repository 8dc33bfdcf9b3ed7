// The command line: what each accepted form sets, and every form that is refused.

#include "CommandLine.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

using namespace quendral::batch;

namespace {

CommandLine parse(const std::vector<std::string>& arguments)
{
    const std::vector<std::string_view> views(arguments.begin(), arguments.end());
    return parseCommandLine(views);
}

struct AcceptedCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string resultsFile;
    std::string itemsFile;
    bool reports;
    std::vector<std::string> paths;
    std::string blocksFile = {};
    std::string pdfFile = {};
};

void PrintTo(const AcceptedCase& c, std::ostream* os)
{
    *os << c.name;
}

class Accepted : public ::testing::TestWithParam<AcceptedCase> { };

TEST_P(Accepted, SetsTheOptionsAndKeepsThePathsInOrder)
{
    const AcceptedCase& c = GetParam();
    const CommandLine line = parse(c.arguments);
    ASSERT_EQ(line.action, CommandLine::Action::Run) << line.error;
    EXPECT_EQ(line.options.resultsFile, c.resultsFile);
    EXPECT_EQ(line.options.itemsFile, c.itemsFile);
    EXPECT_EQ(line.options.reports, c.reports);
    EXPECT_EQ(line.options.paths, c.paths);
    EXPECT_EQ(line.options.blocksFile, c.blocksFile);
    EXPECT_EQ(line.options.pdfFile, c.pdfFile);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Forms, Accepted,
    ::testing::Values(
        AcceptedCase{"OnePath", {"kurs"}, "", "", false, {"kurs"}},
        AcceptedCase{"PathsInOrder", {"b.dat", "kurs/", "a.dat"}, "", "", false,
            {"b.dat", "kurs/", "a.dat"}},
        AcceptedCase{"ResultsFile", {"-o", "e.csv", "kurs"}, "e.csv", "", false, {"kurs"}},
        AcceptedCase{"ResultsFileAttached", {"-oe.csv", "kurs"}, "e.csv", "", false, {"kurs"}},
        AcceptedCase{"ItemsFile", {"--items", "f.csv", "kurs"}, "", "f.csv", false, {"kurs"}},
        AcceptedCase{"ItemsFileWithEquals", {"--items=f.csv", "kurs"}, "", "f.csv", false,
            {"kurs"}},
        AcceptedCase{"Reports", {"--reports", "kurs"}, "", "", true, {"kurs"}},
        AcceptedCase{"OptionsAfterPaths", {"kurs", "--reports", "-o", "e.csv", "x.dat"},
            "e.csv", "", true, {"kurs", "x.dat"}},
        AcceptedCase{"Everything", {"-o", "e.csv", "--items", "f.csv", "--reports", "kurs"},
            "e.csv", "f.csv", true, {"kurs"}},
        AcceptedCase{"DashDashEndsOptions", {"--", "-o", "--reports"}, "", "", false,
            {"-o", "--reports"}},
        AcceptedCase{"LoneDashIsAPath", {"-"}, "", "", false, {"-"}},
        AcceptedCase{"FileNamedLikeAnOption", {"-o", "--reports", "kurs"}, "--reports", "",
            false, {"kurs"}},
        AcceptedCase{"BlocksAndPdf", {"--blocks", "b.csv", "--pdf", "k.pdf", "kurs"}, "", "",
            false, {"kurs"}, "b.csv", "k.pdf"},
        AcceptedCase{"BlocksAndPdfWithEquals", {"--blocks=b.csv", "--pdf=k.pdf", "kurs"}, "", "",
            false, {"kurs"}, "b.csv", "k.pdf"},
        AcceptedCase{"PdfOnStandardOutput", {"-o", "e.csv", "--pdf", "-", "kurs"}, "e.csv", "",
            false, {"kurs"}, "", "-"},
        AcceptedCase{"BlocksOnStandardOutput", {"--blocks", "-", "-o", "e.csv", "kurs"}, "e.csv",
            "", false, {"kurs"}, "-"},
        AcceptedCase{"AllFour", {"-o", "e.csv", "--items", "f.csv", "--blocks", "b.csv", "--pdf",
            "k.pdf", "kurs"}, "e.csv", "f.csv", false, {"kurs"}, "b.csv", "k.pdf"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct RefusedCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string messagePart;
};

void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << c.name;
}

class Refused : public ::testing::TestWithParam<RefusedCase> { };

TEST_P(Refused, GivesAGermanReason)
{
    const CommandLine line = parse(GetParam().arguments);
    ASSERT_EQ(line.action, CommandLine::Action::Error);
    EXPECT_NE(line.error.find(GetParam().messagePart), std::string::npos) << line.error;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Forms, Refused,
    ::testing::Values(
        RefusedCase{"Nothing", {}, "keine Antwortdatei"},
        RefusedCase{"OnlyOptions", {"--reports", "-o", "e.csv"}, "keine Antwortdatei"},
        RefusedCase{"UnknownLongOption", {"--bericht", "kurs"},
            "unbekannte Option „--bericht“"},
        RefusedCase{"UnknownShortOption", {"-x", "kurs"}, "unbekannte Option „-x“"},
        RefusedCase{"ItemsWithoutName", {"kurs", "--items"},
            "zu „--items“ fehlt der Dateiname"},
        RefusedCase{"ItemsWithEmptyName", {"--items=", "kurs"},
            "zu „--items“ fehlt der Dateiname"},
        RefusedCase{"ResultsWithoutName", {"kurs", "-o"}, "zu „-o“ fehlt der Dateiname"},
        RefusedCase{"ResultsTwice", {"-o", "a.csv", "-o", "b.csv", "kurs"},
            "„-o“ ist mehrfach angegeben"},
        RefusedCase{"ItemsTwice", {"--items", "a.csv", "--items=b.csv", "kurs"}, "mehrfach"},
        RefusedCase{"SameFileForBoth", {"-o", "a.csv", "--items", "a.csv", "kurs"},
            "dieselbe Datei"},
        RefusedCase{"BlocksLikeItems", {"--items", "a.csv", "--blocks", "a.csv", "kurs"},
            "Itemanalyse und Blocktabelle dürfen nicht dieselbe Datei sein"},
        RefusedCase{"PdfLikeResults", {"-o", "k.pdf", "--pdf", "k.pdf", "kurs"},
            "Ergebnistabelle und Kursbericht dürfen nicht dieselbe Datei sein"},
        RefusedCase{"PdfWithoutName", {"kurs", "--pdf"}, "zu „--pdf“ fehlt der Dateiname"},
        RefusedCase{"BlocksWithEmptyName", {"--blocks=", "kurs"},
            "zu „--blocks“ fehlt der Dateiname"},
        RefusedCase{"PdfTwice", {"--pdf", "a.pdf", "--pdf=b.pdf", "kurs"},
            "„--pdf“ ist mehrfach angegeben"},
        RefusedCase{"PdfAndResultsOnStandardOutput", {"--pdf", "-", "kurs"},
            "Ergebnistabelle und Kursbericht können nicht beide auf die Standardausgabe"},
        RefusedCase{"ThreeOnStandardOutput", {"--items", "-", "--blocks", "-", "kurs"},
            "Ergebnistabelle, Itemanalyse und Blocktabelle können nicht alle auf die "
            "Standardausgabe"},
        RefusedCase{"PdfNameRunOn", {"--pdfk.pdf", "kurs"}, "unbekannte Option „--pdfk.pdf“"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(CommandLineHelp, AskedForByEitherName)
{
    EXPECT_EQ(parse({"-h"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parse({"kurs", "--help"}).action, CommandLine::Action::Help);
}

}  // namespace
