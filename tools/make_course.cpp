// Writes the sample course examples/kurs: 30 participants of the ability model who worked
// every block, with options 2.14c and 5.3d keyed the wrong way round, so that the course
// report has something to point out. Usage: make_course [output folder]; without an argument
// it writes the project's examples/kurs. Files already there are replaced.

#include "AbilityCourse.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    const std::filesystem::path folder = argc > 1 ? argv[1] : QUENDRAL_COURSE_DIR;
    std::filesystem::create_directories(folder);
    const std::vector<quendral::AnswerRecord> records = quendral::model::abilityCourse(
        30, {1, 2, 3, 4, 5, 6}, {81 + 4 * 13 + 2, 361 + 4 * 2 + 3}, 2026);
    for (std::size_t i = 0; i < records.size(); ++i) {
        char name[48];
        std::snprintf(name, sizeof name, "teilnehmer-%02zu.dat", i + 1);
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(records[i].bytes.data()),
            static_cast<std::streamsize>(records[i].bytes.size()));
        if (!out) {
            std::fprintf(stderr, "make_course: %s lässt sich nicht schreiben\n", name);
            return 1;
        }
    }
    std::printf("%zu Antwortdateien in %s\n", records.size(), folder.c_str());
    return 0;
}
