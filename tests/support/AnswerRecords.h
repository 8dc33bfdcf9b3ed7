#pragma once

// Answer records made for tests and the benchmark: blocks filled in a known way, done
// flags, random records and whole courses of a simple ability model, the same on every run.

#include "AnswerRecord.h"

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string_view>
#include <vector>

namespace quendral::test {

enum class Fill { Nothing, Everything, Key };

// Sets the option bytes of `block`: all clear, all ticked, or as the key expects. Ticks
// are written as `tick`, which any non-zero value may stand for.
void fillBlock(AnswerRecord& record, int block, Fill fill, std::uint8_t tick = 1);
void setDone(AnswerRecord& record, std::initializer_list<int> blocks, std::uint8_t flag = 1);
// Sets the option bytes of `block` so that option i agrees with the key where agreement[i] is
// '1' and disagrees where it is '0', and marks the block done.
void setAgreement(AnswerRecord& record, int block, std::string_view agreement);

// Half the bytes 0, the others anything from 1 to 255, drawn from `rng`.
AnswerRecord randomRecord(std::mt19937& rng);

// Participants of a simple ability model, working `blocks`: each has an ability drawn from
// a standard normal distribution, and an option agrees with the key with a probability
// rising with it (a logistic curve around the option's difficulty); for the options at the
// record offsets `reversed` the probability falls with the ability instead. The same seed
// gives the same course.
std::vector<AnswerRecord> abilityCourse(std::size_t participants, std::initializer_list<int> blocks,
    std::initializer_list<std::size_t> reversed, unsigned seed);

}  // namespace quendral::test
