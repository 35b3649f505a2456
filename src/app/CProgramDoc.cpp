#include "CProgramDoc.h"

#include "CProgramView.h"
#include "ChannelFile.h"

#include <QFileInfo>

CProgramDoc::CProgramDoc(const bool &formReady, QObject *parent) : QObject(parent), m_formReady(formReady) {}

QString CProgramDoc::untitledName()
{
    return QStringLiteral("无标题");
}

QString CProgramDoc::title() const
{
    return m_pathName.isEmpty() ? untitledName() : QFileInfo(m_pathName).fileName();
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
    const tavin::FileResult result =
        tavin::loadChannelFile(std::filesystem::path(path.toStdU16String()), m_image, newDocumentPreset());
    if (resetToNew)
        *resetToNew = false;
    if (!result) {
        if (error)
            *error = QString::fromStdString(result.error);
        const QFileInfo info(path);
        if (info.isFile() && info.size() > 0 && info.size() < qint64(tavin::kImageSize)) {
            // A partly read file: the document is a new one now.
            m_pathName.clear();
            setModified(false);
            if (resetToNew)
                *resetToNew = true;
        }
        return false;
    }
    m_pathName = QFileInfo(path).absoluteFilePath();
    setModified(false);
    return true;
}

bool CProgramDoc::OnSaveDocument(const QString &path, QString *error)
{
    if (m_view) {
        m_view->commitOpenEditor();
        m_view->EncodeImage();
    }
    const tavin::FileResult result = tavin::storeChannelFile(std::filesystem::path(path.toStdU16String()), m_image);
    if (!result) {
        if (error)
            *error = QString::fromStdString(result.error);
        return false;
    }
    m_pathName = QFileInfo(path).absoluteFilePath();
    setModified(false);
    return true;
}
