#pragma once

// Block scoring: one point per option whose tick state agrees with the answer key.

#include "AnswerRecord.h"

#include <cstddef>
#include <cstdint>

namespace quendral {

// True when the option byte at `offset` agrees with its expected state.
bool agreesWithKey(const AnswerRecord& record, std::size_t offset);

// Number of agreeing options of `block` (1..6); between 0 and the block's option count.
std::uint16_t countAgreeing(const AnswerRecord& record, int block);

// count x 100 / option count of the block, remainder discarded: 0..100.
unsigned percentage(int block, std::uint16_t count);

}  // namespace quendral
