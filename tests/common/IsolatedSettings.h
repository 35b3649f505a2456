// The program's per-user settings (recent files, language, port mappings),
// empty while a test program runs and untouched outside it. Elsewhere they go
// to a folder of the test's own. On Windows they live in the registry, which
// Qt cannot point elsewhere: the program's branch is saved and cleared at the
// start and put back as it was at the end. (CTest keeps the test programs
// that use it from running at the same time there.)
#pragma once

#include "PortNames.h"

#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>

namespace tavin::test {

class IsolatedSettings {
public:
    IsolatedSettings()
    {
#ifdef Q_OS_WIN
        QSettings settings = programSettings();
        for (const QString &key : settings.allKeys())
            m_saved.insert(key, settings.value(key));
        settings.clear();
#else
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
#endif
    }
    ~IsolatedSettings()
    {
#ifdef Q_OS_WIN
        QSettings settings = programSettings();
        settings.clear();
        for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it)
            settings.setValue(it.key(), it.value());
#endif
    }
    IsolatedSettings(const IsolatedSettings &) = delete;
    IsolatedSettings &operator=(const IsolatedSettings &) = delete;

private:
#ifdef Q_OS_WIN
    static QSettings programSettings()
    {
        return QSettings(QString::fromUtf8(link::kSettingsOrganisation), QString::fromUtf8(link::kSettingsApplication));
    }
    QMap<QString, QVariant> m_saved;
#else
    QTemporaryDir m_dir;
#endif
};

}  // namespace tavin::test
