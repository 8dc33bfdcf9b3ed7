#pragma once

// Turns the command line's paths into the list of answer files: a folder stands for its
// files ending in ".dat" (hidden ones left out, as the shell's *.dat does), in name order;
// anything else is taken as an answer file, whatever its name.

#include <string>
#include <vector>

namespace quendral::batch {

struct AnswerFiles {
    std::vector<std::string> files;
    // Per file: the index in `folders` of the folder that listed it as a plain file (not a
    // link), or -1 for a file named on the command line or listed as a link.
    std::vector<int> listedIn;
    std::vector<std::string> folders;  // as given, ending in '/'
    std::vector<std::string> problems;  // German lines, one per folder that cannot be read
};

AnswerFiles collectAnswerFiles(const std::vector<std::string>& paths);

}  // namespace quendral::batch
