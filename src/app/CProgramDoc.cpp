#include "CProgramDoc.h"

#include "CProgramView.h"
#include "ChannelFile.h"
#include "NativePath.h"

CProgramDoc::CProgramDoc(const bool &formReady, QObject *parent) : QObject(parent), m_formReady(formReady) {}

QString CProgramDoc::untitledName()
{
    return tr("无标题");
}

QString CProgramDoc::title() const
{
    return m_pathName.isEmpty() ? untitledName() : tavin::platform::toQtPath(tavin::platform::fileNameOf(m_pathName));
}

void CProgramDoc::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    Q_EMIT modifiedChanged(modified);
}

tavin::HiddenPreset CProgramDoc::newDocumentPreset() const
{
    // The second model is the VHF radio; before the form exists the UHF set serves.
    if (m_formReady && m_view && m_view->settingBoxSelection(tavin::SettingBox::Model) == 1)
        return tavin::HiddenPreset::Vhf;
    return tavin::HiddenPreset::Uhf;
}

bool CProgramDoc::OnNewDocument()
{
    m_image.resetToNewDocument(newDocumentPreset());
    m_pathName.clear();
    setModified(false);
    return true;
}

bool CProgramDoc::OnOpenDocument(const QString &path, QString *error, bool *resetToNew)
{
    std::size_t bytesRead = 0;
    const tavin::FileResult result =
        tavin::loadChannelFile(tavin::platform::toNative(path), m_image, newDocumentPreset(), &bytesRead);
    if (resetToNew)
        *resetToNew = false;
    if (!result) {
        if (error)
            *error = QString::fromStdString(result.error);
        if (bytesRead > 0 && bytesRead < tavin::kImageSize) {
            // A partly read file: the document is a new one now.
            m_pathName.clear();
            setModified(false);
            if (resetToNew)
                *resetToNew = true;
        }
        return false;
    }
    m_pathName = tavin::platform::absolutePath(path);
    setModified(false);
    return true;
}

bool CProgramDoc::OnSaveDocument(const QString &path, QString *error)
{
    if (m_view) {
        m_view->commitOpenEditor();
        m_view->EncodeImage();
    }
    const tavin::FileResult result = tavin::storeChannelFile(tavin::platform::toNative(path), m_image);
    if (!result) {
        if (error)
            *error = QString::fromStdString(result.error);
        return false;
    }
    m_pathName = tavin::platform::absolutePath(path);
    setModified(false);
    return true;
}
