// The program's per-user settings (recent files, language, port mappings),
// empty while a test program runs and untouched outside it. Elsewhere every
// test program has a settings folder of its own (OwnSettings.cpp). On Windows
// the settings live in the registry, which Qt cannot point elsewhere: the
// program's branch is saved and cleared at the start and put back as it was
// at the end. (CTest keeps the test programs that use it from running at the
// same time there.)
#pragma once

#ifdef Q_OS_WIN
#include "PortNames.h"

#include <QMap>
#include <QSettings>
#include <QVariant>
#endif

namespace tavin::test {

class IsolatedSettings {
public:
#ifdef Q_OS_WIN
    IsolatedSettings()
    {
        QSettings settings = programSettings();
        for (const QString &key : settings.allKeys())
            m_saved.insert(key, settings.value(key));
        settings.clear();
    }
    ~IsolatedSettings()
    {
        QSettings settings = programSettings();
        settings.clear();
        for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it)
            settings.setValue(it.key(), it.value());
    }
#else
    IsolatedSettings() = default;
#endif
    IsolatedSettings(const IsolatedSettings &) = delete;
    IsolatedSettings &operator=(const IsolatedSettings &) = delete;

#ifdef Q_OS_WIN
private:
    static QSettings programSettings()
    {
        return QSettings(QString::fromUtf8(link::kSettingsOrganisation), QString::fromUtf8(link::kSettingsApplication));
    }
    QMap<QString, QVariant> m_saved;
#endif
};

}  // namespace tavin::test
