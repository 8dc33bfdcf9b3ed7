#pragma once

// The start of quendral-kurs, one function for its entry and for the benchmark's probe:
//   quendral-kurs [ORDNER]
// opens the folder, or asks for one when none is given.

#include <functional>

namespace quendral::course {

class CourseWindow;

inline constexpr int kExitBadCommandLine = 2;

// Creates and prepares the application object, shows the course window and runs the event
// loop until the window closes; its result is the program's exit code. `created` sees the
// window just before it is shown.
int runQuendralKurs(int& argc, char** argv, const std::function<void(CourseWindow&)>& created = {});

}  // namespace quendral::course
