// Runs that draw without showing a window (a printed page, a PDF, a
// screenshot) must not need a display: where none is at hand they draw on
// Qt's offscreen platform instead of failing to start.
#pragma once

namespace tavin::platform {

// Before the application object exists: when neither an X server nor a
// Wayland compositor is named in the environment and no platform is chosen,
// choose "offscreen". On Windows and macOS there is always a display.
// ignoreDisplay: also when there is one (tavin-cli draws pages the same way
// with or without a desktop).
void drawWithoutDisplay(bool ignoreDisplay = false);

}  // namespace tavin::platform
