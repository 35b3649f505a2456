// The protocol's events, in order, for every way a transfer goes: what a
// user that follows the transfer (the fleet) learns of probes, the radio's
// identity, blocks and the end, without reading a single status text.
#include "FakeRadioLink.h"
#include "RadioProtocol.h"

#include <QtTest>

using namespace tavin;
using namespace tavin::link;
using tavin::test::FakeRadioConfig;
using tavin::test::FakeRadioLink;

Q_DECLARE_METATYPE(tavin::test::FakeRadioConfig)

namespace {

enum class Call { Read, Write, Identify, ProbeOnce };

QString outcomeName(TransferOutcome outcome)
{
    switch (outcome) {
    case TransferOutcome::Completed:
        return QStringLiteral("completed");
    case TransferOutcome::PortOpenFailed:
        return QStringLiteral("port-open-failed");
    case TransferOutcome::Cancelled:
        return QStringLiteral("cancelled");
    case TransferOutcome::CancelledAtQuestion:
        return QStringLiteral("no-answer");
    case TransferOutcome::WriteNotAcknowledged:
        return QStringLiteral("write-not-acknowledged");
    case TransferOutcome::ReadReplyShort:
        return QStringLiteral("read-reply-short");
    case TransferOutcome::ReadAckMissing:
        return QStringLiteral("read-ack-missing");
    }
    return {};
}

// Records the events only; runs of blocks are folded into one entry
// ("blocks 1-128 of 128"), and a question is recorded where it comes.
class EventUser final : public TransferUi {
public:
    QStringList events;
    int cancelAfterBlocks = -1;  // cancel once this many blocks are done
    QList<bool> answers;         // Retry (true) or Cancel, in order
    bool ended = false;

    void setStatusText(const QString &) override {}
    void setProgress(int) override {}
    bool cancelRequested() override { return cancelAfterBlocks >= 0 && m_blocks >= cancelAfterBlocks; }
    void pumpOnce() override {}
    void showMessage(const QString &) override {}
    bool askRetry(const QString &) override
    {
        events << QStringLiteral("question");
        return !answers.isEmpty() && answers.takeFirst();
    }

    void probeStarted(int attempt) override { events << QStringLiteral("probe %1").arg(attempt); }
    void radioAnswered(const QByteArray &identity) override
    {
        events << QStringLiteral("answered ") + QString::fromLatin1(identity.left(7));
    }
    void blockDone(int done, int total) override
    {
        m_blocks = done;
        const QString folded = QStringLiteral("blocks %1-%2 of %3").arg(m_firstBlock).arg(done - 1).arg(total);
        if (done > 1 && !events.isEmpty() && events.constLast() == folded)
            events.last() = QStringLiteral("blocks %1-%2 of %3").arg(m_firstBlock).arg(done).arg(total);
        else {
            m_firstBlock = done;
            events << QStringLiteral("blocks %1-%1 of %2").arg(done).arg(total);
        }
    }
    void transferEnded(const TransferResult &result) override
    {
        QVERIFY2(!ended, "the end is reported once");
        ended = true;
        events << QStringLiteral("ended %1 %2").arg(outcomeName(result.outcome)).arg(result.blocksDone);
    }

private:
    int m_blocks = 0;
    int m_firstBlock = 1;
};

QStringList probes(int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QStringLiteral("probe %1").arg(i);
    return out;
}

}  // namespace

Q_DECLARE_METATYPE(Call)
Q_DECLARE_METATYPE(tavin::link::RadioProtocol::ProbeWait)

class TestProtocolEvents : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eventsInOrder_data();
    void eventsInOrder();
    void probeOnceSendsOneProbeOnly_data();
    void probeOnceSendsOneProbeOnly();
};

void TestProtocolEvents::eventsInOrder_data()
{
    QTest::addColumn<Call>("call");
    QTest::addColumn<FakeRadioConfig>("config");
    QTest::addColumn<int>("cancelAfterBlocks");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("expected");

    const QString id = QStringLiteral("answered QDT310K");
    QTest::newRow("read: probe, identity, 128 blocks, end")
        << Call::Read << FakeRadioConfig{} << -1 << QList<bool>{}
        << QStringList{"probe 1", id, "blocks 1-128 of 128", "ended completed 128"};
    QTest::newRow("write: probe, identity, 123 blocks, end")
        << Call::Write << FakeRadioConfig{} << -1 << QList<bool>{}
        << QStringList{"probe 1", id, "blocks 1-123 of 123", "ended completed 123"};
    FakeRadioConfig late;
    late.silentProbes = 2;
    QTest::newRow("read after two unanswered probes: the attempts count")
        << Call::Read << late << -1 << QList<bool>{}
        << QStringList{"probe 1", "probe 2", "probe 3", id, "blocks 1-128 of 128", "ended completed 128"};
    FakeRadioConfig retried;
    retried.silentProbes = 15;
    QTest::newRow("retry: fifteen probes, the question, then from probe 1 again")
        << Call::Write << retried << -1 << QList<bool>{true}
        << probes(1, 15) + QStringList{"question", "probe 1", id, "blocks 1-123 of 123", "ended completed 123"};
    FakeRadioConfig silent;
    silent.silentProbes = -1;
    QTest::newRow("silent radio, Cancel at the question: no identity, no block")
        << Call::Read << silent << -1 << QList<bool>{}
        << probes(1, 15) + QStringList{"question", "ended no-answer 0"};
    QTest::newRow("cancel during a read: the blocks done, then the end")
        << Call::Read << FakeRadioConfig{} << 40 << QList<bool>{}
        << QStringList{"probe 1", id, "blocks 1-40 of 128", "ended cancelled 40"};
    QTest::newRow("cancel during a write")
        << Call::Write << FakeRadioConfig{} << 7 << QList<bool>{}
        << QStringList{"probe 1", id, "blocks 1-7 of 123", "ended cancelled 7"};
    QTest::newRow("cancel before the first probe is answered")
        << Call::Read << FakeRadioConfig{} << 0 << QList<bool>{} << QStringList{"probe 1", "ended cancelled 0"};
    FakeRadioConfig noAck;
    noAck.noWriteAckBlock = 57;
    QTest::newRow("write not acknowledged: no event for the failed block")
        << Call::Write << noAck << -1 << QList<bool>{}
        << QStringList{"probe 1", id, "blocks 1-57 of 123", "ended write-not-acknowledged 57"};
    FakeRadioConfig shortReply;
    shortReply.shortReplyBlock = 0;
    shortReply.replySize = 9;
    QTest::newRow("first read reply short: answered, but no block")
        << Call::Read << shortReply << -1 << QList<bool>{}
        << QStringList{"probe 1", id, "ended read-reply-short 0"};
    FakeRadioConfig noPort;
    noPort.failOpen = true;
    QTest::newRow("port does not open: only the end")
        << Call::Read << noPort << -1 << QList<bool>{} << QStringList{"ended port-open-failed 0"};
    QTest::newRow("identify: probe, identity, end")
        << Call::Identify << FakeRadioConfig{} << -1 << QList<bool>{}
        << QStringList{"probe 1", id, "ended completed 0"};
    QTest::newRow("one probe, answered") << Call::ProbeOnce << FakeRadioConfig{} << -1 << QList<bool>{}
                                         << QStringList{"probe 1", "ended completed 0"};
    QTest::newRow("one probe, unanswered: no question")
        << Call::ProbeOnce << silent << -1 << QList<bool>{} << QStringList{"probe 1", "ended no-answer 0"};
    QTest::newRow("one probe, cancelled first")
        << Call::ProbeOnce << FakeRadioConfig{} << 0 << QList<bool>{} << QStringList{"probe 1", "ended cancelled 0"};
}

void TestProtocolEvents::eventsInOrder()
{
    QFETCH(Call, call);
    QFETCH(FakeRadioConfig, config);
    QFETCH(int, cancelAfterBlocks);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, expected);

    QStringList trace;
    FakeRadioLink link(trace, config);
    EventUser user;
    user.cancelAfterBlocks = cancelAfterBlocks;
    user.answers = answers;
    RadioProtocol protocol(link, user);
    protocol.setPauseFunction([](std::chrono::microseconds) {});
    RadioImage image;
    switch (call) {
    case Call::Read:
        protocol.run(Direction::Read, QStringLiteral("COM1"), image);
        break;
    case Call::Write:
        protocol.run(Direction::Write, QStringLiteral("COM1"), image);
        break;
    case Call::Identify:
        protocol.identify(QStringLiteral("COM1"));
        break;
    case Call::ProbeOnce:
        protocol.probeOnce(QStringLiteral("COM1"));
        break;
    }
    QCOMPARE(user.events, expected);
    // The end comes with the port closed.
    QVERIFY(!link.isOpen());
}

void TestProtocolEvents::probeOnceSendsOneProbeOnly_data()
{
    QTest::addColumn<int>("silentProbes");
    QTest::addColumn<int>("strayBytes");
    QTest::addColumn<RadioProtocol::ProbeWait>("wait");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<int>("reads");  // of one byte, each up to its time-out
    const auto full = RadioProtocol::ProbeWait::Full;
    const auto quick = RadioProtocol::ProbeWait::Quick;
    QTest::newRow("answered") << 0 << 0 << full << true << 1;
    QTest::newRow("silent: the ACK is awaited as the second byte too") << -1 << 0 << full << false << 2;
    QTest::newRow("quick, silent: one read only") << -1 << 0 << quick << false << 1;
    QTest::newRow("quick, a stray byte before the ACK: still answered") << 0 << 1 << quick << true << 2;
}

void TestProtocolEvents::probeOnceSendsOneProbeOnly()
{
    // A radio that is only asked whether it is there hears the probe and
    // nothing after it, whether it answers or not.
    QFETCH(int, silentProbes);
    QFETCH(int, strayBytes);
    QFETCH(RadioProtocol::ProbeWait, wait);
    QFETCH(bool, answered);
    QFETCH(int, reads);
    QStringList trace;
    FakeRadioConfig config;
    config.silentProbes = silentProbes;
    config.strayBytes = strayBytes;
    FakeRadioLink link(trace, config);
    EventUser user;
    RadioProtocol protocol(link, user);
    protocol.setPauseFunction([](std::chrono::microseconds) {});
    const TransferResult result = protocol.probeOnce(QStringLiteral("COM3"), wait);
    QCOMPARE(result.completed(), answered);
    QCOMPARE(link.m_sent, QByteArray(reinterpret_cast<const char *>(wire::kProbe), 8));
    QCOMPARE(link.m_opens, 1);
    QCOMPARE(link.m_closes, 1);
    QCOMPARE(trace.filter(QRegularExpression(QStringLiteral("^r1 "))).size(), reads);
    QVERIFY(protocol.identity().isEmpty());
}

QTEST_GUILESS_MAIN(TestProtocolEvents)
#include "tst_protocolevents.moc"
