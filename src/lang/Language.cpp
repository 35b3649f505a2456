#include "Language.h"

#include <QCoreApplication>
#include <QTranslator>

// The catalogue is compiled from translations/tavin_en.ts at build time and
// kept in this library's resources (whose name lives outside any namespace).
static void initTranslationResources()
{
    Q_INIT_RESOURCE(tavin_translations);
}

namespace tavin::lang {

QString applicationTitle()
{
    return QCoreApplication::translate("Application", kApplicationTitle);
}

std::optional<Language> languageFromCode(const QString &code)
{
    if (code.compare(QLatin1String("zh"), Qt::CaseInsensitive) == 0)
        return Language::Chinese;
    if (code.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0)
        return Language::English;
    return std::nullopt;
}

QString languageCode(Language language)
{
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("zh");
}

std::unique_ptr<QTranslator> programTranslator(Language language)
{
    if (language == Language::Chinese)
        return nullptr;
    initTranslationResources();
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral(":/translations/tavin_en.qm")))
        return nullptr;
    return translator;
}

}  // namespace tavin::lang
