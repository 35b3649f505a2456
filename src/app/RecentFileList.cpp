#include "RecentFileList.h"

#include "CommandTexts.h"
#include "NativePath.h"

#include <QSettings>

namespace {

const QString kSection = QStringLiteral("Recent File List");

QString entryKey(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

QString canonicalName(const QString &path)
{
    return tavin::platform::absolutePath(path);
}

}  // namespace

RecentFileList::RecentFileList(int size) : m_size(size) {}

void RecentFileList::load()
{
    QSettings settings(texts::kOrganisation, texts::kAppTitle);
    settings.beginGroup(kSection);
    m_files.clear();
    for (int i = 0; i < m_size; ++i) {
        const QString path = tavin::platform::fromSettingsValue(settings.value(entryKey(i)));
        if (!path.isEmpty() && !m_files.contains(path))
            m_files.append(path);
    }
}

void RecentFileList::save() const
{
    QSettings settings(texts::kOrganisation, texts::kAppTitle);
    settings.beginGroup(kSection);
    for (int i = 0; i < m_size; ++i) {
        if (i < m_files.size())
            settings.setValue(entryKey(i), tavin::platform::toSettingsValue(m_files.at(i)));
        else
            settings.remove(entryKey(i));
    }
}

void RecentFileList::add(const QString &path)
{
    const QString name = canonicalName(path);
    m_files.removeAll(name);
    m_files.prepend(name);
    while (m_files.size() > m_size)
        m_files.removeLast();
}

void RecentFileList::remove(const QString &path)
{
    m_files.removeAll(canonicalName(path));
}
