// The serial port and the protocol against tavin-sim over a real
// pseudo-terminal: exact byte streams from the sim's log, every failure and
// what it leaves behind, and a free port after every outcome.
#include "FakeRadioLink.h"
#include "LinkTexts.h"
#include "QtSerialLink.h"
#include "RadioProtocol.h"
#include "SimRadio.h"

#include "ChannelFile.h"

#include <QtTest>

#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace tavin;
using namespace tavin::link;
using tavin::test::bytesOf;
using tavin::test::countProbes;
using tavin::test::FakeUser;
using tavin::test::patternImage;
using tavin::test::probeFrame;
using tavin::test::SimRadio;

Q_DECLARE_METATYPE(tavin::link::TransferOutcome)
Q_DECLARE_METATYPE(tavin::link::Direction)

namespace {

QString t8(const char *s) { return QString::fromUtf8(s); }

QByteArray blockCommand(char command, int address)
{
    QByteArray c;
    c += command;
    c += static_cast<char>(address >> 8);
    c += static_cast<char>(address & 0xFF);
    c += '\x08';
    return c;
}

QByteArray handshakeIn() { return probeFrame() + QByteArray::fromHex("0206"); }

struct Transfer {
    QStringList trace;
    FakeUser user{trace};
    QtSerialLink port;
    TransferResult result;
    void run(Direction d, const QString &device, RadioImage &image)
    {
        RadioProtocol protocol(port, user);
        result = protocol.run(d, device, image);
    }
};

// The port must be free at once: open it, exchange nothing, close it.
bool portIsFree(const QString &device)
{
    QtSerialLink again;
    const bool opened = again.open(device);
    again.close();
    return opened;
}

RadioImage readBack(const SimRadio &sim)
{
    Transfer t;
    RadioImage image;
    t.run(Direction::Read, sim.device(), image);
    return t.result.completed() ? image : RadioImage();
}

}  // namespace

class TestSimLink : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fullReadGivesTheRadioMemory();
    void fullWriteSendsExactly123Blocks();
    void identifyAsksOnlyForTheIdentity();
    void aLateReaderTakesBytesThatCameInTime();
    void failures_data();
    void failures();
    void cancelAfterReadBlock_data();
    void cancelAfterReadBlock();
    void busyPortCannotBeOpened();
    void oneProgramPerDevice_data();
    void oneProgramPerDevice();
    void retryReadsTheRadioNowBehindTheName_data();
    void retryReadsTheRadioNowBehindTheName();
    void silentRadioAtRealTiming();
};

void TestSimLink::initTestCase()
{
    QVERIFY2(QFileInfo::exists(SimRadio::simPath()), qPrintable(SimRadio::simPath()));
}

void TestSimLink::fullReadGivesTheRadioMemory()
{
    const RadioImage memory = patternImage(1);
    SimRadio sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    Transfer t;
    RadioImage image = patternImage(2);
    t.run(Direction::Read, sim.device(), image);
    QCOMPARE(t.result.outcome, TransferOutcome::Completed);
    QVERIFY(portIsFree(sim.device()));
    QCOMPARE(bytesOf(image), bytesOf(memory));

    QByteArray expectedIn = handshakeIn();
    QByteArray expectedOut = QByteArray::fromHex("06") + bytesOf(memory, 0x3D0, 0x3D8) + QByteArray::fromHex("06");
    for (int a = 0; a < 1024; a += 8) {
        expectedIn += blockCommand('R', a) + QByteArray::fromHex("06");
        expectedOut += blockCommand('W', a) + bytesOf(memory, a, a + 8) + QByteArray::fromHex("06");
    }
    QCOMPARE(sim.programBytes().toHex(' '), expectedIn.toHex(' '));
    QCOMPARE(sim.radioBytes().toHex(' '), expectedOut.toHex(' '));
    QCOMPARE(t.user.m_statusTexts.last(), QStringLiteral("123"));
}

void TestSimLink::identifyAsksOnlyForTheIdentity()
{
    const RadioImage memory = patternImage(5);
    SimRadio sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    Transfer t;
    RadioProtocol protocol(t.port, t.user);
    const TransferResult result = protocol.identify(sim.device());
    QCOMPARE(result.outcome, TransferOutcome::Completed);
    QCOMPARE(protocol.identity().toHex(' '), bytesOf(memory, 0x3D0, 0x3D8).toHex(' '));
    QVERIFY(portIsFree(sim.device()));
    // No confirmation: the radio was never asked to start a transfer.
    QCOMPARE(sim.programBytes().toHex(' '), (probeFrame() + QByteArray::fromHex("02")).toHex(' '));
    // And the next transfer finds it as before.
    QCOMPARE(bytesOf(readBack(sim)), bytesOf(memory));
}

// A program that was kept from running (a busy machine) longer than the
// inter-byte time-out while the rest of a reply came in still gets the whole
// reply: the bytes were in the driver in time.
void TestSimLink::aLateReaderTakesBytesThatCameInTime()
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
    QtSerialLink port;
    QVERIFY(port.open(QString::fromLocal8Bit(ptsname(master))));
    const QByteArray reply = QByteArray::fromHex("5700080801020304050607 08");
    QCOMPARE(::write(master, reply.constData(), 4), 4);
    int idleCalls = 0;
    port.setIdleHook([&] {
        // Once the first bytes are taken and the next wait has found nothing:
        // the rest arrives while the program sleeps past the 50 ms limit.
        if (++idleCalls == 2) {
            QCOMPARE(::write(master, reply.constData() + 4, reply.size() - 4), reply.size() - 4);
            QThread::msleep(3 * QtSerialLink::kReadIntervalMs);
        }
    });
    const ReadResult got = port.read(reply.size());
    port.close();
    ::close(master);
    QVERIFY(got.ok);
    QCOMPARE(got.bytes.toHex(' '), reply.toHex(' '));
}

void TestSimLink::fullWriteSendsExactly123Blocks()
{
    const RadioImage memory = patternImage(3);
    SimRadio sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    Transfer t;
    RadioImage image = patternImage(4);
    t.run(Direction::Write, sim.device(), image);
    QCOMPARE(t.result.outcome, TransferOutcome::Completed);
    QVERIFY(portIsFree(sim.device()));

    QByteArray expectedIn = handshakeIn();
    for (int a = 0; a <= 0x3D0; a += 8)
        expectedIn += blockCommand('W', a) + bytesOf(image, a, a + 8);
    QCOMPARE(sim.programBytes().toHex(' '), expectedIn.toHex(' '));
    QCOMPARE(sim.radioBytes().count('\x06'), 1 + 1 + 123 + bytesOf(memory, 0x3D0, 0x3D8).count('\x06'));

    // The radio now holds the image's first 984 bytes and its own last 40.
    RadioImage saved;
    QTRY_VERIFY(QFileInfo(sim.savePath()).size() == 1024);
    QVERIFY(loadChannelFile(sim.savePath().toStdString(), saved));
    QCOMPARE(bytesOf(saved, 0, 0x3D8), bytesOf(image, 0, 0x3D8));
    QCOMPARE(bytesOf(saved, 0x3D8, 1024), bytesOf(memory, 0x3D8, 1024));
}

void TestSimLink::failures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<Direction>("direction");
    QTest::addColumn<TransferOutcome>("outcome");
    QTest::addColumn<int>("blocksDone");
    QTest::addColumn<int>("probes");
    QTest::addColumn<int>("blockCommands");
    QTest::addColumn<QString>("message");

    const QString none;
    const auto R = Direction::Read;
    const auto W = Direction::Write;
    QTest::newRow("stray1: one stray byte, then ACK") << "stray1" << W << TransferOutcome::Completed << 123 << 1 << 123 << none;
    QTest::newRow("stray2: two stray bytes fail 15 probes") << "stray2" << R << TransferOutcome::CancelledAtQuestion << 0 << 15 << 0 << none;
    QTest::newRow("stx-short") << "stx-short" << W << TransferOutcome::Completed << 123 << 1 << 123 << none;
    QTest::newRow("stx-long") << "stx-long" << W << TransferOutcome::Completed << 123 << 1 << 123 << none;
    QTest::newRow("stx-none") << "stx-none" << W << TransferOutcome::Completed << 123 << 1 << 123 << none;
    QTest::newRow("no-confirm-ack") << "no-confirm-ack" << R << TransferOutcome::CancelledAtQuestion << 0 << 1 << 0 << none;
    QTest::newRow("read-reply-9 at block 5") << "read-reply-9:5" << R << TransferOutcome::ReadReplyShort << 5 << 1 << 6 << t8(text::kNotEnoughBytes);
    QTest::newRow("read-reply-10 at block 5") << "read-reply-10:5" << R << TransferOutcome::ReadReplyShort << 5 << 1 << 6 << t8(text::kNotEnoughBytes);
    QTest::newRow("read-reply-11 at block 0") << "read-reply-11:0" << R << TransferOutcome::ReadReplyShort << 0 << 1 << 1 << t8(text::kNotEnoughBytes);
    QTest::newRow("no-read-ack at block 3 keeps block 3") << "no-read-ack:3" << R << TransferOutcome::ReadAckMissing << 4 << 1 << 4 << t8(text::kReadAckFailed);
    QTest::newRow("no-write-ack at block 0") << "no-write-ack:0" << W << TransferOutcome::WriteNotAcknowledged << 0 << 1 << 1 << t8(text::kWriteInterrupted);
    QTest::newRow("no-write-ack at block 50") << "no-write-ack:50" << W << TransferOutcome::WriteNotAcknowledged << 50 << 1 << 51 << t8(text::kWriteInterrupted);
    QTest::newRow("hang-up at read block 2") << "hangup:2" << R << TransferOutcome::ReadReplyShort << 2 << 1 << 3 << t8(text::kNotEnoughBytes);
    QTest::newRow("hang-up at write block 2") << "hangup:2" << W << TransferOutcome::WriteNotAcknowledged << 2 << 1 << 3 << t8(text::kWriteInterrupted);
}

void TestSimLink::failures()
{
    QFETCH(QString, fault);
    QFETCH(Direction, direction);
    QFETCH(TransferOutcome, outcome);
    QFETCH(int, blocksDone);
    QFETCH(int, probes);
    QFETCH(int, blockCommands);
    QFETCH(QString, message);

    const RadioImage memory = patternImage(5);
    SimRadio sim({QStringLiteral("--fast"), QStringLiteral("--fault"), fault}, memory);
    QVERIFY(sim.started());
    Transfer t;
    const RadioImage before = patternImage(6);
    RadioImage image = before;
    t.run(direction, sim.device(), image);

    QCOMPARE(t.result.outcome, outcome);
    QCOMPARE(t.result.blocksDone, blocksDone);
    QVERIFY(portIsFree(sim.device()));
    QCOMPARE(t.user.m_messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(t.user.m_questions, outcome == TransferOutcome::CancelledAtQuestion ? 1 : 0);

    const QByteArray in = sim.programBytes();
    QCOMPARE(countProbes(in), probes);
    const char command = direction == Direction::Read ? 'R' : 'W';
    int commands = 0;
    for (int a = 0; a < 1024; a += 8)
        commands += in.count(blockCommand(command, a)) > 0 ? 1 : 0;
    QCOMPARE(commands, blockCommands);

    if (direction == Direction::Read) {
        // Every block whose full reply arrived is stored, nothing else.
        QCOMPARE(bytesOf(image, 0, 8 * blocksDone), bytesOf(memory, 0, 8 * blocksDone));
        QCOMPARE(bytesOf(image, 8 * blocksDone, 1024), bytesOf(before, 8 * blocksDone, 1024));
    } else {
        QCOMPARE(bytesOf(image), bytesOf(before));
        if (fault == QLatin1String("no-write-ack:50")) {
            // The radio holds the 50 acknowledged blocks and nothing after them.
            const RadioImage radio = readBack(sim);
            QCOMPARE(bytesOf(radio, 0, 400), bytesOf(image, 0, 400));
            QCOMPARE(bytesOf(radio, 400, 1024), bytesOf(memory, 400, 1024));
        }
    }
}

void TestSimLink::cancelAfterReadBlock_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("cycle");
    QTest::newRow("first cycle after block 0") << 0 << 1;
    QTest::newRow("last cycle after block 9") << 9 << 199;
}

void TestSimLink::cancelAfterReadBlock()
{
    QFETCH(int, block);
    QFETCH(int, cycle);
    const RadioImage memory = patternImage(7);
    SimRadio sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    Transfer t;
    // 12 cancel tests before the probe and 16 after STX, then 199 per block.
    t.user.m_cancelAtTest = 28 + block * 199 + cycle;
    const RadioImage before = patternImage(8);
    RadioImage image = before;
    t.run(Direction::Read, sim.device(), image);
    QCOMPARE(t.result.outcome, TransferOutcome::Cancelled);
    QVERIFY(portIsFree(sim.device()));
    QVERIFY(t.user.m_messages.isEmpty());
    const int split = 8 * block + 8;
    QCOMPARE(bytesOf(image, 0, split), bytesOf(memory, 0, split));
    QCOMPARE(bytesOf(image, split, 1024), bytesOf(before, split, 1024));
    QByteArray expectedIn = handshakeIn();
    for (int b = 0; b <= block; ++b)
        expectedIn += blockCommand('R', 8 * b) + QByteArray::fromHex("06");
    QCOMPARE(sim.programBytes().toHex(' '), expectedIn.toHex(' '));
}

void TestSimLink::busyPortCannotBeOpened()
{
    SimRadio sim({QStringLiteral("--fast")}, patternImage(9));
    QVERIFY(sim.started());
    QtSerialLink holder;
    QVERIFY(holder.open(sim.device()));
    Transfer t;
    RadioImage image = patternImage(10);
    t.run(Direction::Read, sim.device(), image);
    QCOMPARE(t.result.outcome, TransferOutcome::PortOpenFailed);
    QCOMPARE(t.user.m_messages, QStringList{t8(text::kPortOpenFailed)});
    holder.close();
    QVERIFY(portIsFree(sim.device()));
    QVERIFY(sim.programBytes().isEmpty());
    QCOMPARE(bytesOf(image), bytesOf(patternImage(10)));

    Transfer missing;
    missing.run(Direction::Write, sim.dirPath() + QStringLiteral("/no-such-port"), image);
    QCOMPARE(missing.result.outcome, TransferOutcome::PortOpenFailed);
}

void TestSimLink::oneProgramPerDevice_data()
{
    QTest::addColumn<bool>("holderUsesLink");
    QTest::newRow("held by its device path, opened through a link") << false;
    QTest::newRow("held through a link, opened by its device path") << true;
}

// Two names for one pseudo-terminal: the second program finds the device
// taken whichever name it uses (the tests run as root, whom the terminal's
// exclusive mode would not stop).
void TestSimLink::oneProgramPerDevice()
{
    QFETCH(bool, holderUsesLink);
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("radio"));
    SimRadio sim({QStringLiteral("--fast"), QStringLiteral("--link"), link}, patternImage(16));
    QVERIFY(sim.started());
    const QString held = holderUsesLink ? link : sim.device();
    const QString other = holderUsesLink ? sim.device() : link;

    QtSerialLink holder;
    QVERIFY(holder.open(held));
    QCOMPARE(holder.device(), sim.device());
    Transfer t;
    RadioImage image = patternImage(17);
    t.run(Direction::Read, other, image);
    QCOMPARE(t.result.outcome, TransferOutcome::PortOpenFailed);
    QCOMPARE(t.port.errorString(), QStringLiteral("the device is in use by another program"));
    QCOMPARE(t.port.device(), sim.device());
    QCOMPARE(t.user.m_messages, QStringList{t8(text::kPortOpenFailed)});
    QVERIFY(sim.programBytes().isEmpty());

    holder.close();
    t.run(Direction::Read, other, image);
    QCOMPARE(t.result.outcome, TransferOutcome::Completed);
    QCOMPARE(bytesOf(image), bytesOf(patternImage(16)));
}

void TestSimLink::retryReadsTheRadioNowBehindTheName_data()
{
    QTest::addColumn<bool>("oldRadioStops");
    QTest::addColumn<bool>("newRadio");
    QTest::newRow("radio replaced: the old one gone, a new one under the name") << true << true;
    QTest::newRow("name re-pointed to another radio, the old one still there") << false << true;
    QTest::newRow("radio gone, nothing under the name: the open-failure message") << true << false;
}

// A radio that never answers, reached through a symbolic link; while the
// question is open the link is made to lead to another radio (as a cable
// plugged in again or a restarted radio brings a new device). Retry reads
// the radio now behind the name.
void TestSimLink::retryReadsTheRadioNowBehindTheName()
{
    QFETCH(bool, oldRadioStops);
    QFETCH(bool, newRadio);
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("radio"));
    SimRadio old({QStringLiteral("--fast"), QStringLiteral("--fault"), QStringLiteral("stray2"), QStringLiteral("--link"), name},
                 patternImage(13));
    QVERIFY(old.started());
    const RadioImage memory = patternImage(14);
    std::unique_ptr<SimRadio> replacement;
    bool replaced = !newRadio;
    Transfer t;
    t.user.m_answers = {true};
    t.user.m_onQuestion = [&] {
        if (oldRadioStops)
            old.stop();
        if (!newRadio)
            return;
        const QString next = dir.filePath(QStringLiteral("radio.next"));
        replacement = std::make_unique<SimRadio>(QStringList{QStringLiteral("--fast"), QStringLiteral("--link"), next}, memory);
        // In one step, so the name never leads nowhere.
        replaced = replacement->started()
            && std::rename(QFile::encodeName(next).constData(), QFile::encodeName(name).constData()) == 0;
    };
    const RadioImage before = patternImage(15);
    RadioImage image = before;
    t.run(Direction::Read, name, image);
    QVERIFY(replaced);
    QCOMPARE(t.user.m_questions, 1);
    // Nothing more went to the old radio after the question.
    QCOMPARE(countProbes(old.programBytes()), 15);
    if (newRadio) {
        QCOMPARE(t.result.outcome, TransferOutcome::Completed);
        QVERIFY(t.user.m_messages.isEmpty());
        QCOMPARE(bytesOf(image), bytesOf(memory));
        QCOMPARE(countProbes(replacement->programBytes()), 1);
        QVERIFY(portIsFree(name));
    } else {
        QCOMPARE(t.result.outcome, TransferOutcome::PortOpenFailed);
        QCOMPARE(t.user.m_messages, QStringList{t8(text::kPortOpenFailed)});
        QCOMPARE(bytesOf(image), bytesOf(before));
    }
}

// One run at the radio's real pace: 15 unanswered probes at the port's real
// time-outs, the question answered with Retry, then a full write.
void TestSimLink::silentRadioAtRealTiming()
{
    const RadioImage memory = patternImage(11);
    SimRadio sim({QStringLiteral("--silent-probes"), QStringLiteral("15")}, memory);
    QVERIFY(sim.started());
    Transfer t;
    t.user.m_answers = {true};
    RadioImage image = patternImage(12);
    QElapsedTimer timer;
    timer.start();
    t.run(Direction::Write, sim.device(), image);
    QCOMPARE(t.result.outcome, TransferOutcome::Completed);
    QCOMPARE(t.user.m_questions, 1);
    QVERIFY(portIsFree(sim.device()));
    const QByteArray in = sim.programBytes();
    QCOMPARE(countProbes(in), 16);
    QByteArray expectedIn;
    for (int i = 0; i < 16; ++i)
        expectedIn += probeFrame();
    expectedIn += QByteArray::fromHex("0206");
    for (int a = 0; a <= 0x3D0; a += 8)
        expectedIn += blockCommand('W', a) + bytesOf(image, a, a + 8);
    QCOMPARE(in.toHex(' '), expectedIn.toHex(' '));
    // Each unanswered probe waits out two single-byte reads of 550 ms.
    QVERIFY2(timer.elapsed() >= 15 * 1100, qPrintable(QString::number(timer.elapsed())));
}

QTEST_GUILESS_MAIN(TestSimLink)
#include "tst_simlink.moc"
