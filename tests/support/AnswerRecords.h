#pragma once

// Answer records made for tests and the benchmark: blocks filled in a known way, done
// flags, and random records that are the same on every run.

#include "AnswerRecord.h"

#include <cstdint>
#include <initializer_list>
#include <random>

namespace quendral::test {

enum class Fill { Nothing, Everything, Key };

// Sets the option bytes of `block`: all clear, all ticked, or as the key expects. Ticks
// are written as `tick`, which any non-zero value may stand for.
void fillBlock(AnswerRecord& record, int block, Fill fill, std::uint8_t tick = 1);
void setDone(AnswerRecord& record, std::initializer_list<int> blocks, std::uint8_t flag = 1);

// Half the bytes 0, the others anything from 1 to 255, drawn from `rng`.
AnswerRecord randomRecord(std::mt19937& rng);

}  // namespace quendral::test
