#pragma once

// File names are bytes; tables and messages are UTF-8 text for people. These turn the one
// into the other without hiding that something was changed.

#include <string>
#include <string_view>

namespace quendral::batch {

// The text as valid UTF-8: every byte that is no part of a UTF-8 character becomes the
// replacement character U+FFFD, which every viewer shows as such.
std::string validUtf8(std::string_view text);

// A message for one line of a terminal or log: valid UTF-8 as above, and every control
// character written as an escape ("\n", "\t", "\x1b"), so a name cannot break the line.
std::string oneLine(std::string_view text);

}  // namespace quendral::batch
