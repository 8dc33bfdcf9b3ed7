// A course small enough to work out on paper, run through the real program: every cell of
// its results table, item analysis and block table is compared with figures computed by hand
// from the definitions (means, deviations, the 27 % groups, KR-20, the notes).

#include "BatchFixtures.h"

#include "AnswerKey.h"
#include "Catalogue.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace quendral;
using namespace quendral::batch::test;

namespace {

// Block 6, ten participants; a digit per option (1a 1b 1c 1d 2a 2b 2c 2d), 1 = agrees.
//
//            agreement   T   per cent   sorted by T, ties in table order
//   p00.dat  10110010    4   50         p04 7 | p02 5 | p03 5 || p05 5 | p00 4 | p07 4 |
//   p01.dat  10000011    3   37         p01 3 || p09 3 | p08 2 | p06 1
//   p02.dat  11010110    5   62
//   p03.dat  10001111    5   62         g = floor(0.27 x 10 + 0.5) = 3: the upper group is
//   p04.dat  11011111    7   87         p04, p02, p03 (not p05, tied with them), the lower
//   p05.dat  10110101    5   62         p09, p08, p06 (not p01, tied with p09).
//   p06.dat  10000000    1   12
//   p07.dat  10110100    4   50         Percentages 12 25 37 37 50 50 62 62 62 87: mean
//   p08.dat  10001000    2   25         48.4, median 50, STABW 21.6.
//   p09.dat  10100100    3   37
//
// Option 2a, by hand: x = 0001100010, rest y = T - x = 4 3 5 4 6 5 1 4 1 3; mean x 0.3,
// mean y 3.6; cov = 0.02, var x = 0.21, var y = 2.44; r = 0.02 / sqrt(0.21 x 2.44) = 0.028.
// Upper group agrees 2 of 3, lower 1 of 3: index 0.33. Facility exactly 30 % is not below
// 30 %, so only "trennt schwach" (0 <= r < 0.2).
// KR-20: k = 8, var T = 2.69, sum of p(1 - p) = 0 + .16 + .24 + .25 + .21 + .24 + .25 + .24
// = 1.59: alpha = 8/7 (1 - 1.59/2.69) = 0.467; error sqrt(2.69) sqrt(1 - 0.467) = 1.20.
constexpr std::array<const char*, 10> kBlock6 = {"10110010", "10000011", "11010110", "10001111",
    "11011111", "10110101", "10000000", "10110100", "10001000", "10100100"};

// The other blocks are edge rows: block 1 worked by nobody, block 2 by one participant
// (p00, the key), block 3 by two (p00 the key, p01 nothing ticked), block 4 by three who all
// match the key (no variance at all), block 5 by three (the key, nothing ticked, everything
// ticked), too few for notes.
class HandCourse : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (std::size_t i = 0; i < kBlock6.size(); ++i) {
            AnswerRecord record;
            setAgreement(record, 6, kBlock6[i]);
            if (i == 0) {
                for (int block : {2, 3, 4, 5})
                    fillBlock(record, block, Fill::Key);
                setDone(record, {2, 3, 4, 5});
            } else if (i == 1) {
                fillBlock(record, 3, Fill::Nothing);
                fillBlock(record, 4, Fill::Key);
                fillBlock(record, 5, Fill::Nothing);
                setDone(record, {3, 4, 5});
            } else if (i == 2) {
                fillBlock(record, 4, Fill::Key);
                fillBlock(record, 5, Fill::Everything);
                setDone(record, {4, 5});
            }
            fillBlock(record, 1, Fill::Key);  // ticks of a block not worked count for nothing
            writeFile(dir_ / ("kurs/p0" + std::to_string(i) + ".dat"), recordBytes(record));
        }
        const ProgramRun run = runProgram(
            {"-o", "e.csv", "--items", "f.csv", "--blocks", "b.csv", "kurs"}, dir_.path());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        ASSERT_EQ(run.err, "");
    }

    std::vector<std::string> lines(const std::string& name) const
    {
        const std::string bytes = readFile(dir_ / name);
        EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
        return crlfLines(bytes.substr(3));
    }

    TemporaryFolder dir_;
};

TEST_F(HandCourse, ResultsTable)
{
    EXPECT_EQ(lines("e.csv"),
        (std::vector<std::string>{
            "Datei;Über- und Einblick;Start;Planung;Steuerung;Abschluss;PM-SW-Werkzeuge;"
            "Punkte;Optionen",
            "kurs/p00.dat;;100;100;100;100;50;304;308",
            "kurs/p01.dat;;;42;100;35;37;112;160",
            "kurs/p02.dat;;;;100;65;62;98;108",
            "kurs/p03.dat;;;;;;62;5;8",
            "kurs/p04.dat;;;;;;87;7;8",
            "kurs/p05.dat;;;;;;62;5;8",
            "kurs/p06.dat;;;;;;12;1;8",
            "kurs/p07.dat;;;;;;50;4;8",
            "kurs/p08.dat;;;;;;25;2;8",
            "kurs/p09.dat;;;;;;37;3;8",
        }));
}

TEST_F(HandCourse, BlockTable)
{
    // Block 3: 100 and 42 %, STABW sqrt(29^2 + 29^2) = 41.0; block 5: 100, 35 and 65 %,
    // mean 66.7, STABW 32.5, alpha 20/19 (1 - 20 x 2/9 / (254/9)) = 0.89, error 1.79.
    EXPECT_EQ(lines("b.csv"),
        (std::vector<std::string>{
            "Block;Name;Teilnehmer;Mittelwert %;Median %;Standardabweichung %;Minimum %;"
            "Maximum %;Cronbachs Alpha;Messfehler (Punkte)",
            "1;Über- und Einblick;0;;;;;;;",
            "2;Projektstart;1;100,0;100,0;;100,0;100,0;;",
            "3;Projektplanung;2;71,0;71,0;41,0;42,0;100,0;;",
            "4;Projektsteuerung;3;100,0;100,0;0,0;100,0;100,0;;",
            "5;Projektabschluss;3;66,7;65,0;32,5;35,0;100,0;0,89;1,79",
            "6;PM-SW-Werkzeuge;10;48,4;50,0;21,6;12,0;87,0;0,47;1,20",
        }));
}

TEST_F(HandCourse, ItemAnalysis)
{
    // Worked, agreeing %, ticked %, Trennschärfe, index, note: for blocks 1 to 5 by the
    // key's state of the option (ticked, clear), for block 6 option by option.
    struct ByKey {
        const char* ticked;
        const char* clear;
    };
    const ByKey blocks1to5[5] = {
        {"0;;;;;", "0;;;;;"},
        {"1;100,0;100,0;;;", "1;100,0;0,0;;;"},
        {"2;50,0;50,0;;1,00;", "2;100,0;0,0;;0,00;"},
        {"3;100,0;100,0;;0,00;", "3;100,0;0,0;;0,00;"},
        // x = 1 0 1 against the rest 19 7 12, and x = 1 1 0 against 19 6 13.
        {"3;66,7;66,7;0,81;1,00;", "3;66,7;33,3;-0,04;0,00;"},
    };
    const char* block6[8] = {
        "10;100,0;100,0;;0,00;sehr leicht", "10;20,0;20,0;0,46;0,67;Schlüssel prüfen",
        "10;40,0;40,0;-0,24;-0,33;Schlüssel prüfen", "10;50,0;50,0;0,44;0,67;",
        "10;30,0;30,0;0,03;0,33;trennt schwach", "10;60,0;60,0;0,49;0,67;",
        "10;50,0;50,0;0,28;1,00;",
        "10;40,0;60,0;0,29;0,67;",  // 2d is expected clear: agreeing is not ticking
    };

    const std::vector<std::string> table = lines("f.csv");
    ASSERT_EQ(table.size(), 1 + kOptionCount);
    EXPECT_EQ(table[0],
        "Block;Frage;Option;Fragetext;Optionstext;Schlüssel;Bearbeitet;Übereinstimmung %;"
        "Angekreuzt %;Trennschärfe;Trennindex 27 %;Hinweis");
    std::size_t line = 1;
    for (int block = 1; block <= 6; ++block) {
        for (int n = 1; n <= reviewCatalogue(block).optionCount(); ++n, ++line) {
            const bool ticked = expectedTicked(block, n);
            const std::string figures = block == 6
                ? block6[n - 1]
                : (ticked ? blocks1to5[block - 1].ticked : blocks1to5[block - 1].clear);
            EXPECT_EQ(table[line], itemRowStart(block, n) + ";" + figures);
        }
    }
}

}  // namespace
