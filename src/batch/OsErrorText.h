#pragma once

// German words for the operating system's error numbers that a batch run meets; the C
// library's own texts follow the locale and are English on most systems.

#include <string>

namespace quendral::batch {

std::string osErrorText(int osError);

}  // namespace quendral::batch
