// The floor of the start-up benchmark: the least a Qt Widgets program does to
// show a main window with a menu bar, a label and a status bar in Chinese
// (the program's language, so both load a CJK font).

#include "StartupProbe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    StartupProbe::install();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("floor"));
    window.menuBar()->addMenu(QStringLiteral("文件(&F)"));
    window.setCentralWidget(new QLabel(QStringLiteral("信道设置"), &window));
    window.statusBar()->showMessage(QStringLiteral("就绪"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
