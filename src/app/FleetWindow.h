// The fleet window: programs what the form shows into radio after radio on
// the ports chosen, with the same fleet code as tavin-cli clone. A window of
// its own, not modal, above the main window, which stays usable meanwhile.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class FleetBoard;
class FleetPrompts;
class FleetSetup;
class QLabel;
class QPushButton;

namespace tavin::fleet {
class CloneRun;
}

class FleetWindow : public QWidget
{
    Q_OBJECT

public:
    // What the fleet needs of the main window's document.
    struct Document {
        std::function<QString()> name;                  // for the save question
        std::function<bool()> hasUnsavedChanges;        // changed, or never saved
        std::function<bool()> save;                     // as File Save; false when not saved
        std::function<QString()> path;                  // the file that holds what the form shows
        std::function<void(const QString &)> openInForm;  // a radio's backup
    };

    explicit FleetWindow(Document document, QWidget *parent = nullptr);
    ~FleetWindow() override;

    void setPrompts(std::unique_ptr<FleetPrompts> prompts);

    FleetSetup *setup() const { return m_setup; }
    FleetBoard *board() const { return m_board; }
    bool isRunning() const;
    // Closing was asked for while radios were being programmed: the window
    // closes once every port has stopped.
    bool closesWhenStopped() const { return m_closeWhenStopped; }

    // The main window reads or writes a radio: its transfer runs inside the
    // window system's event handling, so nothing here may open a dialog
    // (which would hold the transfer up) until it has ended.
    void setMainWindowBusy(bool busy);
    // While radios are programmed: why the main window may not read or write
    // on port (the run uses that device, under whatever name); else empty.
    QString portTakenReason(const QString &port) const;

public Q_SLOTS:
    // Start: checks and starts a run; false when it did not start (the
    // reason was shown).
    bool startRun();
    // Stop: every port ends at the protocol's next safe point.
    void stopRun();

Q_SIGNALS:
    void runEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    class Bridge;

    void onRunEnded();
    void retranslate();
    // The file and the defaults, as the main window's document now has them.
    void showDocument();
    void setRunning(bool running);

    Document m_document;
    std::unique_ptr<FleetPrompts> m_prompts;
    FleetSetup *m_setup = nullptr;
    FleetBoard *m_board = nullptr;
    QLabel *m_file = nullptr;
    QLabel *m_note = nullptr;
    QLabel *m_notice = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_close = nullptr;
    std::unique_ptr<Bridge> m_bridge;
    std::unique_ptr<tavin::fleet::CloneRun> m_run;
    bool m_closeWhenStopped = false;
    bool m_mainWindowBusy = false;
};
