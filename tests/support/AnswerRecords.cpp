#include "AnswerRecords.h"

#include "AnswerKey.h"
#include "Blocks.h"

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

}  // namespace quendral::test
