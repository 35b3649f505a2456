#include "CProgramApp.h"

#include "CAboutDlg.h"
#include "CMainFrame.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CommandIds.h"
#include "FleetWindow.h"
#include "LanguageChoice.h"
#include "ListImport.h"
#include "NativePath.h"
#include "PagePrinter.h"
#include "PageTexts.h"
#include "RunExitCodes.h"
#include "ScreenFit.h"
#include "ToneTable.h"
#include "ToolCommands.h"
#include "TransferController.h"
#include "UserPrompts.h"

#include <QAction>
#include <QTextStream>

CProgramApp::CProgramApp(QObject *parent)
    : QObject(parent), m_pagePrinter(std::make_unique<tavin::print::PagePrinter>()),
      m_recentFiles(cmd::kRecentFileCount)
{
    // The icons live in this library's resources.
    Q_INIT_RESOURCE(icons);
}

CProgramApp::~CProgramApp()
{
    // The form goes with the frame; the document outlives neither.
    m_tools.reset();
    m_frame.reset();
    m_doc.reset();
}

bool CProgramApp::InitInstance(const QString &fileToOpen, bool showWindow)
{
    m_recentFiles.load();
    // Scaled or small screens: no window or dialog larger than the screen.
    screenfit::fitEveryWindow(this);
    m_toneTable = std::make_unique<tavin::ToneTable>();
    m_formReady = false;

    m_doc = std::make_unique<CProgramDoc>(m_formReady);
    m_frame = std::make_unique<CMainFrame>();
    m_view = new CProgramView(*m_toneTable, m_formReady);
    m_frame->setView(m_view);
    m_doc->setView(m_view);
    m_view->setDocumentImage(&m_doc->image());
    m_view->setPagePrinter(m_pagePrinter.get());
    if (!m_prompts)
        m_prompts = std::make_unique<DialogUserPrompts>(m_frame.get());
    wireCommands();
    wireToolCommands();
    m_frame->setRecentFiles(m_recentFiles.files());

    if (fileToOpen.isEmpty() || ListImport::isChannelListFile(fileToOpen)) {
        m_doc->OnNewDocument();
        m_view->OnInitialUpdate();
        if (!fileToOpen.isEmpty() && !importList(fileToOpen, [] { return true; }))
            return false;
    } else if (!openWithoutQuestion(fileToOpen)) {
        return false;
    }

    m_frame->centreOnScreen();
    if (showWindow) {
        m_frame->show();
        m_frame->repaint();
    }
    return true;
}

void CProgramApp::setPrompts(std::unique_ptr<UserPrompts> prompts)
{
    m_prompts = std::move(prompts);
}

void CProgramApp::wireCommands()
{
    CMainFrame *frame = m_frame.get();
    CProgramView *view = m_view;
    const auto on = [frame](int id, auto *receiver, auto slot) {
        connect(frame->action(id), &QAction::triggered, receiver, slot);
    };
    on(cmd::kFileNew, this, &CProgramApp::onFileNew);
    on(cmd::kFileOpen, this, &CProgramApp::onFileOpen);
    on(cmd::kFileSave, this, &CProgramApp::onFileSave);
    on(cmd::kFileSaveAs, this, &CProgramApp::onFileSaveAs);
    on(cmd::kFilePrintSetup, this, &CProgramApp::onFilePrintSetup);
    on(cmd::kAppAbout, this, &CProgramApp::onAppAbout);
    on(cmd::kFilePrint, view, &CProgramView::onFilePrint);
    on(cmd::kFilePrintPreview, view, &CProgramView::onFilePrintPreview);
    on(cmd::kFilePrintDirect, view, &CProgramView::onFilePrintDirect);
    on(cmd::kReadFromRadio, view, &CProgramView::onReadFromRadio);
    on(cmd::kWriteToRadio, view, &CProgramView::onWriteToRadio);
    on(cmd::kPortCom1, view, &CProgramView::onPortCom1);
    on(cmd::kPortCom2, view, &CProgramView::onPortCom2);
    on(cmd::kPortCom3, view, &CProgramView::onPortCom3);
    on(cmd::kPortCom4, view, &CProgramView::onPortCom4);

    // The check mark sits on the item whose name equals the port name, exactly.
    const auto markPort = [frame](const QString &name) {
        const std::pair<int, const char *> items[] = {
            {cmd::kPortCom1, "COM1"}, {cmd::kPortCom2, "COM2"}, {cmd::kPortCom3, "COM3"}, {cmd::kPortCom4, "COM4"}};
        for (const auto &[id, itemName] : items)
            frame->action(id)->setChecked(name == QLatin1String(itemName));
    };
    connect(view, &CProgramView::portNameChanged, frame, markPort);
    markPort(view->portName());

    connect(view, &CProgramView::documentModified, m_doc.get(), [this] { m_doc->setModified(true); });
    connect(frame, &CMainFrame::recentFileChosen, this, &CProgramApp::onRecentFile);
    connect(frame, &CMainFrame::languageChosen, this, &CProgramApp::onLanguageChosen);
    frame->showLanguage(LanguageChoice::current());
    connect(frame, &CMainFrame::fileDropped, this, &CProgramApp::OpenDocumentFile);
    frame->setCloseGuard([this] { return mayCloseFleet() && m_view->mayCloseWindow() && SaveModified(); });
    // Read and write say so plainly when the fleet window programs radios on their port.
    view->transferController()->setPortCheck([this](const QString &port) {
        return m_fleetWindow ? m_fleetWindow->portTakenReason(port) : QString();
    });
    // Closing was put off until a cancelled transfer ended.
    connect(view->transferController(), &TransferController::closeWhenDone, frame, &QWidget::close,
            Qt::QueuedConnection);
}

void CProgramApp::wireToolCommands()
{
    m_tools = std::make_unique<ToolCommands>(*m_doc, *m_view, *m_toneTable, m_frame.get());
    const std::pair<int, void (ToolCommands::*)()> commands[] = {
        {cmd::kToolsImportList, &ToolCommands::onImportList},
        {cmd::kToolsExportList, &ToolCommands::onExportList},
        {cmd::kToolsCompareFile, &ToolCommands::onCompareFile},
        {cmd::kToolsVerifyRadio, &ToolCommands::onVerifyRadio},
        {cmd::kToolsCableCheck, &ToolCommands::onCableCheck},
    };
    QList<QAction *> actions;
    for (const auto &[id, slot] : commands) {
        actions << m_frame->action(id);
        connect(actions.constLast(), &QAction::triggered, m_tools.get(), slot);
    }
    // A tool's dialog would hold a running transfer up: the tools wait for its end.
    const auto enable = [actions](bool enabled) {
        for (QAction *act : actions)
            act->setEnabled(enabled);
    };
    // The fleet window opens at any time: it holds nothing up, and waits itself
    // for a transfer of the main window to end before it starts or closes.
    connect(m_frame->action(cmd::kToolsFleet), &QAction::triggered, this, &CProgramApp::onFleetWindow);
    TransferController *transfer = m_view->transferController();
    connect(transfer, &TransferController::transferStarted, m_frame.get(), [enable] { enable(false); });
    connect(transfer, &TransferController::transferFinished, m_frame.get(), [enable] { enable(true); });
}

bool CProgramApp::SaveModified()
{
    if (!m_doc->isModified())
        return true;
    switch (m_prompts->askSaveChanges(m_doc->title())) {
    case UserPrompts::SaveAnswer::Discard:
        return true;
    case UserPrompts::SaveAnswer::Cancel:
        return false;
    case UserPrompts::SaveAnswer::Save:
        break;
    }
    QString path = m_doc->pathName();
    if (path.isEmpty()) {
        path = m_prompts->saveFileName(m_doc->title());
        if (path.isEmpty())
            return false;
    }
    return saveTo(path);
}

bool CProgramApp::OpenDocumentFile(const QString &path)
{
    // Recent files and dropped files wait for a running transfer.
    if (m_view->isTransferRunning())
        return false;
    if (ListImport::isChannelListFile(path))
        return importList(path, [this] { return SaveModified(); });  // asks once the list is accepted
    if (!SaveModified())
        return false;
    return openWithoutQuestion(path);
}

bool CProgramApp::importList(const QString &path, const std::function<bool()> &mayReplace)
{
    return ListImport::importIntoDocument(path, *m_doc, *m_view, *m_toneTable, *m_prompts, mayReplace);
}

bool CProgramApp::openWithoutQuestion(const QString &path)
{
    QString error;
    bool resetToNew = false;
    if (m_doc->OnOpenDocument(path, &error, &resetToNew)) {
        noteRecentFile(path);
        m_view->OnInitialUpdate();
        return true;
    }
    m_prompts->showFileError(tr("无法打开文件。\n\n%1").arg(error));
    if (!tavin::platform::pathExists(path)) {
        m_recentFiles.remove(path);
        m_recentFiles.save();
        m_frame->setRecentFiles(m_recentFiles.files());
    }
    if (resetToNew) {
        // The document is a new one now; show it so that screen and document agree.
        m_view->OnInitialUpdate();
    }
    return false;
}

bool CProgramApp::saveTo(const QString &path)
{
    QString error;
    if (!m_doc->OnSaveDocument(path, &error)) {
        m_prompts->showFileError(tr("无法保存文件。\n\n%1").arg(error));
        return false;
    }
    noteRecentFile(path);
    return true;
}

void CProgramApp::noteRecentFile(const QString &path)
{
    m_recentFiles.add(path);
    m_recentFiles.save();
    m_frame->setRecentFiles(m_recentFiles.files());
}

void CProgramApp::onFileNew()
{
    if (m_view->isTransferRunning() || !SaveModified())
        return;
    m_doc->OnNewDocument();
    m_view->OnInitialUpdate();
}

void CProgramApp::onFileOpen()
{
    if (m_view->isTransferRunning())
        return;
    const QString path = m_prompts->openFileName();
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void CProgramApp::onFileSave()
{
    if (m_doc->pathName().isEmpty()) {
        onFileSaveAs();
        return;
    }
    saveTo(m_doc->pathName());
}

void CProgramApp::onFileSaveAs()
{
    const QString suggested = m_doc->pathName().isEmpty() ? m_doc->title() : m_doc->pathName();
    const QString path = m_prompts->saveFileName(suggested);
    if (!path.isEmpty())
        saveTo(path);
}

void CProgramApp::onFilePrintSetup()
{
    m_pagePrinter->setup(m_frame.get());
}

int CProgramApp::PrintFileAndExit(const QString &fileToPrint, const QString &printerName)
{
    QTextStream err(stderr);
    if (!printerName.isEmpty() && !m_pagePrinter->selectPrinter(printerName)) {
        err << "tavin: there is no printer named " << tavin::platform::quoted(printerName) << '\n';
        return run::kExitPrintFailed;
    }
    if (!InitInstance(fileToPrint, false))
        return run::kExitFile;
    QString error;
    if (!m_pagePrinter->printDirect(m_view->printedPage(), &error)) {
        err << "tavin: " << error << '\n';
        return run::kExitPrintFailed;
    }
    return run::kExitOk;
}

void CProgramApp::onAppAbout()
{
    CAboutDlg dialog(m_frame.get());
    dialog.exec();
}

void CProgramApp::onLanguageChosen(tavin::lang::Language language)
{
    LanguageChoice::save(language);
    LanguageChoice::apply(language);
    m_frame->showLanguage(language);
}

void CProgramApp::onRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles.files().size())
        return;
    const QString path = m_recentFiles.files().at(index);
    OpenDocumentFile(path);
}

FleetWindow *CProgramApp::fleetWindow() const
{
    return m_fleetWindow;
}

void CProgramApp::onFleetWindow()
{
    if (!m_fleetWindow) {
        FleetWindow::Document document;
        document.name = [this] { return m_doc->title(); };
        document.hasUnsavedChanges = [this] {
            m_view->commitOpenEditor();
            return m_doc->isModified() || m_doc->pathName().isEmpty();
        };
        document.save = [this] {
            const QString path = m_doc->pathName().isEmpty() ? m_prompts->saveFileName(m_doc->title()) : m_doc->pathName();
            return !path.isEmpty() && saveTo(path);
        };
        document.path = [this] { return m_doc->pathName(); };
        document.openInForm = [this](const QString &path) { OpenDocumentFile(path); };
        m_fleetWindow = new FleetWindow(std::move(document), m_frame.get());
        TransferController *transfer = m_view->transferController();
        FleetWindow *window = m_fleetWindow;
        connect(transfer, &TransferController::transferStarted, window, [window] { window->setMainWindowBusy(true); });
        connect(transfer, &TransferController::transferFinished, window, [window] { window->setMainWindowBusy(false); });
        window->setMainWindowBusy(m_view->isTransferRunning());
    }
    m_fleetWindow->show();
    m_fleetWindow->raise();
    m_fleetWindow->activateWindow();
}

bool CProgramApp::mayCloseFleet()
{
    if (!m_fleetWindow || !m_fleetWindow->isRunning())
        return true;
    m_fleetWindow->raise();
    m_fleetWindow->close();  // asks; on yes the ports stop and the window closes after them
    if (m_fleetWindow && m_fleetWindow->closesWhenStopped())
        connect(m_fleetWindow, &QObject::destroyed, m_frame.get(), &QWidget::close, Qt::QueuedConnection);
    return false;
}
