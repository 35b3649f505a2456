// Qt's own texts (the buttons of message boxes, the file and print dialogs) in
// the user's language. The program's own texts are fixed and never translated.
#pragma once

#include <QLocale>

class QCoreApplication;

// Loads Qt's translation catalogue for locale (the system's by default) from
// the folder Qt was installed with, and installs it in app. False when there
// is none for that language (English, or Qt's translations not installed):
// Qt's English texts then stay.
bool installQtTranslations(QCoreApplication &app, const QLocale &locale = QLocale::system());
