// Qt's own messages ("QStandardPaths: XDG_RUNTIME_DIR not set", a printer
// plug-in's complaints) are meant for developers, not for the people who use
// the programs: each program's main installs this filter first, so that the
// terminal shows only the programs' own messages. Fatal messages still
// appear (the program ends with them); TAVIN_QT_MESSAGES=1 in the environment
// shows all of them again.
#pragma once

namespace tavin::platform {

// The environment variable that lets Qt's messages through.
inline constexpr char kShowQtMessagesVariable[] = "TAVIN_QT_MESSAGES";

void installQtMessageFilter();

}  // namespace tavin::platform
