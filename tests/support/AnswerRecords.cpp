#include "AnswerRecords.h"

#include "AnswerKey.h"
#include "Blocks.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace quendral::test {

void fillBlock(AnswerRecord& record, int block, Fill fill, std::uint8_t tick)
{
    const BlockInfo& info = blockInfo(block);
    for (int i = 0; i < info.options(); ++i) {
        const std::size_t offset = info.firstByte + static_cast<std::size_t>(i);
        const bool ticked = fill == Fill::Everything
            || (fill == Fill::Key && expectedAt(offset) == Expected::Ticked);
        record.bytes[offset] = ticked ? tick : 0;
    }
}

void setDone(AnswerRecord& record, std::initializer_list<int> blocks, std::uint8_t flag)
{
    for (int block : blocks)
        record.bytes[kDoneFlagBase + static_cast<std::size_t>(block)] = flag;
}

void setAgreement(AnswerRecord& record, int block, std::string_view agreement)
{
    const BlockInfo& info = blockInfo(block);
    if (agreement.size() != static_cast<std::size_t>(info.options()))
        throw std::invalid_argument("one digit per option of the block");
    for (std::size_t i = 0; i < agreement.size(); ++i) {
        const std::size_t offset = info.firstByte + i;
        const bool keyTicked = expectedAt(offset) == Expected::Ticked;
        record.bytes[offset] = (agreement[i] == '1') == keyTicked ? 1 : 0;
    }
    record.bytes[kDoneFlagBase + static_cast<std::size_t>(block)] = 1;
}

AnswerRecord randomRecord(std::mt19937& rng)
{
    std::uniform_int_distribution<int> value(0, 509);
    AnswerRecord record;
    for (std::uint8_t& byte : record.bytes) {
        const int v = value(rng);
        byte = static_cast<std::uint8_t>(v < 255 ? 0 : v - 254);
    }
    return record;
}

std::vector<AnswerRecord> abilityCourse(std::size_t participants, std::initializer_list<int> blocks,
    std::initializer_list<std::size_t> reversed, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> abilities(0, 1);
    std::uniform_real_distribution<double> uniform(0, 1);
    std::vector<AnswerRecord> records(participants);
    std::string agreement;
    for (AnswerRecord& record : records) {
        const double ability = abilities(random);
        for (const int block : blocks) {
            const BlockInfo& info = blockInfo(block);
            agreement.clear();
            for (int i = 0; i < info.options(); ++i) {
                const std::size_t offset = info.firstByte + static_cast<std::size_t>(i);
                const double difficulty = -0.5 + (i % 5) * 0.2;
                const bool turned
                    = std::find(reversed.begin(), reversed.end(), offset) != reversed.end();
                const double lean = (turned ? -2.0 : 2.0) * (ability - difficulty);
                agreement += uniform(random) < 1 / (1 + std::exp(-lean)) ? '1' : '0';
            }
            setAgreement(record, block, agreement);
        }
    }
    return records;
}

}  // namespace quendral::test
