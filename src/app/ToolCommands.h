// The Tools menu's commands: a channel list imported into the form as it
// stands or exported from it, the form compared with a channel file or with
// the radio, and the cable check of the current port. Each runs the same
// shared code as tavin-cli (import --base, export, diff, verify, doctor
// --port); this class is only the window's glue.
#pragma once

#include "ListFormat.h"

#include <QObject>

#include <memory>

class CProgramDoc;
class CProgramView;
class ToolPrompts;
class QWidget;

namespace tavin {
class RadioImage;
class ToneTable;
}  // namespace tavin

namespace tavin::doctor {
struct DoctorOptions;
struct DoctorReport;
}  // namespace tavin::doctor

class ToolCommands : public QObject
{
    Q_OBJECT

public:
    // window: the main window, over which the dialogs show.
    ToolCommands(CProgramDoc &doc, CProgramView &view, const tavin::ToneTable &tones, QWidget *window,
                 QObject *parent = nullptr);
    ~ToolCommands() override;

    void setPrompts(std::unique_ptr<ToolPrompts> prompts);

    // The commands after their file dialogs. importList: the list's channels
    // (and its settings, if it has any) over the form as Save would store it;
    // on success the document is marked changed and keeps its file name.
    // Returns whether the list was accepted (or the export written).
    bool importList(const QString &path);
    bool exportList(const QString &path, tavin::lists::ListFormat format);
    void compareWithFile(const QString &path);

public Q_SLOTS:
    void onImportList();
    void onExportList();
    void onCompareFile();
    void onVerifyRadio();
    void onCableCheck();

private:
    void reportRadioCheck(const tavin::RadioImage &radio);
    tavin::doctor::DoctorReport runDoctor(const tavin::doctor::DoctorOptions &options);
    // A list or file name, as the report lines name it.
    static QString shownName(const QString &path);

    CProgramDoc &m_doc;
    CProgramView &m_view;
    const tavin::ToneTable &m_tones;
    QWidget *m_window = nullptr;
    std::unique_ptr<ToolPrompts> m_prompts;
    bool m_checkingCable = false;
};
