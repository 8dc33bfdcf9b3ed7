// Names of the report and of the window picture, derived from the answer file's path.

#include "FileNames.h"

#include <gtest/gtest.h>

#include <string>
#include <ostream>

using namespace quendral;

namespace {

struct NameCase {
    const char* answerPath;
    const char* expected;
};

void PrintTo(const NameCase& c, std::ostream* os)
{
    *os << '"' << c.answerPath << '"';
}

class ReportFileName : public ::testing::TestWithParam<NameCase> { };

TEST_P(ReportFileName, CutsTheFileNameAtItsFirstDat)
{
    EXPECT_EQ(reportFileName(GetParam().answerPath), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, ReportFileName,
    ::testing::Values(NameCase{"/daten/Quendral.dat", "/daten/Quendral-Detail.txt"},
        NameCase{"Quendral.dat", "Quendral-Detail.txt"},
        // Folder names are never cut, only the file name.
        NameCase{"/daten/kurs.dat2026/Quendral.dat", "/daten/kurs.dat2026/Quendral-Detail.txt"},
        NameCase{"/x.data/Quendral.dat", "/x.data/Quendral-Detail.txt"},
        NameCase{"/x.dat/answers", "/x.dat/answers-Detail.txt"},
        // The search is case-sensitive.
        NameCase{"Quendral.DAT", "Quendral.DAT-Detail.txt"},
        NameCase{"/x/answers", "/x/answers-Detail.txt"},
        // Everything from the first ".dat" on goes.
        NameCase{"a.dat.bak", "a-Detail.txt"}, NameCase{"/d/a.dat.dat", "/d/a-Detail.txt"},
        NameCase{"/d/x.data", "/d/x-Detail.txt"}, NameCase{"/d/.dat", "/d/-Detail.txt"},
        NameCase{"/d/Pr\xC3\xBC"
                 "fung.dat",
            "/d/Pr\xC3\xBC"
            "fung-Detail.txt"}));

class PictureFileName : public ::testing::TestWithParam<NameCase> { };

TEST_P(PictureFileName, ReplacesTheLastThreeCharactersByJpg)
{
    EXPECT_EQ(pictureFileName(GetParam().answerPath), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, PictureFileName,
    ::testing::Values(NameCase{"/daten/Quendral.dat", "/daten/Quendral.jpg"},
        NameCase{"x.data", "x.djpg"}, NameCase{"answers", "answjpg"},
        NameCase{"/a.b.c/Quendral.dat", "/a.b.c/Quendral.jpg"},
        // Never the answer file itself.
        NameCase{"/daten/Quendral.jpg", "/daten/Quendral.jpg.jpg"},
        NameCase{"/d/x.JPG", "/d/x.jpg"},
        // Characters, not bytes: "ä" is two bytes in UTF-8.
        NameCase{"/d/abc\xC3\xA4", "/d/ajpg"},
        NameCase{"/d/Quendral.d\xC3\xA4t", "/d/Quendral.jpg"},
        NameCase{"/d/\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC",
            "/d/\xE2\x82\xAC"
            "jpg"},
        NameCase{"/d/Pr\xC3\xBC"
                 "fung.dat",
            "/d/Pr\xC3\xBC"
            "fung.jpg"},
        // A name shorter than three characters never cuts into its folder.
        NameCase{"/d/ab", "/d/jpg"}, NameCase{"/daten/a", "/daten/jpg"}));

}  // namespace
