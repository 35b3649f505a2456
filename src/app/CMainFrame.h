// The main window: caption, menu bar, keys, dockable toolbar, status bar with
// the prompt pane and the lock-key indicators, and the editor form as its view.
#pragma once

#include "Language.h"

#include <QHash>
#include <QMap>
#include <QMainWindow>

#include <functional>

class CProgramView;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QScrollArea;
class QToolBar;

class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int kInitialWidthPixels = 900;
    static constexpr int kInitialHeightPixels = 600;

    explicit CMainFrame(QWidget *parent = nullptr);
    ~CMainFrame() override;

    // Puts the form in the frame as its only view.
    void setView(CProgramView *view);

    // The action of a command id (menus, toolbar), or nullptr.
    QAction *action(int id) const { return m_actions.value(id); }
    QToolBar *toolBar() const { return m_toolBar; }
    QMenu *fileMenu() const { return m_fileMenu; }
    QMenu *toolsMenu() const { return m_toolsMenu; }

    // The message pane: the prompt while one is shown, otherwise the idle text.
    QString statusText() const;
    // The indicator pane's text of 59137, 59138 or 59139 (empty while off).
    QString indicatorText(int id) const;

    // Entries of the recent-file list, newest first.
    void setRecentFiles(const QStringList &files);
    // Called before the window closes; returning false keeps it open.
    void setCloseGuard(std::function<bool()> guard) { m_closeGuard = std::move(guard); }

    // Smaller in each direction where the frame is larger than the form needs;
    // wider by as much as the form is widened for its texts in the user's
    // language.
    void shrinkToForm(const QSize &formSize);
    // The form was laid out anew in another language: the frame grows or
    // shrinks with it, staying inside the screen.
    void followForm(const QSize &oldSize, const QSize &newSize);
    // Centred in the screen's available area, and never beyond it: a frame
    // larger than the area is made as large as the area (the form scrolls).
    void centreOnScreen();
    // Where a frame of the given outer size (window decorations included)
    // goes in a screen's available area: centred, shrunk to the area where
    // larger, so its top-left corner is always in view.
    static QRect placeFrame(const QRect &available, const QSize &frame);

    // Refresh the caps, num and scroll indicators.
    void updateIndicators();

    // The check mark of "语言 / Language" sits on this language.
    void showLanguage(tavin::lang::Language language);

Q_SIGNALS:
    void recentFileChosen(int index);
    void fileDropped(const QString &path);
    // "中文" or "English" was chosen under "工具(&T)" > "语言 / Language".
    void languageChosen(tavin::lang::Language language);

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Language = tavin::lang::Language;

    QAction *addCommand(int id);
    void createMenus();
    void createToolsMenu(QMenuBar *bar);
    // Every text of the frame in the current language.
    void retranslate();
    void createToolBar();
    void createStatusBar();
    bool isDeadKey(const QKeyEvent *event) const;
    // The frame's size that shows the whole form with the bars around it.
    QSize sizeForForm(const QSize &formSize) const;

    QHash<int, QAction *> m_actions;
    QMenu *m_fileMenu = nullptr;
    QMenu *m_programmingMenu = nullptr;
    QMenu *m_portMenu = nullptr;
    QMenu *m_toolsMenu = nullptr;
    QMenu *m_viewMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    QMap<Language, QAction *> m_languageActions;
    QAction *m_recentPlaceholder = nullptr;
    QAction *m_recentSeparator = nullptr;
    QList<QAction *> m_recentActions;
    QToolBar *m_toolBar = nullptr;
    QLabel *m_idleLabel = nullptr;
    QHash<int, QLabel *> m_indicators;
    QScrollArea *m_scrollArea = nullptr;
    CProgramView *m_view = nullptr;
    std::function<bool()> m_closeGuard;
    bool m_placedWithDecorations = false;
};
