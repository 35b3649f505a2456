#include "CMainFrame.h"

#include "CProgramView.h"
#include "CommandIds.h"
#include "CommandTexts.h"
#include "LockKeys.h"
#include "NativePath.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

// Keys the frame takes and drops: copy, cut, paste, undo, the pane keys and the
// port labels' Ctrl+1 to Ctrl+4. Nothing in the window reacts to them, not
// even an edit field that has the focus.
const QList<QKeyCombination> kDeadKeys = {
    QKeyCombination(Qt::ControlModifier, Qt::Key_C),  QKeyCombination(Qt::ControlModifier, Qt::Key_Insert),
    QKeyCombination(Qt::ControlModifier, Qt::Key_X),  QKeyCombination(Qt::ShiftModifier, Qt::Key_Delete),
    QKeyCombination(Qt::ControlModifier, Qt::Key_V),  QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert),
    QKeyCombination(Qt::ControlModifier, Qt::Key_Z),  QKeyCombination(Qt::AltModifier, Qt::Key_Backspace),
    QKeyCombination(Qt::NoModifier, Qt::Key_F6),      QKeyCombination(Qt::ShiftModifier, Qt::Key_F6),
    QKeyCombination(Qt::ControlModifier, Qt::Key_1),  QKeyCombination(Qt::ControlModifier, Qt::Key_2),
    QKeyCombination(Qt::ControlModifier, Qt::Key_3),  QKeyCombination(Qt::ControlModifier, Qt::Key_4),
};

// Long enough for a window manager to frame a newly shown window.
constexpr int kDecorationsSettleMs = 200;

constexpr int kIndicatorIds[] = {cmd::kIndicatorCaps, cmd::kIndicatorNum, cmd::kIndicatorScroll};

// The Tools menu's commands, in order; the language choice follows them.
constexpr int kToolIds[] = {cmd::kToolsImportList, cmd::kToolsExportList, cmd::kToolsCompareFile,
                            cmd::kToolsVerifyRadio, cmd::kToolsFleet, cmd::kToolsCableCheck};

QIcon commandIcon(const QString &name)
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/16/%1.png").arg(name), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/32/%1.png").arg(name), QSize(32, 32));
    return icon;
}

}  // namespace

CMainFrame::CMainFrame(QWidget *parent) : QMainWindow(parent)
{
    setWindowIcon(QIcon(QStringLiteral(":/icons/32/tavin.png")));
    resize(kInitialWidthPixels, kInitialHeightPixels);
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks);

    createMenus();
    createToolBar();
    createStatusBar();
    retranslate();
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame()
{
    qApp->removeEventFilter(this);
}

QAction *CMainFrame::addCommand(int id)
{
    auto *act = new QAction(this);
    act->setData(id);
    m_actions.insert(id, act);
    return act;
}

void CMainFrame::createMenus()
{
    QMenuBar *bar = menuBar();

    m_fileMenu = bar->addMenu(QString());
    m_fileMenu->addAction(addCommand(cmd::kFileNew));
    action(cmd::kFileNew)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_fileMenu->addAction(addCommand(cmd::kFileOpen));
    action(cmd::kFileOpen)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_fileMenu->addAction(addCommand(cmd::kFileSave));
    action(cmd::kFileSave)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_fileMenu->addAction(addCommand(cmd::kFileSaveAs));
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(addCommand(cmd::kFilePrint));
    action(cmd::kFilePrint)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m_fileMenu->addAction(addCommand(cmd::kFilePrintPreview));
    m_fileMenu->addAction(addCommand(cmd::kFilePrintSetup));
    m_fileMenu->addSeparator();
    m_recentPlaceholder = m_fileMenu->addAction(QString());
    m_recentPlaceholder->setEnabled(false);
    m_recentSeparator = m_fileMenu->addSeparator();
    m_fileMenu->addAction(addCommand(cmd::kAppExit));
    // The print command the desktop shell issues; it has no menu item.
    addCommand(cmd::kFilePrintDirect);

    m_programmingMenu = bar->addMenu(QString());
    m_programmingMenu->addAction(addCommand(cmd::kReadFromRadio));
    action(cmd::kReadFromRadio)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    action(cmd::kReadFromRadio)->setIcon(commandIcon(QStringLiteral("read")));
    m_programmingMenu->addAction(addCommand(cmd::kWriteToRadio));
    action(cmd::kWriteToRadio)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    action(cmd::kWriteToRadio)->setIcon(commandIcon(QStringLiteral("write")));

    // The port labels show Ctrl+1 to Ctrl+4 as text only; no key is bound.
    m_portMenu = bar->addMenu(QString());
    auto *portGroup = new QActionGroup(this);
    portGroup->setExclusive(true);
    for (int id : {cmd::kPortCom1, cmd::kPortCom2, cmd::kPortCom3, cmd::kPortCom4}) {
        QAction *act = addCommand(id);
        act->setCheckable(true);
        portGroup->addAction(act);
        m_portMenu->addAction(act);
    }

    createToolsMenu(bar);

    m_viewMenu = bar->addMenu(QString());
    m_viewMenu->addAction(addCommand(cmd::kViewToolbar));
    m_viewMenu->addAction(addCommand(cmd::kViewStatusBar));
    for (int id : {cmd::kViewToolbar, cmd::kViewStatusBar}) {
        action(id)->setCheckable(true);
        action(id)->setChecked(true);
    }

    m_helpMenu = bar->addMenu(QString());
    m_helpMenu->addAction(addCommand(cmd::kAppAbout));

    action(cmd::kFileNew)->setIcon(commandIcon(QStringLiteral("new")));
    action(cmd::kFileOpen)->setIcon(commandIcon(QStringLiteral("open")));
    action(cmd::kFileSave)->setIcon(commandIcon(QStringLiteral("save")));
    action(cmd::kFilePrint)->setIcon(commandIcon(QStringLiteral("print")));
    action(cmd::kAppAbout)->setIcon(commandIcon(QStringLiteral("about")));
    for (QAction *act : std::as_const(m_actions))
        act->setIconVisibleInMenu(false);

    connect(action(cmd::kAppExit), &QAction::triggered, this, &QWidget::close);
}

void CMainFrame::createToolsMenu(QMenuBar *bar)
{
    m_toolsMenu = bar->addMenu(QString());
    for (int id : kToolIds)
        m_toolsMenu->addAction(addCommand(id));
    m_toolsMenu->addSeparator();
    // The language menu and its two items read the same in every language,
    // so that a user who cannot read the one shown still finds his own.
    QMenu *language = m_toolsMenu->addMenu(QStringLiteral("语言 / Language"));
    auto *group = new QActionGroup(this);
    group->setExclusive(true);
    const std::pair<Language, QString> choices[] = {
        {Language::Chinese, QStringLiteral("中文")},
        {Language::English, QStringLiteral("English")},
    };
    for (const auto &[choice, name] : choices) {
        QAction *act = language->addAction(name);
        act->setCheckable(true);
        group->addAction(act);
        m_languageActions.insert(choice, act);
        connect(act, &QAction::triggered, this, [this, choice] { Q_EMIT languageChosen(choice); });
    }
    showLanguage(Language::Chinese);
}

void CMainFrame::showLanguage(Language language)
{
    if (QAction *act = m_languageActions.value(language))
        act->setChecked(true);
}

void CMainFrame::retranslate()
{
    setWindowTitle(tavin::lang::applicationTitle());
    m_fileMenu->setTitle(tr("文件(&F)"));
    const std::pair<int, const char *> labels[] = {
        {cmd::kFileNew, QT_TR_NOOP("新建(&N)")},
        {cmd::kFileOpen, QT_TR_NOOP("打开(&O)...")},
        {cmd::kFileSave, QT_TR_NOOP("保存(&S)")},
        {cmd::kFileSaveAs, QT_TR_NOOP("另存为(&A)...")},
        {cmd::kFilePrint, QT_TR_NOOP("打印(&P)...")},
        {cmd::kFilePrintPreview, QT_TR_NOOP("打印预览(&V)")},
        {cmd::kFilePrintSetup, QT_TR_NOOP("打印设置(&R)...")},
        {cmd::kAppExit, QT_TR_NOOP("退出(&X)")},
        {cmd::kReadFromRadio, QT_TR_NOOP("从对讲机读取数据")},
        {cmd::kWriteToRadio, QT_TR_NOOP("向对讲机写入数据")},
        {cmd::kPortCom1, QT_TR_NOOP("COM1 \tCtrl+1")},
        {cmd::kPortCom2, QT_TR_NOOP("COM2  \tCtrl+2")},
        {cmd::kPortCom3, QT_TR_NOOP("COM3  \tCtrl+3")},
        {cmd::kPortCom4, QT_TR_NOOP("COM4  \tCtrl+4")},
        {cmd::kToolsImportList, QT_TR_NOOP("导入信道表(&I)...")},
        {cmd::kToolsExportList, QT_TR_NOOP("导出信道表(&E)...")},
        {cmd::kToolsCompareFile, QT_TR_NOOP("与文件比较(&D)...")},
        {cmd::kToolsVerifyRadio, QT_TR_NOOP("核对对讲机(&V)...")},
        {cmd::kToolsFleet, QT_TR_NOOP("批量写频(&F)...")},
        {cmd::kToolsCableCheck, QT_TR_NOOP("检查连接(&K)...")},
        {cmd::kViewToolbar, QT_TR_NOOP("工具栏(&T)")},
        {cmd::kViewStatusBar, QT_TR_NOOP("状态栏(&S)")},
        {cmd::kAppAbout, QT_TR_NOOP("关于 ...")},
    };
    for (const auto &[id, label] : labels)
        action(id)->setText(tr(label));
    for (QAction *act : std::as_const(m_actions)) {
        const texts::CommandText text = texts::commandText(act->data().toInt());
        act->setStatusTip(text.prompt);
        act->setToolTip(text.tooltip);  // none: a button shows its label
    }
    m_recentPlaceholder->setText(tr("最近文件"));
    m_recentPlaceholder->setStatusTip(texts::commandText(cmd::kFileMru1).prompt);
    for (QAction *act : std::as_const(m_recentActions))
        act->setStatusTip(texts::commandText(act->data().toInt()).prompt);
    m_programmingMenu->setTitle(tr("编程"));
    m_portMenu->setTitle(tr("端口(&C)"));
    m_toolsMenu->setTitle(tr("工具(&T)"));
    m_viewMenu->setTitle(tr("查看(&V)"));
    m_helpMenu->setTitle(tr("帮助(&H)"));

    m_idleLabel->setText(texts::ready());
    for (int id : kIndicatorIds) {
        QLabel *label = m_indicators.value(id);
        const QString text = texts::commandText(id).prompt;
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 8);
    }
    updateIndicators();
}

void CMainFrame::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void CMainFrame::createToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("59392"));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->addAction(action(cmd::kFileNew));
    m_toolBar->addAction(action(cmd::kFileOpen));
    m_toolBar->addAction(action(cmd::kFileSave));
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(cmd::kReadFromRadio));
    m_toolBar->addAction(action(cmd::kWriteToRadio));
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(cmd::kFilePrint));
    m_toolBar->addAction(action(cmd::kAppAbout));
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    QAction *viewToolbar = action(cmd::kViewToolbar);
    connect(viewToolbar, &QAction::triggered, m_toolBar, &QWidget::setVisible);
    connect(m_toolBar, &QToolBar::visibilityChanged, viewToolbar, [this, viewToolbar] {
        if (isVisible())
            viewToolbar->setChecked(!m_toolBar->isHidden());
    });
}

void CMainFrame::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("59393"));
    m_idleLabel = new QLabel(bar);
    bar->addWidget(m_idleLabel, 1);
    for (int id : kIndicatorIds) {
        auto *label = new QLabel(bar);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(label);
        m_indicators.insert(id, label);
    }
    connect(action(cmd::kViewStatusBar), &QAction::triggered, bar, &QWidget::setVisible);
}

void CMainFrame::setView(CProgramView *view)
{
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setWidget(view);
    m_scrollArea->setWidgetResizable(false);
    m_scrollArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Only the form's controls take the focus: the area around them would be a
    // stop in the Tab walk that shows nothing.
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    setCentralWidget(m_scrollArea);
    m_view = view;
    connect(view, &CProgramView::formSizeKnown, this, &CMainFrame::shrinkToForm);
    connect(view, &CProgramView::formSizeChanged, this, &CMainFrame::followForm);
    connect(view, &CProgramView::cellInView, this, [this](const QRect &cell) {
        m_scrollArea->ensureVisible(cell.center().x(), cell.center().y(), cell.width() / 2 + cell.height(),
                                    cell.height());
    });
}

QString CMainFrame::statusText() const
{
    const QString message = statusBar()->currentMessage();
    return message.isEmpty() ? m_idleLabel->text() : message;
}

QString CMainFrame::indicatorText(int id) const
{
    const QLabel *label = m_indicators.value(id);
    return label ? label->text() : QString();
}

void CMainFrame::updateIndicators()
{
    const LockKeyState keys = readLockKeys();
    const std::pair<int, bool> states[] = {
        {cmd::kIndicatorCaps, keys.caps},
        {cmd::kIndicatorNum, keys.num},
        {cmd::kIndicatorScroll, keys.scroll},
    };
    for (const auto &[id, on] : states)
        m_indicators.value(id)->setText(on ? texts::commandText(id).prompt : QString());
}

void CMainFrame::setRecentFiles(const QStringList &files)
{
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    m_recentPlaceholder->setVisible(files.isEmpty());
    const QFontMetrics metrics(m_fileMenu->font());
    for (int i = 0; i < files.size() && i < cmd::kRecentFileCount; ++i) {
        const QString shown = metrics.elidedText(QDir::toNativeSeparators(files.at(i)), Qt::ElideMiddle, 400);
        auto *act = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), this);
        act->setStatusTip(texts::commandText(cmd::kFileMru1 + i).prompt);
        act->setData(cmd::kFileMru1 + i);
        connect(act, &QAction::triggered, this, [this, i] { Q_EMIT recentFileChosen(i); });
        m_fileMenu->insertAction(m_recentSeparator, act);
        m_recentActions.append(act);
    }
}

QSize CMainFrame::sizeForForm(const QSize &formSize) const
{
    const int frameWidth = m_scrollArea->frameWidth();
    const QSize central = formSize + QSize(2 * frameWidth, 2 * frameWidth);
    // What the bars and the menu add around the view.
    return central + (sizeHint() - m_scrollArea->sizeHint());
}

void CMainFrame::shrinkToForm(const QSize &formSize)
{
    if (!m_scrollArea)
        return;
    const QSize needed = sizeForForm(formSize);
    const int widening = m_view ? m_view->textWidening() : 0;
    resize(std::min(width(), needed.width() - widening) + widening, std::min(height(), needed.height()));
}

void CMainFrame::followForm(const QSize &, const QSize &newSize)
{
    if (isMaximized() || isFullScreen())
        return;
    // Once the bars have been laid out for their texts in the new language
    // (their heights follow the fonts that draw them), the frame fits the form
    // again, inside the screen.
    QTimer::singleShot(0, this, [this, newSize] {
        layout()->invalidate();
        resize(sizeForForm(newSize));
        const QScreen *screen = this->screen();
        if (isVisible() && screen && !screen->availableGeometry().contains(frameGeometry()))
            centreOnScreen();
    });
}

QRect CMainFrame::placeFrame(const QRect &available, const QSize &frame)
{
    const QSize size = frame.boundedTo(available.size());
    const QPoint topLeft(available.x() + (available.width() - size.width()) / 2,
                         available.y() + (available.height() - size.height()) / 2);
    return QRect(topLeft, size);
}

void CMainFrame::centreOnScreen()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The window manager's decorations, once the window has them (none before
    // it is first shown).
    const QMargins decorations(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                               frameGeometry().right() - geometry().right(),
                               frameGeometry().bottom() - geometry().bottom());
    const QRect outer = placeFrame(screen->availableGeometry(), size().grownBy(decorations));
    resize(outer.size().shrunkBy(decorations));
    move(outer.topLeft());  // a window's position is that of its decorated frame
}

void CMainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_placedWithDecorations)
        return;
    m_placedWithDecorations = true;
    // Placed before its decorations were known: once the window manager has
    // framed it, a frame that sticks out of the screen is placed again.
    QTimer::singleShot(kDecorationsSettleMs, this, [this] {
        const QScreen *screen = this->screen();
        if (screen && !screen->availableGeometry().contains(frameGeometry()))
            centreOnScreen();
    });
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (m_closeGuard && !m_closeGuard()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent *event)
{
    const QMimeData *data = event->mimeData();
    if (data->hasUrls() && !data->urls().isEmpty() && data->urls().constFirst().isLocalFile())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile())
        return;
    event->acceptProposedAction();
    // One document at a time: the first dropped file is opened.
    Q_EMIT fileDropped(tavin::platform::fromUrl(urls.constFirst()));
}

bool CMainFrame::isDeadKey(const QKeyEvent *event) const
{
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return kDeadKeys.contains(QKeyCombination(modifiers, Qt::Key(event->key())));
}

bool CMainFrame::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto *widget = qobject_cast<QWidget *>(watched);
        auto *key = static_cast<QKeyEvent *>(event);
        if (widget && widget->window() == this && isDeadKey(key)) {
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress)
            updateIndicators();
        break;
    }
    case QEvent::KeyRelease:
    case QEvent::WindowActivate:
        if (watched == this || event->type() == QEvent::KeyRelease)
            updateIndicators();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
