#pragma once

// Courses of answer records drawn from a simple ability model, for the tests of the course
// statistics and for the sample course in examples/kurs: each participant has an ability,
// and an option agrees with the key with a probability that rises with it.

#include "AnswerRecord.h"

#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace quendral::model {

// Sets the option bytes of `block` so that option i agrees with the key where agreement[i] is
// '1' and disagrees where it is '0', and marks the block done.
void setAgreement(AnswerRecord& record, int block, std::string_view agreement);

// `participants` records working `blocks`: abilities drawn from a standard normal
// distribution, an option agreeing with probability 1 / (1 + exp(-2 (ability - d))) for its
// difficulty d (from -0.5 to 0.3); for the options at the record offsets `reversed` the
// probability falls with the ability instead, as when the key is wrong there. The same seed
// gives the same course.
std::vector<AnswerRecord> abilityCourse(std::size_t participants, std::initializer_list<int> blocks,
    std::initializer_list<std::size_t> reversed, unsigned seed);

}  // namespace quendral::model
