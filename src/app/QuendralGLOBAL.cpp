#include "QuendralGLOBAL.h"

namespace quendral {

AnswerRecord answerRecord;
std::string AnswerFile;
ReportTextFile ReportFile;
std::uint8_t FirstActivation = 0;
std::uint8_t SavePicture = 0;

}  // namespace quendral
