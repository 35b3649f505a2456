// The string table of the main window: caption, idle text, and for each
// command its status-bar prompt and its tooltip.
#pragma once

#include <QString>

namespace texts {

inline const QString kAppTitle = QStringLiteral("Tavin写频软件");
inline const QString kReady = QStringLiteral("就绪");
inline const QString kOrganisation = QStringLiteral("Local AppWizard-Generated Applications");
inline const QString kFileFilter = QStringLiteral("Channel Data (*.sin)");
inline const QString kDefaultExtension = QStringLiteral("sin");

struct CommandText {
    QString prompt;   // status bar, while the item or button is highlighted
    QString tooltip;  // toolbar buttons
};

// Prompt and tooltip of a command id; both empty for an unknown id.
CommandText commandText(int id);

}  // namespace texts
