// Windows and dialogs in reach on any screen: none is larger than the part of
// the screen that windows may cover (panels and docks left out), whatever the
// scale factor, and a message too long for it scrolls.
#pragma once

#include <QMessageBox>
#include <QRect>

class QObject;
class QWidget;

namespace screenfit {

// The available area of the screen a window shows on (its parent's screen
// for one not yet shown), in the window's coordinates.
QRect availableArea(const QWidget *window);

// Makes a window, its decorations included, no larger than the available
// area (never below its minimum size; a dialog whose controls need more room
// than that gets them in a scroll area, its buttons in view below), and moves
// a window that is shown or placed by the program back inside it. Called before a window is shown it
// sets the size the window first appears with.
void fitToScreen(QWidget *window);

// From now on every window and dialog of the application, Qt's own included
// (file, print and page set-up dialogs), is fitted as it is shown and when it
// grows, until owner goes.
void fitEveryWindow(QObject *owner);

// A modal message box that fits the screen: a text too tall for it is shown
// in a box whose text scrolls. Returns the button clicked.
QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &caption,
                                    const QString &text, QMessageBox::StandardButtons buttons = QMessageBox::Ok);

}  // namespace screenfit
