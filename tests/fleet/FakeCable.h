// Programming cables for fleet workers without a pseudo-terminal: each cable
// plays a scripted line of radios (FakeRadioLink, answering at once) that
// are plugged in, programmed, unplugged, fail or have the cable pulled out,
// so a worker's whole loop runs in milliseconds.
#pragma once

#include "../link/FakeRadioLink.h"

#include "WorkerPort.h"

#include <QMap>
#include <QMutex>

#include <atomic>
#include <memory>

namespace tavin::test {

// One radio of a cable's line.
struct ScriptedRadio {
    FakeRadioConfig config;
    // Opens of the port after the radio's last blocks before it is unplugged
    // (a dealer who takes a while); -1: never unplugged.
    int staysForOpens = 2;
    // The cable is pulled out when the radio is sent this write block (from
    // 0): that block and everything after it fail; -1: never.
    int pulledAtWriteBlock = -1;
};

// What a radio went through, for the test to check.
struct RadioHistory {
    QByteArray original;   // its memory when plugged in
    QByteArray final;      // when unplugged (or now)
    int writeCommands = 0; // write block commands it received
};

class FakeCable {
public:
    // gapOpens: opens of an empty line between two radios; pulledOpens:
    // failed opens while the cable is out.
    FakeCable(QList<ScriptedRadio> radios, int gapOpens = 1, int pulledOpens = 2);

    // The SerialLink side, used by one worker at a time.
    bool open();
    void clear();
    link::ReadResult read(int count);
    bool write(const QByteArray &bytes);
    void close();
    bool isOpen() const { return m_open; }
    fleet::PortProblem problem() const { return m_pulled ? fleet::PortProblem::NoDevice : fleet::PortProblem::None; }

    // For the test (safe from any thread while the run goes on).
    int opens() const { return m_opensSeen.load(); }
    // After the run.
    QList<RadioHistory> histories() const;

private:
    void plugInNext();
    void unplug();
    QByteArray memoryOf(const FakeRadioLink &radio) const;

    QList<ScriptedRadio> m_script;
    const int m_gapOpens;
    const int m_pulledOpens;
    QStringList m_trace;  // the radios' own traces, not checked here
    std::unique_ptr<FakeRadioLink> m_radio;  // none while the line is empty
    int m_next = 0;             // the radio to plug in next
    int m_emptyOpens = 0;       // opens since the line went empty or the cable out
    int m_opensSinceBlocks = 0; // opens since the radio in place last had block commands
    bool m_radioStarted = false;
    bool m_open = false;
    std::atomic<bool> m_pulled{false};
    std::atomic<int> m_opensSeen{0};
    QList<RadioHistory> m_history;
};

// The cables of a test by port name, and the worker ports that reach them.
class FakeBench {
public:
    void add(const QString &port, std::shared_ptr<FakeCable> cable) { m_cables.insert(port, std::move(cable)); }
    FakeCable *cable(const QString &port) const { return m_cables.value(port).get(); }
    fleet::WorkerPortFactory factory();

private:
    QMap<QString, std::shared_ptr<FakeCable>> m_cables;
};

}  // namespace tavin::test
