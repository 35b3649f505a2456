// The languages of the window. The program is written in Chinese: its source
// texts are the Chinese ones, and English comes from a translation built into
// the program. The data (channel files, lists, tavin-cli's output, the bytes
// sent to the radio) are the same in every language.
#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

class QTranslator;

namespace tavin::lang {

enum class Language { Chinese, English };

// The program's title: the caption of the main window and of its messages.
// The text as written here also names the program's settings (data).
inline constexpr char kApplicationTitle[] = QT_TRANSLATE_NOOP("Application", "Tavin写频软件");
// The title in the current language.
QString applicationTitle();

// "zh" or "en", letter case ignored; nothing for any other text.
std::optional<Language> languageFromCode(const QString &code);
QString languageCode(Language language);

// The translator that shows the program's texts in the language, ready to be
// installed; nullptr for Chinese, which needs none.
std::unique_ptr<QTranslator> programTranslator(Language language);

}  // namespace tavin::lang
