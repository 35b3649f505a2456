// The application object: owns the tone table and the form-ready flag, builds
// the document, the main window and the form, carries out start-up and the
// application's commands (new, open, recent files, print setup, about).
#pragma once

#include "Language.h"
#include "RecentFileList.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class CMainFrame;
class CProgramDoc;
class CProgramView;
class FleetWindow;
class ToolCommands;
class UserPrompts;

namespace tavin {
class ToneTable;
}

namespace tavin::print {
class PagePrinter;
}

class CProgramApp : public QObject
{
    Q_OBJECT

public:
    explicit CProgramApp(QObject *parent = nullptr);
    ~CProgramApp() override;

    // Start-up: tone table, document, frame and form, then the command line's
    // file (or a new document; a channel list is imported into one), then the
    // window centred and shown. showWindow false leaves it hidden (tests).
    // Returns false when the file named on the command line cannot be opened
    // or, being a channel list, is refused.
    bool InitInstance(const QString &fileToOpen = QString(), bool showWindow = true);

    // The print switches (--print, --print-to): opens the file without showing
    // the window, prints it without a dialog on the named printer (the chosen
    // one when empty) and returns the process exit code; reasons on stderr.
    int PrintFileAndExit(const QString &fileToPrint, const QString &printerName = QString());

    // The printer and paper of print setup, used by every later print.
    tavin::print::PagePrinter &pagePrinter() { return *m_pagePrinter; }

    const tavin::ToneTable &toneTable() const { return *m_toneTable; }
    bool formReady() const { return m_formReady; }
    CMainFrame *mainFrame() const { return m_frame.get(); }
    CProgramDoc *document() const { return m_doc.get(); }
    CProgramView *view() const { return m_view; }
    const RecentFileList &recentFiles() const { return m_recentFiles; }
    // The Tools menu's commands (after InitInstance).
    ToolCommands *toolCommands() const { return m_tools.get(); }

    // Questions and messages go through prompts (message boxes by default).
    void setPrompts(std::unique_ptr<UserPrompts> prompts);

    // Offers to save a modified document. False when the user cancels or the
    // save fails: the caller must then stop.
    bool SaveModified();
    // Opens a file as Open does after its dialog (save question included).
    bool OpenDocumentFile(const QString &path);

    // The fleet window, while it is open.
    FleetWindow *fleetWindow() const;

public Q_SLOTS:
    void onFileNew();
    void onFileOpen();
    void onFileSave();
    void onFileSaveAs();
    void onFilePrintSetup();
    void onAppAbout();
    void onRecentFile(int index);
    // Opens the fleet window (or brings it to the front).
    void onFleetWindow();
    // "语言 / Language": kept in the settings and shown at once; the form
    // keeps its content and its changed mark.
    void onLanguageChosen(tavin::lang::Language language);

private:
    bool openWithoutQuestion(const QString &path);
    bool importList(const QString &path, const std::function<bool()> &mayReplace);
    bool saveTo(const QString &path);
    void noteRecentFile(const QString &path);
    void wireCommands();
    // Closing the main window while the fleet programs radios: false while it does.
    bool mayCloseFleet();
    void wireToolCommands();

    std::unique_ptr<tavin::ToneTable> m_toneTable;
    bool m_formReady = false;
    std::unique_ptr<CProgramDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    CProgramView *m_view = nullptr;  // owned by the frame
    std::unique_ptr<UserPrompts> m_prompts;
    std::unique_ptr<tavin::print::PagePrinter> m_pagePrinter;
    RecentFileList m_recentFiles;
    QPointer<FleetWindow> m_fleetWindow;
    std::unique_ptr<ToolCommands> m_tools;
};
