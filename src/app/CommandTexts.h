// The string table of the main window: caption, idle text, and for each
// command its status-bar prompt and its tooltip, in the current language.
#pragma once

#include "Language.h"

#include <QString>

namespace texts {

// Names of the program's settings (data, the same in every language).
inline const QString kAppTitle = QString::fromUtf8(tavin::lang::kApplicationTitle);
inline const QString kOrganisation = QStringLiteral("Local AppWizard-Generated Applications");
inline const QString kDefaultExtension = QStringLiteral("sin");

// "就绪", the status bar's idle text.
QString ready();
// The file dialogs' filter of channel files.
QString fileFilter();

struct CommandText {
    QString prompt;   // status bar, while the item or button is highlighted
    QString tooltip;  // toolbar buttons
};

// Prompt and tooltip of a command id; both empty for an unknown id.
CommandText commandText(int id);

}  // namespace texts
