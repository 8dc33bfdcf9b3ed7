#include "BlockScore.h"

#include "AnswerKey.h"
#include "Blocks.h"

namespace quendral {

bool agreesWithKey(const AnswerRecord& record, std::size_t offset)
{
    return record.isTicked(offset) == (expectedAt(offset) == Expected::Ticked);
}

std::uint16_t countAgreeing(const AnswerRecord& record, int block)
{
    const BlockInfo& info = blockInfo(block);
    std::uint16_t count = 0;
    for (int i = 0; i < info.options(); ++i)
        count += agreesWithKey(record, info.firstByte + static_cast<std::size_t>(i)) ? 1 : 0;
    return count;
}

unsigned percentage(int block, std::uint16_t count)
{
    return static_cast<unsigned>(count) * 100u / static_cast<unsigned>(blockInfo(block).options());
}

}  // namespace quendral
