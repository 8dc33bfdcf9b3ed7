#pragma once

// How quendral-batch makes its course report: through the report module beside it
// (PdfModule.cpp), loaded on the first report asked for. A program that links the report
// library itself calls coursePdf() directly instead.

#include "Course.h"

#include <functional>
#include <string>

namespace quendral::batch {

// Makes the PDF bytes of the course report; false with a German reason when it cannot.
using CoursePdfMaker
    = std::function<bool(const Course& course, std::string& bytes, std::string& problem)>;

// The module's entry point, by the name kCoursePdfEntry.
using CoursePdfEntry = bool (*)(const Course* course, std::string* bytes, std::string* problem);
inline constexpr const char* kCoursePdfEntry = "quendralCoursePdf";

// The maker that loads the module from its place relative to the running program.
CoursePdfMaker coursePdfFromModule();

}  // namespace quendral::batch
