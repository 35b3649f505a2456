#include "LanguageChoice.h"

#include "CommandTexts.h"
#include "QtTranslations.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSettings>
#include <QTranslator>

namespace LanguageChoice {

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kKey = QStringLiteral("Language");

struct Installed {
    QPointer<QTranslator> program;
    QPointer<QTranslator> qt;
    Language language = Language::Chinese;
};

Installed &installed()
{
    static Installed state;
    return state;
}

void remove(QPointer<QTranslator> &translator)
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator.data();
}

}  // namespace

std::optional<Language> saved()
{
    QSettings settings(texts::kOrganisation, texts::kAppTitle);
    settings.beginGroup(kSection);
    return tavin::lang::languageFromCode(settings.value(kKey).toString());
}

void save(Language language)
{
    QSettings settings(texts::kOrganisation, texts::kAppTitle);
    settings.beginGroup(kSection);
    settings.setValue(kKey, tavin::lang::languageCode(language));
}

void apply(std::optional<Language> choice)
{
    QCoreApplication *app = QCoreApplication::instance();
    Installed &state = installed();
    remove(state.program);
    remove(state.qt);
    state.language = choice.value_or(Language::Chinese);

    if (std::unique_ptr<QTranslator> program = tavin::lang::programTranslator(state.language)) {
        program->setParent(app);
        if (QCoreApplication::installTranslator(program.get()))
            state.program = program.release();
    }
    if (!choice)
        state.qt = installQtTranslations(*app);
    else if (*choice == Language::Chinese)
        state.qt = installQtTranslations(*app, QLocale(QLocale::Chinese, QLocale::China));
    // English: Qt's own texts are English already.
}

Language current()
{
    return installed().language;
}

}  // namespace LanguageChoice
