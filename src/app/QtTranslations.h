// Qt's own texts (the buttons of message boxes, the file and print dialogs) in
// a language: that of the system by default, or the one the user chose for
// the program's texts.
#pragma once

#include <QLocale>

class QCoreApplication;
class QTranslator;

// Loads Qt's translation catalogue for locale from the folder Qt was installed
// with and installs it in app, which owns it. nullptr when there is none for
// that language (English, or Qt's translations not installed): Qt's English
// texts then stay.
QTranslator *installQtTranslations(QCoreApplication &app, const QLocale &locale = QLocale::system());
