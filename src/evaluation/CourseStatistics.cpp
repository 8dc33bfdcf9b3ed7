#include "CourseStatistics.h"

#include "BlockScore.h"

namespace quendral {

void CourseStatistics::add(const AnswerRecord& record)
{
    ++participants_;
    for (const BlockInfo& info : kBlocks) {
        if (!record.isDone(info.number))
            continue;
        ++worked_[static_cast<std::size_t>(info.number - 1)];
        for (int i = 0; i < info.options(); ++i) {
            const std::size_t offset = info.firstByte + static_cast<std::size_t>(i);
            agreeing_[offset - kFirstOptionByte] += agreesWithKey(record, offset) ? 1 : 0;
            ticked_[offset - kFirstOptionByte] += record.isTicked(offset) ? 1 : 0;
        }
    }
}

}  // namespace quendral
