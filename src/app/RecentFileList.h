// The four most recently opened or saved channel files, newest first, kept in
// the per-user settings under the organisation and application names. Paths
// are kept as NativePath.h keeps them; a name that is not valid text is
// stored as its bytes, so it comes back exactly.
#pragma once

#include <QStringList>

class RecentFileList
{
public:
    explicit RecentFileList(int size);

    void load();
    void save() const;

    // Puts path at the top (moving it if present) and drops the oldest beyond the size.
    void add(const QString &path);
    void remove(const QString &path);
    const QStringList &files() const { return m_files; }

private:
    int m_size = 4;
    QStringList m_files;
};
