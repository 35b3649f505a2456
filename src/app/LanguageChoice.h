// The language the window speaks: the user's choice under "语言 / Language",
// kept in the settings, or one given for one run (tavin --lang). The program's
// own texts and Qt's (message-box buttons, file and print dialogs) follow it
// at once. With no choice made the program is as it always was, whatever the
// system's language: its own texts Chinese, Qt's in the system's language.
#pragma once

#include "Language.h"

#include <optional>

namespace LanguageChoice {

using tavin::lang::Language;

// The choice kept in the settings, if one was made.
std::optional<Language> saved();
void save(Language language);

// Installs the translations of the choice in the application, replacing those
// installed before; every window gets a LanguageChange event and shows its
// texts anew.
void apply(std::optional<Language> choice);

// The language the program's texts are in now.
Language current();

}  // namespace LanguageChoice
