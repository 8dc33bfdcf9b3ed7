#include "AbilityCourse.h"

#include "AnswerKey.h"
#include "Blocks.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>
#include <string>

namespace quendral::model {

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

}  // namespace quendral::model
