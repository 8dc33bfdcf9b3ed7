#pragma once

// Program-wide state shared by the windows: the loaded answer record, the answer file's
// path, the open report and the overall window's two flags. Everything lives on the GUI
// thread.

#include "AnswerRecord.h"
#include "ReportTextFile.h"

#include <cstdint>
#include <string>

namespace quendral {

extern AnswerRecord answerRecord;  // all zero until loaded, never changed afterwards
extern std::string AnswerFile;  // full path of the answer file, once chosen
extern ReportTextFile ReportFile;  // open exactly while the block menu is shown
extern std::uint8_t FirstActivation;
extern std::uint8_t SavePicture;

}  // namespace quendral
