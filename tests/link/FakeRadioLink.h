// An in-process radio behind the SerialLink interface, for fast tests of the
// protocol's logic. It answers at once (no line timing); every port
// operation, pause, pump cycle and cancel test goes into one shared trace.
#pragma once

#include "RadioProtocol.h"
#include "SerialLink.h"
#include "TransferUi.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <array>
#include <functional>
#include <cstdint>

namespace tavin::test {

struct FakeRadioConfig {
    int silentProbes = 0;        // probes ignored before answering (-1: never answers)
    int strayBytes = 0;          // 0x55 bytes before the probe ACK
    int stxAnswerSize = 8;
    bool confirmAck = true;
    int shortReplyBlock = -1;    // this read block gets replySize bytes
    int replySize = 12;
    int noReadAckBlock = -1;     // no ACK after our ACK of this read block
    int noWriteAckBlock = -1;    // this write block is not acknowledged nor stored
    int badStoreBlock = -1;      // this write block is acknowledged, but stored with its first byte wrong
    int failingConfirmWrites = 0;  // the port refuses this many confirmation bytes
    bool failOpen = false;
    bool readCallsFail = false;  // every read call fails (a broken port)
};

class FakeRadioLink final : public link::SerialLink {
public:
    FakeRadioLink(QStringList &trace, FakeRadioConfig config) : m_trace(trace), m_config(config)
    {
        for (std::size_t i = 0; i < m_memory.size(); ++i)
            m_memory[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }

    std::array<std::uint8_t, 1024> m_memory{};
    QByteArray m_sent;  // every byte the program wrote successfully
    int m_probes = 0;
    int m_opens = 0;
    int m_closes = 0;
    int m_blockCommands = 0;

    bool open(const QString &portName) override
    {
        m_trace << QStringLiteral("open ") + portName;
        if (m_config.failOpen)
            return false;
        ++m_opens;
        m_open = true;
        m_portFailed = false;
        // A port opened again finds the radio waiting for a probe.
        m_state = State::Idle;
        m_window.clear();
        m_fromProgram.clear();
        m_toProgram.clear();
        return true;
    }
    void clear() override { m_trace << QStringLiteral("clear"); m_toProgram.clear(); }
    void clearAndAbort() override { m_trace << QStringLiteral("abort"); m_toProgram.clear(); }
    link::ReadResult read(int count) override
    {
        link::ReadResult r;
        r.ok = m_open && !m_config.readCallsFail;
        m_portFailed = m_portFailed || m_config.readCallsFail;
        if (r.ok) {
            r.bytes = m_toProgram.left(count);
            m_toProgram.remove(0, r.bytes.size());
        }
        m_trace << QStringLiteral("r%1 %2").arg(count).arg(QString::fromLatin1(r.bytes.toHex(' ')));
        return r;
    }
    bool write(const QByteArray &bytes) override
    {
        const bool isConfirm = m_state == State::Identified && bytes == QByteArray(1, 0x06);
        if (!m_open || (isConfirm && m_config.failingConfirmWrites > 0)) {
            if (isConfirm)
                --m_config.failingConfirmWrites;
            m_trace << QStringLiteral("w! ") + QString::fromLatin1(bytes.toHex(' '));
            return false;
        }
        m_trace << QStringLiteral("w ") + QString::fromLatin1(bytes.toHex(' '));
        m_sent += bytes;
        for (char b : bytes) {
            m_window = (m_window + b).right(8);
            m_fromProgram += b;
            process();
        }
        return true;
    }
    void close() override
    {
        m_trace << QStringLiteral("close");
        if (m_open)
            ++m_closes;
        m_open = false;
    }
    bool isOpen() const override { return m_open; }
    bool needsReopen(const QString &portName) override
    {
        m_trace << QStringLiteral("reopen? ") + portName;
        return m_portFailed || !m_open;
    }

    // Changed while the question is open: a port that mends or breaks.
    FakeRadioConfig &config() { return m_config; }

private:
    enum class State { Idle, Probed, Identified, Ready, AwaitReadAck };

    void answer(const QByteArray &b) { m_toProgram += b; }

    void process()
    {
        static const QByteArray probe(reinterpret_cast<const char *>(link::wire::kProbe), 8);
        for (;;) {
            if (m_window == probe) {
                m_window.clear();
                m_fromProgram.clear();
                ++m_probes;
                m_state = State::Idle;
                if (m_config.silentProbes < 0 || m_probes <= m_config.silentProbes)
                    return;
                answer(QByteArray(m_config.strayBytes, 0x55) + QByteArray(1, 0x06));
                m_state = State::Probed;
                return;
            }
            if (m_fromProgram.isEmpty())
                return;
            const auto first = static_cast<std::uint8_t>(m_fromProgram.at(0));
            switch (m_state) {
            case State::Idle:
                if (m_fromProgram.size() < 8)
                    return;
                m_fromProgram.remove(0, 1);
                break;
            case State::Probed:
                m_fromProgram.remove(0, 1);
                if (first == 0x02) {
                    QByteArray id("QDT310K\x01", 8);
                    answer(id.left(m_config.stxAnswerSize).leftJustified(m_config.stxAnswerSize, 'x'));
                    m_state = State::Identified;
                }
                break;
            case State::Identified:
                m_fromProgram.remove(0, 1);
                if (first == 0x06) {
                    if (m_config.confirmAck)
                        answer(QByteArray(1, 0x06));
                    m_state = State::Ready;
                } else if (first == 0x02) {
                    m_state = State::Idle;
                    m_fromProgram.prepend('\x02');
                    return;
                }
                break;
            case State::Ready:
                if (first == 0x52 || first == 0x57) {
                    const bool isRead = first == 0x52;
                    if (m_fromProgram.size() < (isRead ? 4 : 12))
                        return;
                    const int address = (static_cast<std::uint8_t>(m_fromProgram.at(1)) << 8)
                        | static_cast<std::uint8_t>(m_fromProgram.at(2));
                    const int block = address / 8;
                    ++m_blockCommands;
                    if (isRead) {
                        QByteArray reply = m_fromProgram.left(4);
                        reply += QByteArray(reinterpret_cast<const char *>(m_memory.data() + address), 8);
                        if (block == m_config.shortReplyBlock)
                            reply = reply.left(m_config.replySize);
                        answer(reply);
                        m_fromProgram.remove(0, 4);
                        m_readBlock = block;
                        m_state = State::AwaitReadAck;
                    } else {
                        if (block != m_config.noWriteAckBlock && address < 0x3D8) {
                            std::copy_n(m_fromProgram.constData() + 4, 8, m_memory.data() + address);
                            if (block == m_config.badStoreBlock)
                                m_memory[static_cast<std::size_t>(address)] ^= 0xFF;
                            answer(QByteArray(1, 0x06));
                        }
                        m_fromProgram.remove(0, 12);
                    }
                } else {
                    if (first == 0x02) {
                        m_state = State::Idle;
                        return;
                    }
                    m_fromProgram.remove(0, 1);
                }
                break;
            case State::AwaitReadAck:
                m_fromProgram.remove(0, 1);
                if (first == 0x06) {
                    if (m_readBlock != m_config.noReadAckBlock)
                        answer(QByteArray(1, 0x06));
                    m_state = State::Ready;
                }
                break;
            }
        }
    }

    QStringList &m_trace;
    FakeRadioConfig m_config;
    bool m_open = false;
    bool m_portFailed = false;  // a read failed since the last open
    State m_state = State::Idle;
    QByteArray m_fromProgram;
    QByteArray m_window;  // the last 8 bytes received, to spot a probe anywhere
    QByteArray m_toProgram;
    int m_readBlock = -1;
};

// The user's side: records everything, cancels at a chosen cancel test and
// answers the Retry/Cancel question from a list.
class FakeUser final : public link::TransferUi {
public:
    explicit FakeUser(QStringList &trace) : m_trace(trace) {}

    int m_cancelAtTest = -1;  // 1-based number of the cancel test that sees the flag
    QList<bool> m_answers;    // Retry (true) or Cancel, in order; Cancel when empty
    std::function<void()> m_onQuestion;  // run while the question is open
    int m_cancelTests = 0;
    int m_pumps = 0;
    QStringList m_messages;
    int m_questions = 0;
    QStringList m_statusTexts;
    QList<int> m_progress;

    void setStatusText(const QString &text) override { m_statusTexts << text; m_trace << QStringLiteral("status ") + text; }
    void setProgress(int position) override { m_progress << position; m_trace << QStringLiteral("progress %1").arg(position); }
    bool cancelRequested() override
    {
        ++m_cancelTests;
        m_trace << QStringLiteral("cancel?");
        return m_cancelAtTest > 0 && m_cancelTests >= m_cancelAtTest;
    }
    void pumpOnce() override { ++m_pumps; m_trace << QStringLiteral("pump"); }
    void showMessage(const QString &text) override { m_messages << text; m_trace << QStringLiteral("message ") + text; }
    bool askRetry(const QString &text) override
    {
        ++m_questions;
        m_trace << QStringLiteral("ask ") + text;
        if (m_onQuestion)
            m_onQuestion();
        return !m_answers.isEmpty() && m_answers.takeFirst();
    }

private:
    QStringList &m_trace;
};

}  // namespace tavin::test
