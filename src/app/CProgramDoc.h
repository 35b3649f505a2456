// The one document: the radio's 1024-byte memory image, its file name and the
// modified mark. New and Open re-initialise it; it is never replaced.
#pragma once

#include "RadioImage.h"

#include <QObject>
#include <QString>

class CProgramView;

class CProgramDoc : public QObject
{
    Q_OBJECT

public:
    // formReady: the application's flag; the new-document defaults read the
    // form's model box only once the form has been set up.
    explicit CProgramDoc(const bool &formReady, QObject *parent = nullptr);

    void setView(CProgramView *view) { m_view = view; }

    tavin::RadioImage &image() { return m_image; }
    const tavin::RadioImage &image() const { return m_image; }

    // Path of the file last opened or saved, as NativePath.h keeps paths
    // (every byte of the file's name); empty for a new document.
    QString pathName() const { return m_pathName; }
    // The file's name, or the untitled name of a new document.
    QString title() const;
    static QString untitledName();

    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    // New-document contents, untitled, not modified.
    bool OnNewDocument();
    // Loads the file. On failure error says which file and why; a file too
    // short leaves the document reset to a new one (resetToNew is then true).
    bool OnOpenDocument(const QString &path, QString *error, bool *resetToNew = nullptr);
    // Commits an open cell editor, encodes the form into the image and stores
    // it. On success the document takes the path and is no longer modified.
    bool OnSaveDocument(const QString &path, QString *error);

Q_SIGNALS:
    void modifiedChanged(bool modified);

private:
    tavin::HiddenPreset newDocumentPreset() const;

    const bool &m_formReady;
    CProgramView *m_view = nullptr;
    tavin::RadioImage m_image;
    QString m_pathName;
    bool m_modified = false;
};
