#pragma once

// Program-wide set-up of the application object (German platform texts, the design's
// fonts, the application title) and the program's start-up, one function for its entry
// and for the benchmark's start-up probe.

#include <functional>

class QApplication;

namespace quendral {

class Tquendralauswfrm;

// Loads the German Qt translation, maps the design's font families onto fonts with the
// same metrics where the originals are missing, and names the application. Returns false
// when no translation was found.
bool prepareApplication(QApplication& application);

// Start-up as the program's entry runs it: the application object created and prepared,
// the overall window created and shown, the event loop run until the window closes; its
// result is the program's exit code. `created` sees the window just before it is shown.
int runQuendralAuswertung(
    int& argc, char** argv, const std::function<void(Tquendralauswfrm&)>& created = {});

}  // namespace quendral
