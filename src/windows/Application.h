#pragma once

// Program-wide set-up of the application object: German platform texts and the design's
// fonts.

class QApplication;

namespace quendral {

// Loads the German Qt translation and maps the design's font families onto fonts with the
// same metrics where the originals are missing. Returns false when no translation was found.
bool prepareApplication(QApplication& application);

}  // namespace quendral
