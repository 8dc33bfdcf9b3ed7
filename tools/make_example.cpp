// Writes the sample answer file: one record of a participant who worked through blocks 1,
// 2 and 4 and mostly agrees with the answer key there, with deliberate deviations so that
// no bar reaches 100 %. Blocks 3, 5 and 6 are not worked through; block 3 and 6 still hold
// a few ticks from an abandoned start, which the evaluation must ignore.
// Usage: make_example [output file]; without an argument it writes the project's
// examples/Quendral.dat. It reads the file back and prints what the evaluation will show.

#include "AnswerKey.h"
#include "AnswerRecord.h"
#include "BlockScore.h"
#include "Blocks.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using namespace quendral;

// Per block: whether it was worked through, the options answered against the key
// ("question letter", e.g. "3b" = option b of question 3) and the score that gives.
struct BlockAnswers {
    bool done;
    const char* deviations;
    int expectedCount;
    unsigned expectedPercent;
};

// clang-format off
constexpr BlockAnswers kAnswers[kBlockCount] = {
    {true,  "1d 2a 3b 4a 5c 6d 7b 8a 9d 10b", 30, 75},
    {true,  "1b 2c 3a 4a 5d 6b 7c 8d 9a 10c 11b 12b 13d 14a 15b 16c 17a 18d"
            " 20a 21d 22c 24b 26c 28a 30d 32b 34a 36b", 120, 81},
    {false, "", 0, 0},
    {true,  "1a 2b 3c 4d 5b 6a 7d 8c 9b 10a 11d 12c 13b 14a 15b 16a 17c 18d 19a", 61, 76},
    {false, "", 0, 0},
    {false, "", 0, 0},
};
// clang-format on

// Ticks left in blocks that were not worked through: the key's answers to the first
// questions of block 3, and option a of question 1 of block 6.
constexpr int kAbandonedBlock3Questions = 5;

std::size_t offsetOf(int block, int question, int option)
{
    return blockInfo(block).firstByte + static_cast<std::size_t>(4 * (question - 1) + option);
}

bool applyDeviations(AnswerRecord& record, int block, const char* list)
{
    std::istringstream in(list);
    int question = 0;
    char letter = 0;
    while (in >> question >> letter) {
        if (question < 1 || question > blockInfo(block).questions || letter < 'a' || letter > 'd') {
            std::fprintf(stderr, "Block %d: ungültige Abweichung %d%c\n", block, question, letter);
            return false;
        }
        const std::size_t offset = offsetOf(block, question, letter - 'a');
        record.bytes[offset] = record.bytes[offset] ? 0 : 1;
    }
    return true;
}

AnswerRecord buildRecord(bool& ok)
{
    AnswerRecord record;
    // Bytes 0 to 40 belong to the questionnaire program; here a marker of this file.
    const char marker[] = "Quendral-Beispiel";
    std::memcpy(record.bytes.data(), marker, sizeof marker - 1);

    ok = true;
    for (int block = 1; block <= kBlockCount; ++block) {
        const BlockAnswers& answers = kAnswers[block - 1];
        if (!answers.done)
            continue;
        const BlockInfo& info = blockInfo(block);
        for (int i = 0; i < info.options(); ++i) {
            const std::size_t offset = info.firstByte + static_cast<std::size_t>(i);
            record.bytes[offset] = expectedAt(offset) == Expected::Ticked ? 1 : 0;
        }
        ok = applyDeviations(record, block, answers.deviations) && ok;
        record.bytes[kDoneFlagBase + static_cast<std::size_t>(block)] = 1;
    }
    for (int question = 1; question <= kAbandonedBlock3Questions; ++question)
        for (int option = 0; option < 4; ++option)
            if (expectedState(3, question, option) == Expected::Ticked)
                record.bytes[offsetOf(3, question, option)] = 1;
    record.bytes[offsetOf(6, 1, 0)] = 1;
    return record;
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::string path = argc > 1 ? argv[1] : QUENDRAL_EXAMPLE_FILE;

    bool ok = false;
    const AnswerRecord record = buildRecord(ok);
    if (!ok)
        return 1;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(record.bytes.data()),
            static_cast<std::streamsize>(record.bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "Datei %s kann nicht geschrieben werden.\n", path.c_str());
            return 1;
        }
    }

    // Read the file back as the evaluation does and report what it will show.
    AnswerRecord loaded;
    if (!loadAnswerRecord(path, loaded).ok() || loaded.bytes != record.bytes) {
        std::fprintf(stderr, "Datei %s lässt sich nicht zurücklesen.\n", path.c_str());
        return 1;
    }
    std::printf("%s: %zu Bytes\n", path.c_str(), loaded.bytes.size());
    bool asPlanned = true;
    for (int block = 1; block <= kBlockCount; ++block) {
        const BlockInfo& info = blockInfo(block);
        const BlockAnswers& answers = kAnswers[block - 1];
        if (!loaded.isDone(block)) {
            std::printf("Block %d (%s): nicht bearbeitet, Balken 0 %%\n", block, info.menuName);
            asPlanned = asPlanned && !answers.done;
            continue;
        }
        const std::uint16_t count = countAgreeing(loaded, block);
        const unsigned percent = percentage(block, count);
        std::printf("Block %d (%s): bearbeitet, %u von %d übereinstimmend, Balken %u %%\n", block,
            info.menuName, static_cast<unsigned>(count), info.options(), percent);
        asPlanned = asPlanned && answers.done && count == answers.expectedCount
            && percent == answers.expectedPercent;
    }
    if (!asPlanned) {
        std::fprintf(stderr, "Die Ergebnisse weichen von den geplanten ab.\n");
        return 1;
    }
    return 0;
}
