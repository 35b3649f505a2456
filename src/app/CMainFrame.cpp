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
    setWindowTitle(texts::kAppTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/32/tavin.png")));
    resize(kInitialWidthPixels, kInitialHeightPixels);
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks);

    createMenus();
    createToolBar();
    createStatusBar();
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame()
{
    qApp->removeEventFilter(this);
}

QAction *CMainFrame::addCommand(int id, const QString &label)
{
    auto *act = new QAction(label, this);
    const texts::CommandText text = texts::commandText(id);
    act->setStatusTip(text.prompt);
    if (!text.tooltip.isEmpty())
        act->setToolTip(text.tooltip);
    act->setData(id);
    m_actions.insert(id, act);
    return act;
}

void CMainFrame::createMenus()
{
    QMenuBar *bar = menuBar();

    m_fileMenu = bar->addMenu(QStringLiteral("文件(&F)"));
    m_fileMenu->addAction(addCommand(cmd::kFileNew, QStringLiteral("新建(&N)")));
    action(cmd::kFileNew)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_fileMenu->addAction(addCommand(cmd::kFileOpen, QStringLiteral("打开(&O)...")));
    action(cmd::kFileOpen)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_fileMenu->addAction(addCommand(cmd::kFileSave, QStringLiteral("保存(&S)")));
    action(cmd::kFileSave)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_fileMenu->addAction(addCommand(cmd::kFileSaveAs, QStringLiteral("另存为(&A)...")));
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(addCommand(cmd::kFilePrint, QStringLiteral("打印(&P)...")));
    action(cmd::kFilePrint)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m_fileMenu->addAction(addCommand(cmd::kFilePrintPreview, QStringLiteral("打印预览(&V)")));
    m_fileMenu->addAction(addCommand(cmd::kFilePrintSetup, QStringLiteral("打印设置(&R)...")));
    m_fileMenu->addSeparator();
    m_recentPlaceholder = m_fileMenu->addAction(QStringLiteral("最近文件"));
    m_recentPlaceholder->setEnabled(false);
    m_recentPlaceholder->setStatusTip(texts::commandText(cmd::kFileMru1).prompt);
    m_recentSeparator = m_fileMenu->addSeparator();
    m_fileMenu->addAction(addCommand(cmd::kAppExit, QStringLiteral("退出(&X)")));
    // The print command the desktop shell issues; it has no menu item.
    addCommand(cmd::kFilePrintDirect, QString());

    QMenu *programming = bar->addMenu(QStringLiteral("编程"));
    programming->addAction(addCommand(cmd::kReadFromRadio, QStringLiteral("从对讲机读取数据")));
    action(cmd::kReadFromRadio)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    action(cmd::kReadFromRadio)->setIcon(commandIcon(QStringLiteral("read")));
    programming->addAction(addCommand(cmd::kWriteToRadio, QStringLiteral("向对讲机写入数据")));
    action(cmd::kWriteToRadio)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    action(cmd::kWriteToRadio)->setIcon(commandIcon(QStringLiteral("write")));

    // The port labels show Ctrl+1 to Ctrl+4 as text only; no key is bound.
    QMenu *port = bar->addMenu(QStringLiteral("端口(&C)"));
    const std::pair<int, const char *> ports[] = {
        {cmd::kPortCom1, "COM1 \tCtrl+1"},
        {cmd::kPortCom2, "COM2  \tCtrl+2"},
        {cmd::kPortCom3, "COM3  \tCtrl+3"},
        {cmd::kPortCom4, "COM4  \tCtrl+4"},
    };
    auto *portGroup = new QActionGroup(this);
    portGroup->setExclusive(true);
    for (const auto &[id, label] : ports) {
        QAction *act = addCommand(id, QString::fromUtf8(label));
        act->setCheckable(true);
        portGroup->addAction(act);
        port->addAction(act);
    }

    QMenu *view = bar->addMenu(QStringLiteral("查看(&V)"));
    view->addAction(addCommand(cmd::kViewToolbar, QStringLiteral("工具栏(&T)")));
    view->addAction(addCommand(cmd::kViewStatusBar, QStringLiteral("状态栏(&S)")));
    for (int id : {cmd::kViewToolbar, cmd::kViewStatusBar}) {
        action(id)->setCheckable(true);
        action(id)->setChecked(true);
    }

    QMenu *help = bar->addMenu(QStringLiteral("帮助(&H)"));
    help->addAction(addCommand(cmd::kAppAbout, QStringLiteral("关于 ...")));

    action(cmd::kFileNew)->setIcon(commandIcon(QStringLiteral("new")));
    action(cmd::kFileOpen)->setIcon(commandIcon(QStringLiteral("open")));
    action(cmd::kFileSave)->setIcon(commandIcon(QStringLiteral("save")));
    action(cmd::kFilePrint)->setIcon(commandIcon(QStringLiteral("print")));
    action(cmd::kAppAbout)->setIcon(commandIcon(QStringLiteral("about")));
    for (QAction *act : std::as_const(m_actions))
        act->setIconVisibleInMenu(false);

    connect(action(cmd::kAppExit), &QAction::triggered, this, &QWidget::close);
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
    m_idleLabel = new QLabel(texts::kReady, bar);
    bar->addWidget(m_idleLabel, 1);
    for (int id : kIndicatorIds) {
        auto *label = new QLabel(bar);
        const QString text = texts::commandText(id).prompt;
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 8);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(label);
        m_indicators.insert(id, label);
    }
    updateIndicators();

    connect(action(cmd::kViewStatusBar), &QAction::triggered, bar, &QWidget::setVisible);
}

void CMainFrame::setView(CProgramView *view)
{
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setWidget(view);
    m_scrollArea->setWidgetResizable(false);
    m_scrollArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCentralWidget(m_scrollArea);
    connect(view, &CProgramView::formSizeKnown, this, &CMainFrame::shrinkToForm);
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

void CMainFrame::shrinkToForm(const QSize &formSize)
{
    if (!m_scrollArea)
        return;
    const int frameWidth = m_scrollArea->frameWidth();
    const QSize central = formSize + QSize(2 * frameWidth, 2 * frameWidth);
    // What the bars and the menu add around the view.
    const QSize around = sizeHint() - m_scrollArea->sizeHint();
    const QSize needed = central + around;
    resize(std::min(width(), needed.width()), std::min(height(), needed.height()));
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
