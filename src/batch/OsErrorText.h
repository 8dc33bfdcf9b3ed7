#pragma once

// German words for the operating system's error numbers that a batch run meets; the C
// library's own texts follow the locale and are English on most systems, so they stand in
// only for the numbers without German words here.

#include <string>

namespace quendral::batch {

std::string osErrorText(int osError);

}  // namespace quendral::batch
