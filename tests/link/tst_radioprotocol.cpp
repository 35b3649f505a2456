// The protocol's logic against an in-process radio: exact order of port
// operations, pauses, pump cycles and cancel tests; every failure and what
// it leaves behind.
#include "FakeRadioLink.h"
#include "LinkTexts.h"
#include "RadioProtocol.h"

#include <QtTest>

using namespace tavin;
using namespace tavin::link;
using tavin::test::FakeRadioConfig;
using tavin::test::FakeRadioLink;
using tavin::test::FakeUser;

Q_DECLARE_METATYPE(tavin::test::FakeRadioConfig)
Q_DECLARE_METATYPE(tavin::link::TransferOutcome)
Q_DECLARE_METATYPE(tavin::link::Direction)

namespace {

QString t8(const char *s) { return QString::fromUtf8(s); }

QStringList repeat(const QStringList &cycle, int times)
{
    QStringList out;
    for (int i = 0; i < times; ++i)
        out += cycle;
    return out;
}

const QStringList kPumpCancelPause = {"pump", "cancel?", "pause 1000us"};

// Everything in a clean run up to and including the pause before the blocks.
QStringList goodHandshake()
{
    QStringList t{"open COM2", "status " + t8(text::kCheckingPort), "clear", "status " + t8(text::kWaitingForRadio)};
    t += repeat(kPumpCancelPause, 12);
    t << "abort" << "w 02" << "w 50" << "w 52" << "w 4f" << "w 47" << "w 52" << "w 41" << "w 4d"
      << "r1 06" << "pause 1000us" << "clear" << "r1 " << "clear" << "w 02"
      << "r8 51 44 54 33 31 30 4b 01";
    t += repeat(kPumpCancelPause, 16);
    t << "clear" << "w 06" << "r1 06" << "pause 1000us";
    return t;
}

QByteArray imageBytes(const RadioImage &image, int from, int to)
{
    return QByteArray(reinterpret_cast<const char *>(image.data() + from), to - from);
}

struct Run {
    QStringList trace;
    FakeRadioLink link;
    FakeUser user;
    RadioProtocol protocol;
    explicit Run(FakeRadioConfig config) : link(trace, config), user(trace), protocol(link, user)
    {
        protocol.setPauseFunction([this](std::chrono::microseconds d) {
            trace << QStringLiteral("pause %1us").arg(d.count());
        });
    }
};

RadioImage patternImage(std::uint8_t seed)
{
    RadioImage image;
    for (std::size_t i = 0; i < kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(i * 13 + seed);
    return image;
}

}  // namespace

class TestRadioProtocol : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void handshakeIsExact();
    void writeSendsImageBlocksInOrder();
    void readStoresEveryBlock();
    void outcomes_data();
    void outcomes();
    void cancelAtTest_data();
    void cancelAtTest();
    void retryGivesFifteenMoreProbes();
    void confirmationWriteFailureOffersWayOut();
    void failingReadCallsEndAtQuestion();
    void retryOpensAFailedPortAgain_data();
    void retryOpensAFailedPortAgain();
};

void TestRadioProtocol::handshakeIsExact()
{
    Run run(FakeRadioConfig{});
    RadioImage image;
    const TransferResult r = run.protocol.run(Direction::Write, QStringLiteral("COM2"), image);
    QCOMPARE(r.outcome, TransferOutcome::Completed);
    const QStringList expected = goodHandshake();
    QCOMPARE(run.trace.mid(0, expected.size()), expected);
}

void TestRadioProtocol::writeSendsImageBlocksInOrder()
{
    Run run(FakeRadioConfig{});
    RadioImage image = patternImage(5);
    const RadioImage before = image;
    const TransferResult r = run.protocol.run(Direction::Write, QStringLiteral("COM2"), image);
    QCOMPARE(r.outcome, TransferOutcome::Completed);
    QCOMPARE(r.blocksDone, 123);
    QVERIFY(image == before);

    // Block by block: command, 1 ms, data, ACK, progress, 201 cancel tests and pumps, 2 ms.
    QStringList expected = goodHandshake();
    for (int block = 0; block < 123; ++block) {
        const int a = block * 8;
        expected << "clear"
                 << QStringLiteral("w 57 %1 %2 08").arg(a >> 8, 2, 16, QLatin1Char('0')).arg(a & 0xFF, 2, 16, QLatin1Char('0'))
                 << "pause 1000us" << "clear"
                 << "w " + QString::fromLatin1(imageBytes(image, a, a + 8).toHex(' ')) << "r1 06";
        if (block < 122)
            expected << QStringLiteral("progress %1").arg(block + 1) << QStringLiteral("status %1").arg(block + 1);
        expected += repeat({"cancel?", "pump"}, 201);
        expected << "pause 2000us";
    }
    expected << "close" << "progress 123" << "close";
    QCOMPARE(run.trace, expected);

    // The radio got bytes 0x000..0x3D7 and nothing of the read-only area.
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(run.link.m_memory.data()), 0x3D8), imageBytes(image, 0, 0x3D8));
    QCOMPARE(run.link.m_memory[0x3D8], std::uint8_t(0x3D8 * 7 + 3));
    QCOMPARE(run.link.m_blockCommands, 123);
    QCOMPARE(run.user.m_statusTexts.last(), QStringLiteral("122"));
    QCOMPARE(run.user.m_progress.last(), 123);
    QCOMPARE(run.link.m_closes, 1);
}

void TestRadioProtocol::readStoresEveryBlock()
{
    Run run(FakeRadioConfig{});
    RadioImage image = patternImage(1);
    const TransferResult r = run.protocol.run(Direction::Read, QStringLiteral("COM2"), image);
    QCOMPARE(r.outcome, TransferOutcome::Completed);
    QCOMPARE(r.blocksDone, 128);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(image.data()), 1024),
             QByteArray(reinterpret_cast<const char *>(run.link.m_memory.data()), 1024));

    QStringList expected = goodHandshake();
    for (int block = 0; block < 128; ++block) {
        const int a = block * 8;
        const QString cmd = QStringLiteral("52 %1 %2 08").arg(a >> 8, 2, 16, QLatin1Char('0')).arg(a & 0xFF, 2, 16, QLatin1Char('0'));
        expected << "clear" << "w " + cmd
                 << "r12 " + cmd + " " + QString::fromLatin1(imageBytes(image, a, a + 8).toHex(' ')) << "clear";
        if (block < 123)
            expected << QStringLiteral("progress %1").arg(block + 1) << QStringLiteral("status %1").arg(block + 1);
        expected << "pause 15000us" << "clear" << "w 06" << "r1 06";
        expected += repeat({"pump", "cancel?"}, 199);
        expected << "pause 20000us";
    }
    expected << "close" << "progress 123" << "close";
    QCOMPARE(run.trace, expected);
    QCOMPARE(run.user.m_statusTexts.last(), QStringLiteral("123"));
}

void TestRadioProtocol::outcomes_data()
{
    QTest::addColumn<Direction>("direction");
    QTest::addColumn<FakeRadioConfig>("config");
    QTest::addColumn<TransferOutcome>("outcome");
    QTest::addColumn<int>("blocksDone");
    QTest::addColumn<int>("probes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("questions");

    const QString none;
    const QString ask = t8(text::kCommunicationError);
    FakeRadioConfig c;

    c = {}; c.silentProbes = -1;
    QTest::newRow("silent radio: 15 probes, then Cancel") << Direction::Read << c << TransferOutcome::CancelledAtQuestion << 0 << 15 << none << 1;
    c = {}; c.strayBytes = 1;
    QTest::newRow("one stray byte before the ACK passes") << Direction::Read << c << TransferOutcome::Completed << 128 << 1 << none << 0;
    c = {}; c.strayBytes = 2;
    QTest::newRow("two stray bytes before the ACK fail every probe") << Direction::Read << c << TransferOutcome::CancelledAtQuestion << 0 << 15 << none << 1;
    c = {}; c.silentProbes = 14;
    QTest::newRow("answer at the 15th probe avoids the question") << Direction::Write << c << TransferOutcome::Completed << 123 << 15 << none << 0;
    c = {}; c.stxAnswerSize = 3;
    QTest::newRow("short answer to STX is not examined") << Direction::Read << c << TransferOutcome::Completed << 128 << 1 << none << 0;
    c = {}; c.stxAnswerSize = 12;
    QTest::newRow("long answer to STX is not examined") << Direction::Read << c << TransferOutcome::Completed << 128 << 1 << none << 0;
    c = {}; c.stxAnswerSize = 0;
    QTest::newRow("no answer to STX is not examined") << Direction::Write << c << TransferOutcome::Completed << 123 << 1 << none << 0;
    c = {}; c.confirmAck = false;
    QTest::newRow("no ACK to the confirmation asks") << Direction::Read << c << TransferOutcome::CancelledAtQuestion << 0 << 1 << none << 1;
    c = {}; c.shortReplyBlock = 5; c.replySize = 9;
    QTest::newRow("read reply of 9 bytes at block 5") << Direction::Read << c << TransferOutcome::ReadReplyShort << 5 << 1 << t8(text::kNotEnoughBytes) << 0;
    c = {}; c.shortReplyBlock = 5; c.replySize = 10;
    QTest::newRow("read reply of 10 bytes at block 5") << Direction::Read << c << TransferOutcome::ReadReplyShort << 5 << 1 << t8(text::kNotEnoughBytes) << 0;
    c = {}; c.shortReplyBlock = 0; c.replySize = 11;
    QTest::newRow("read reply of 11 bytes at block 0") << Direction::Read << c << TransferOutcome::ReadReplyShort << 0 << 1 << t8(text::kNotEnoughBytes) << 0;
    c = {}; c.shortReplyBlock = 127; c.replySize = 0;
    QTest::newRow("no read reply at the last block") << Direction::Read << c << TransferOutcome::ReadReplyShort << 127 << 1 << t8(text::kNotEnoughBytes) << 0;
    c = {}; c.noReadAckBlock = 7;
    QTest::newRow("no ACK after read block 7 keeps block 7") << Direction::Read << c << TransferOutcome::ReadAckMissing << 8 << 1 << t8(text::kReadAckFailed) << 0;
    c = {}; c.noWriteAckBlock = 0;
    QTest::newRow("first write block unacknowledged") << Direction::Write << c << TransferOutcome::WriteNotAcknowledged << 0 << 1 << t8(text::kWriteInterrupted) << 0;
    c = {}; c.noWriteAckBlock = 122;
    QTest::newRow("model block unacknowledged") << Direction::Write << c << TransferOutcome::WriteNotAcknowledged << 122 << 1 << t8(text::kWriteInterrupted) << 0;
    c = {}; c.failOpen = true;
    QTest::newRow("port cannot be opened") << Direction::Write << c << TransferOutcome::PortOpenFailed << 0 << 0 << t8(text::kPortOpenFailed) << 0;
    Q_UNUSED(ask);
}

void TestRadioProtocol::outcomes()
{
    QFETCH(Direction, direction);
    QFETCH(FakeRadioConfig, config);
    QFETCH(TransferOutcome, outcome);
    QFETCH(int, blocksDone);
    QFETCH(int, probes);
    QFETCH(QString, message);
    QFETCH(int, questions);

    Run run(config);
    RadioImage image = patternImage(9);
    const RadioImage before = image;
    const auto radioBefore = run.link.m_memory;
    const TransferResult r = run.protocol.run(direction, QStringLiteral("COM2"), image);

    QCOMPARE(r.outcome, outcome);
    QCOMPARE(r.blocksDone, blocksDone);
    QCOMPARE(run.link.m_probes, probes);
    QCOMPARE(run.user.m_messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(run.user.m_questions, questions);
    QVERIFY(!run.link.isOpen());
    QCOMPARE(run.link.m_closes, run.link.m_opens);

    if (direction == Direction::Read) {
        // Blocks stored so far are the radio's, the rest as before.
        const int split = blocksDone * 8;
        QCOMPARE(imageBytes(image, 0, split),
                 QByteArray(reinterpret_cast<const char *>(run.link.m_memory.data()), split));
        QCOMPARE(imageBytes(image, split, 1024), imageBytes(before, split, 1024));
        QCOMPARE(run.link.m_memory, radioBefore);
    } else {
        QVERIFY(image == before);
        const int split = blocksDone * 8;
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(run.link.m_memory.data()), split), imageBytes(image, 0, split));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(run.link.m_memory.data() + split), 1024 - split),
                 QByteArray(reinterpret_cast<const char *>(radioBefore.data() + split), 1024 - split));
    }
    // A failed write still ends with the bar full; a failed read does not.
    const bool barFull = outcome == TransferOutcome::Completed
        || outcome == TransferOutcome::WriteNotAcknowledged || blocksDone >= 123;
    QCOMPARE(!run.user.m_progress.isEmpty() && run.user.m_progress.last() == 123, barFull);
    if (outcome == TransferOutcome::PortOpenFailed)
        QVERIFY(run.link.m_sent.isEmpty());
}

void TestRadioProtocol::cancelAtTest_data()
{
    QTest::addColumn<Direction>("direction");
    QTest::addColumn<int>("cancelAt");
    QTest::addColumn<int>("blocksDone");
    QTest::addColumn<bool>("probeSent");

    // 12 tests before the probe, 16 after STX; then 199 per read block, 201 per written block.
    QTest::newRow("read: first test before the probe") << Direction::Read << 1 << 0 << false;
    QTest::newRow("write: last test before the probe") << Direction::Write << 12 << 0 << false;
    QTest::newRow("read: after STX") << Direction::Read << 13 << 0 << true;
    QTest::newRow("read: first test after block 0") << Direction::Read << 28 + 1 << 1 << true;
    QTest::newRow("read: last test after block 0") << Direction::Read << 28 + 199 << 1 << true;
    QTest::newRow("read: during the cycles after block 49") << Direction::Read << 28 + 49 * 199 + 100 << 50 << true;
    QTest::newRow("write: during the cycles after block 10") << Direction::Write << 28 + 10 * 201 + 1 << 11 << true;
    QTest::newRow("write: last test after the model block") << Direction::Write << 28 + 123 * 201 << 123 << true;
}

void TestRadioProtocol::cancelAtTest()
{
    QFETCH(Direction, direction);
    QFETCH(int, cancelAt);
    QFETCH(int, blocksDone);
    QFETCH(bool, probeSent);

    Run run(FakeRadioConfig{});
    run.user.m_cancelAtTest = cancelAt;
    RadioImage image = patternImage(4);
    const RadioImage before = image;
    const TransferResult r = run.protocol.run(direction, QStringLiteral("COM2"), image);
    QCOMPARE(r.outcome, TransferOutcome::Cancelled);
    QCOMPARE(r.blocksDone, blocksDone);
    QCOMPARE(run.user.m_cancelTests, cancelAt);
    QCOMPARE(run.link.m_probes, probeSent ? 1 : 0);
    QCOMPARE(run.trace.last(), QStringLiteral("close"));
    QVERIFY(run.user.m_messages.isEmpty());
    QVERIFY(run.user.m_progress.isEmpty() || run.user.m_progress.last() != 123 || blocksDone >= 123);
    const int split = direction == Direction::Read ? blocksDone * 8 : 0;
    QCOMPARE(imageBytes(image, 0, split), QByteArray(reinterpret_cast<const char *>(run.link.m_memory.data()), split));
    QCOMPARE(imageBytes(image, split, 1024), imageBytes(before, split, 1024));
}

void TestRadioProtocol::retryGivesFifteenMoreProbes()
{
    FakeRadioConfig c;
    c.silentProbes = 20;
    Run run(c);
    run.user.m_answers = {true};
    RadioImage image;
    const TransferResult r = run.protocol.run(Direction::Read, QStringLiteral("COM2"), image);
    QCOMPARE(r.outcome, TransferOutcome::Completed);
    QCOMPARE(run.user.m_questions, 1);
    QCOMPARE(run.link.m_probes, 21);
    // Between two probes: the 1 ms pause of the failed attempt, then the 12 waiting cycles.
    const int firstAbort = run.trace.indexOf(QStringLiteral("abort"));
    const int secondAbort = run.trace.indexOf(QStringLiteral("abort"), firstAbort + 1);
    QStringList between{"w 02", "w 50", "w 52", "w 4f", "w 47", "w 52", "w 41", "w 4d", "r1 ", "r1 ", "pause 1000us",
                        "clear", "status " + t8(text::kWaitingForRadio)};
    between += repeat(kPumpCancelPause, 12);
    QCOMPARE(run.trace.mid(firstAbort + 1, secondAbort - firstAbort - 1), between);
}

void TestRadioProtocol::confirmationWriteFailureOffersWayOut()
{
    FakeRadioConfig c;
    c.failingConfirmWrites = 2;
    Run run(c);
    run.user.m_answers = {true, true};
    RadioImage image;
    const TransferResult r = run.protocol.run(Direction::Read, QStringLiteral("COM2"), image);
    QCOMPARE(r.outcome, TransferOutcome::Completed);
    QCOMPARE(run.user.m_messages, QStringList({t8(text::kSendStatusError), t8(text::kSendStatusError)}));
    QCOMPARE(run.user.m_questions, 2);
    QCOMPARE(run.link.m_probes, 3);

    FakeRadioConfig stuck;
    stuck.failingConfirmWrites = 1000;
    Run giveUp(stuck);
    const TransferResult r2 = giveUp.protocol.run(Direction::Write, QStringLiteral("COM2"), image);
    QCOMPARE(r2.outcome, TransferOutcome::CancelledAtQuestion);
    QCOMPARE(giveUp.user.m_messages, QStringList{t8(text::kSendStatusError)});
    QVERIFY(!giveUp.link.isOpen());
}

void TestRadioProtocol::failingReadCallsEndAtQuestion()
{
    FakeRadioConfig c;
    c.readCallsFail = true;
    Run run(c);
    RadioImage image = patternImage(2);
    const RadioImage before = image;
    const TransferResult r = run.protocol.run(Direction::Read, QStringLiteral("COM2"), image);
    QCOMPARE(r.outcome, TransferOutcome::CancelledAtQuestion);
    QCOMPARE(run.link.m_probes, 15);
    // A failed first read ends the attempt without a second read.
    QCOMPARE(run.trace.count(QStringLiteral("r1 ")), 15);
    QVERIFY(image == before);
}

void TestRadioProtocol::retryOpensAFailedPortAgain_data()
{
    QTest::addColumn<bool>("portFails");
    QTest::addColumn<bool>("comesBack");
    QTest::addColumn<TransferOutcome>("outcome");
    QTest::addColumn<int>("opens");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("failed port back while asking: opened again, read completes")
        << true << true << TransferOutcome::Completed << 2 << QStringList();
    QTest::newRow("failed port still gone: the open-failure message ends it")
        << true << false << TransferOutcome::PortOpenFailed << 1 << QStringList{t8(text::kPortOpenFailed)};
    QTest::newRow("silent radio on a sound port: Retry keeps the port")
        << false << true << TransferOutcome::Completed << 1 << QStringList();
}

void TestRadioProtocol::retryOpensAFailedPortAgain()
{
    QFETCH(bool, portFails);
    QFETCH(bool, comesBack);
    QFETCH(TransferOutcome, outcome);
    QFETCH(int, opens);
    QFETCH(QStringList, messages);

    FakeRadioConfig c;
    c.readCallsFail = portFails;
    c.silentProbes = portFails ? 0 : 15;
    Run run(c);
    run.user.m_answers = {true};
    run.user.m_onQuestion = [&run, comesBack] {
        run.link.config().readCallsFail = false;
        run.link.config().failOpen = !comesBack;
    };
    RadioImage image = patternImage(3);
    const TransferResult r = run.protocol.run(Direction::Read, QStringLiteral("COM2"), image);
    QCOMPARE(r.outcome, outcome);
    QCOMPARE(run.link.m_opens, opens);
    QCOMPARE(run.user.m_messages, messages);
    QCOMPARE(run.user.m_questions, 1);
    QVERIFY(!run.link.isOpen());
    // Opened again after the answer, by the transfer's own port name, and
    // only after the old port was closed.
    const int asked = run.trace.indexOf(QRegularExpression(QStringLiteral("ask .*")));
    const QStringList afterQuestion = run.trace.mid(asked + 1, portFails ? 3 : 2);
    const QStringList expected = portFails ? QStringList{"reopen? COM2", "close", "open COM2"}
                                           : QStringList{"reopen? COM2", "clear"};
    QCOMPARE(afterQuestion, expected);
    if (outcome == TransferOutcome::Completed)
        QCOMPARE(imageBytes(image, 0, 1024), QByteArray(reinterpret_cast<const char *>(run.link.m_memory.data()), 1024));
}

QTEST_GUILESS_MAIN(TestRadioProtocol)
#include "tst_radioprotocol.moc"
