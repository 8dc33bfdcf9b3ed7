#pragma once

// Where the report and the window picture go, derived from the answer file's full path.

#include <string>
#include <string_view>

namespace quendral {

// The report beside the answer file: in the file name (never in a folder name) the first
// ".dat" and everything after it is dropped, then "-Detail.txt" is appended.
std::string reportFileName(std::string_view answerPath);

// The picture beside the answer file: the path less its last three characters, then "jpg".
// Where that would be the answer file itself, ".jpg" is appended to its path instead.
std::string pictureFileName(std::string_view answerPath);

}  // namespace quendral
