#include "ScreenFit.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace screenfit {

namespace {

// A message box's text is wrapped at about this width, as Qt's own does.
constexpr int kMessageTextWidth = 500;
// Lines a message box spends beside its text: margins and the buttons' row.
constexpr int kMessageChromeLines = 6;
// A message whose text scrolls takes this share of the screen's height.
constexpr int kMessageHeightPercent = 90;

const QWidget *shownWindowNear(const QWidget *window)
{
    if (window->isVisible())
        return window;
    if (const QWidget *parent = window->parentWidget(); parent && parent->window()->isVisible())
        return parent->window();
    return nullptr;
}

// The window manager's frame around a window: its own once it has one, else
// that of its parent or of the active window, which it will look like.
QMargins decorations(const QWidget *window)
{
    const QWidget *near = shownWindowNear(window);
    for (const QWidget *w : {near, static_cast<const QWidget *>(QApplication::activeWindow())}) {
        if (!w)
            continue;
        const QRect inner = w->geometry();
        const QRect outer = w->frameGeometry();
        const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                             outer.bottom() - inner.bottom());
        if (!frame.isNull())
            return frame;
    }
    return {};
}

// Keeps a span of length size inside [low, high], its start in view first.
int clampedStart(int start, int size, int low, int high)
{
    return std::max(low, std::min(start, high + 1 - size));
}

class WindowFitter final : public QObject
{
public:
    explicit WindowFitter(QObject *owner) : QObject(owner) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Show comes once the window has its size and before it is placed and
        // mapped; Resize when it grows later (a print dialog showing its
        // options).
        const bool shown = event->type() == QEvent::Show;
        if ((shown || event->type() == QEvent::Resize) && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            if (widget->isWindow() && (widget->windowType() == Qt::Window || widget->windowType() == Qt::Dialog)
                && (shown || widget->isVisible()))
                fitToScreen(widget);
        }
        return false;
    }
};

QMessageBox::StandardButton escapeButton(QMessageBox::StandardButtons buttons)
{
    for (QMessageBox::StandardButton b : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok, QMessageBox::Close}) {
        if (buttons & b)
            return b;
    }
    return QMessageBox::NoButton;
}

// The message box's text in a scroll area, its icon and buttons as the box has them.
QMessageBox::StandardButton scrollingMessage(QMessageBox &box, const QRect &room)
{
    QDialog dialog(box.parentWidget());
    dialog.setWindowTitle(box.windowTitle());
    auto *layout = new QGridLayout(&dialog);
    auto *icon = new QLabel(&dialog);
    icon->setPixmap(box.iconPixmap());
    layout->addWidget(icon, 0, 0, Qt::AlignTop);

    auto *text = new QLabel(box.text());
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *scroll = new QScrollArea(&dialog);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(text);
    layout->addWidget(scroll, 0, 1);
    layout->setColumnStretch(1, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::StandardButtons(int(box.standardButtons())), &dialog);
    layout->addWidget(buttons, 1, 0, 1, 2);
    QObject::connect(buttons, &QDialogButtonBox::clicked, &dialog,
                     [&dialog, buttons](QAbstractButton *button) { dialog.done(buttons->standardButton(button)); });
    if (!buttons->buttons().isEmpty())
        buttons->buttons().constFirst()->setFocus();

    const int width = std::min(room.width(), icon->sizeHint().width() + kMessageTextWidth
                                                 + scroll->verticalScrollBar()->sizeHint().width()
                                                 + 3 * layout->contentsMargins().left());
    // Not quite the whole height: where the window manager puts it, it stays whole.
    dialog.resize(width, room.height() * kMessageHeightPercent / 100);
    fitToScreen(&dialog);
    const int result = dialog.exec();
    return result == QDialog::Rejected ? escapeButton(box.standardButtons()) : QMessageBox::StandardButton(result);
}

// Set on a dialog whose controls were put into a scroll area.
constexpr char kScrolledProperty[] = "tavinControlsScroll";

// Takes widget out of layout or out of a layout nested in it.
bool takeFromLayout(QLayout *layout, QWidget *widget)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == widget) {
            delete layout->takeAt(i);
            return true;
        }
        if (item->layout() && takeFromLayout(item->layout(), widget))
            return true;
    }
    return false;
}

// A dialog whose controls need more room than the screen has (Qt's printer
// properties at a large scale factor): its controls go into a scroll area,
// its buttons stay below it in view.
void scrollContents(QDialog *dialog)
{
    dialog->setProperty(kScrolledProperty, true);
    QLayout *layout = dialog->layout();
    auto *content = new QWidget;
    content->setLayout(layout);  // takes the layout and its controls out of the dialog
    QDialogButtonBox *buttons = content->findChild<QDialogButtonBox *>();
    if (buttons && !takeFromLayout(layout, buttons))
        buttons = nullptr;

    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto *outer = new QVBoxLayout(dialog);
    outer->setContentsMargins(QMargins());
    outer->addWidget(scroll, 1);
    if (buttons) {
        const QMargins margins = layout->contentsMargins();
        auto *row = new QVBoxLayout;
        row->setContentsMargins(margins.left(), 0, margins.right(), margins.bottom());
        row->addWidget(buttons);
        outer->addLayout(row);
    }
    outer->activate();
    // Room for the scroll bar beside the controls; the screen bounds it.
    dialog->resize(dialog->width() + scroll->verticalScrollBar()->sizeHint().width(), dialog->height());
}

}  // namespace

QRect availableArea(const QWidget *window)
{
    const QWidget *near = shownWindowNear(window);
    QScreen *screen = near ? near->screen() : window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void fitToScreen(QWidget *window)
{
    const QRect area = availableArea(window);
    if (area.isEmpty())
        return;
    const QMargins frame = decorations(window);
    const QSize room = area.size().shrunkBy(frame);
    // A message box sizes itself; one too long for the screen goes through message().
    auto *dialog = qobject_cast<QDialog *>(window);
    if (dialog && dialog->layout() && !qobject_cast<QMessageBox *>(dialog)
        && !dialog->property(kScrolledProperty).toBool()) {
        const QSize needed = dialog->minimumSizeHint();
        if (needed.width() > room.width() || needed.height() > room.height())
            scrollContents(dialog);
    }
    const QSize fitted = window->size().boundedTo(room).expandedTo(window->minimumSize());
    if (fitted != window->size())
        window->resize(fitted);
    if (window->isVisible() || window->testAttribute(Qt::WA_Moved)) {
        // Placed already, by the program or the window system: brought back
        // into the area. A window's position is that of its decorated frame.
        const QSize outer = fitted.grownBy(frame);
        const QPoint inside(clampedStart(window->x(), outer.width(), area.left(), area.right()),
                            clampedStart(window->y(), outer.height(), area.top(), area.bottom()));
        if (inside != window->pos())
            window->move(inside);
    }
}

void fitEveryWindow(QObject *owner)
{
    new WindowFitter(owner);
}

QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &caption,
                                    const QString &text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    const QRect room(QPoint(), availableArea(&box).size().shrunkBy(decorations(&box)));
    const QFontMetrics metrics(box.font());
    // Qt's box is half the screen wide at most; its icon and margins take
    // their part of that.
    const int besideText = int(box.iconPixmap().deviceIndependentSize().width())
                           + 4 * (box.layout() ? box.layout()->contentsMargins().left() : 0);
    const int textWidth = std::max(1, std::min(room.width() / 2, kMessageTextWidth) - besideText);
    const int textHeight = metrics.boundingRect(QRect(0, 0, textWidth, 1 << 24), Qt::TextWordWrap, text).height();
    if (textHeight + kMessageChromeLines * metrics.lineSpacing() <= room.height())
        return QMessageBox::StandardButton(box.exec());
    return scrollingMessage(box, room);
}

}  // namespace screenfit
