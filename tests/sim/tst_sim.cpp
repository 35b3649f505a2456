// tavin-sim over a real pseudo-terminal, driven by a raw client of the test's own.
#include "SimHarness.h"
#include "DecimalCommaLocale.h"

#include <ChannelFile.h>
#include <Codec.h>
#include <RadioImage.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <filesystem>

namespace {

constexpr int kBlockCount = 128;
constexpr int kWrittenBlockCount = 123;
constexpr int kLastWrittenAddress = 0x3D0;
constexpr int kSaveTimeoutMs = 5000;
// 10 bits at 9600 baud, in seconds.
constexpr double kByteSeconds = 10.0 / 9600.0;
// The log's time stamps have microseconds.
constexpr double kStampSeconds = 1e-6;

// A memory whose every block differs from its neighbours; the model block
// (the radio's identity) and the last 40 bytes are recognisable.
QByteArray fixtureMemory()
{
    QByteArray memory(1024, '\0');
    for (int i = 0; i < memory.size(); ++i)
        memory[i] = char((i * 37 + 11) & 0xFF);
    memory.replace(0x3D0, 8, QByteArray::fromHex("0000f23730313250"));
    return memory;
}

QByteArray blockData(int address, char salt)
{
    QByteArray data(8, '\0');
    for (int i = 0; i < 8; ++i)
        data[i] = char((address + i) ^ salt);
    return data;
}

bool waitForFile(const QString &path, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!QFileInfo::exists(path)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestSim : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void normalConversation();
    void faultModes_data();
    void faultModes();
    void silentProbes();
    void probeAfterAckIsNotStx_data();
    void probeAfterAckIsNotStx();
    void fullWriteIsSaved();
    void writesAboveWritableAreaRefused_data();
    void writesAboveWritableAreaRefused();
    void demoProgramming();
    void logRecordsEveryByte();
    void pacedAnswersKeepLineTime();
    void deviceLink();
    void deviceLinkNeverReplacesAFile();
    void badCommandLines_data();
    void badCommandLines();
    void survivesClosingAndReopening_data();
    void survivesClosingAndReopening();
    void fleetOfRadios();

private:
    // Probe, STX and confirmation with their normal answers.
    static bool handshake(RawPort &port, const QByteArray &memory);
    QStringList fastWithFixture() const { return {QStringLiteral("--fast"), QStringLiteral("--file"), m_fixturePath}; }

    QTemporaryDir m_dir;
    QString m_fixturePath;
    QByteArray m_fixture;
};

void TestSim::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_fixture = fixtureMemory();
    m_fixturePath = m_dir.filePath(QStringLiteral("fixture.sin"));
    QFile file(m_fixturePath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(m_fixture), m_fixture.size());
}

bool TestSim::handshake(RawPort &port, const QByteArray &memory)
{
    return port.exchange(probeFrame(), 1) == kAckByte && port.exchange(kStxByte, 8) == memory.mid(0x3D0, 8)
           && port.exchange(kAckByte, 1) == kAckByte;
}

void TestSim::normalConversation()
{
    SimProcess sim(fastWithFixture());
    QVERIFY2(sim.start(), qPrintable(sim.errors()));
    RawPort port;
    QVERIFY(port.open(sim.device()));

    // Nothing before the probe is answered, and stray bytes do not disturb it.
    QCOMPARE(port.exchange(readCommand(0x010), 0), QByteArray());
    QCOMPARE(port.exchange(QByteArray::fromHex("00ff3306"), 0), QByteArray());
    QCOMPARE(port.exchange(probeFrame(), 1), kAckByte);
    QCOMPARE(port.exchange(kStxByte, 8), m_fixture.mid(0x3D0, 8));  // the radio's identity
    QCOMPARE(port.exchange(kAckByte, 1), kAckByte);

    QCOMPARE(port.exchange(readCommand(0x010), 12), readReply(0x010, m_fixture));
    QCOMPARE(port.exchange(kAckByte, 1), kAckByte);
    QCOMPARE(port.exchange(readCommand(0x3F8), 12), readReply(0x3F8, m_fixture));
    QCOMPARE(port.exchange(kAckByte, 1), kAckByte);

    const QByteArray data = QByteArray::fromHex("0102035557520206");
    QCOMPARE(port.exchange(writeFrame(0x020, data), 1), kAckByte);
    QCOMPARE(port.exchange(readCommand(0x020), 12), writeFrame(0x020, data));
    QCOMPARE(port.exchange(kAckByte, 1), kAckByte);
    // A second acknowledgement for the same block is not answered.
    QCOMPARE(port.exchange(kAckByte, 0), QByteArray());

    // A probe starts the conversation over: blocks need a new handshake.
    QCOMPARE(port.exchange(probeFrame(), 1), kAckByte);
    QCOMPARE(port.exchange(readCommand(0x020), 0), QByteArray());
    QVERIFY(handshake(port, m_fixture));
    QCOMPARE(port.exchange(readCommand(0x020), 12), writeFrame(0x020, data));

    // A probe in place of a write block's data (the program gave up after the
    // command) is a probe, and nothing is stored.
    QCOMPARE(port.exchange(kAckByte, 1), kAckByte);
    QCOMPARE(port.exchange(writeFrame(0x028, {}), 0), QByteArray());
    QCOMPARE(port.exchange(probeFrame(), 1), kAckByte);
    QVERIFY(handshake(port, m_fixture));
    QCOMPARE(port.exchange(readCommand(0x028), 12), readReply(0x028, m_fixture));
    QCOMPARE(sim.stop(), 0);
}

void TestSim::faultModes_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QByteArrayList>("sends");
    QTest::addColumn<QByteArrayList>("replies");

    const QByteArray memory = fixtureMemory();
    const QByteArray identity = memory.mid(0x3D0, 8);
    const QByteArrayList handshakeSends{probeFrame(), kStxByte, kAckByte};
    const QByteArrayList handshakeReplies{kAckByte, identity, kAckByte};
    const QByteArray nothing;
    auto reads = [&](int block) {  // block - 1 normal, then block itself
        return handshakeSends + QByteArrayList{readCommand(8 * (block - 1)), kAckByte, readCommand(8 * block)};
    };
    auto normalRead = [&](int block) { return QByteArrayList{readReply(8 * block, memory), kAckByte}; };

    QTest::newRow("silent: no answer to the probe")
        << "silent" << handshakeSends << QByteArrayList{nothing, nothing, nothing};
    QTest::newRow("stray1: one stray byte, then ACK")
        << "stray1" << handshakeSends << QByteArrayList{QByteArray::fromHex("5506"), identity, kAckByte};
    QTest::newRow("stray2: two stray bytes, then ACK")
        << "stray2" << handshakeSends << QByteArrayList{QByteArray::fromHex("555506"), identity, kAckByte};
    QTest::newRow("stx-short: 3 identity bytes")
        << "stx-short" << handshakeSends << QByteArrayList{kAckByte, identity.left(3), kAckByte};
    QTest::newRow("stx-long: 12 identity bytes")
        << "stx-long" << handshakeSends << QByteArrayList{kAckByte, identity + identity.left(4), kAckByte};
    QTest::newRow("stx-none: no identity, confirmation still answered")
        << "stx-none" << handshakeSends << QByteArrayList{kAckByte, nothing, kAckByte};
    QTest::newRow("no-confirm-ack: blocks are not served")
        << "no-confirm-ack" << handshakeSends + QByteArrayList{readCommand(0)}
        << QByteArrayList{kAckByte, identity, nothing, nothing};
    QTest::newRow("no-confirm-ack: a new probe is answered")
        << "no-confirm-ack" << handshakeSends + QByteArrayList{probeFrame()}
        << QByteArrayList{kAckByte, identity, nothing, kAckByte};

    for (const int length : {9, 10, 11}) {
        const QString fault = QStringLiteral("read-reply-%1:5").arg(length);
        QTest::addRow("%s: block 5 cut", qPrintable(fault))
            << fault << reads(5) + QByteArrayList{kAckByte, readCommand(48)}
            << handshakeReplies + normalRead(4) + QByteArrayList{readReply(40, memory).left(length), kAckByte,
                                                                 readReply(48, memory)};
    }
    QTest::newRow("read-reply-9:0: the very first block")
        << "read-reply-9:0" << handshakeSends + QByteArrayList{readCommand(0)}
        << handshakeReplies + QByteArrayList{readReply(0, memory).left(9)};
    QTest::newRow("no-read-ack:5: block 5 acknowledged by the program only")
        << "no-read-ack:5" << reads(5) + QByteArrayList{kAckByte, readCommand(48), kAckByte}
        << handshakeReplies + normalRead(4) + QByteArrayList{readReply(40, memory), nothing, readReply(48, memory),
                                                             kAckByte};
    QTest::newRow("no-write-ack:5: block 5 neither acknowledged nor stored")
        << "no-write-ack:5"
        << handshakeSends
               + QByteArrayList{writeFrame(32, blockData(32, 1)), writeFrame(40, blockData(40, 1)), readCommand(32),
                                kAckByte, readCommand(40)}
        << handshakeReplies
               + QByteArrayList{kAckByte, nothing, writeFrame(32, blockData(32, 1)), kAckByte,
                                readReply(40, memory)};
    QTest::newRow("bad-store:5: block 5 acknowledged, kept with one bit wrong")
        << "bad-store:5"
        << handshakeSends + QByteArrayList{writeFrame(32, blockData(32, 3)), writeFrame(40, blockData(40, 3)),
                                           readCommand(32), kAckByte, readCommand(40)}
        << handshakeReplies
               + QByteArrayList{kAckByte, kAckByte, writeFrame(32, blockData(32, 3)), kAckByte,
                                writeFrame(40, QByteArray(1, char(blockData(40, 3)[0] ^ 1)) + blockData(40, 3).mid(1))};
    QTest::newRow("hangup:5: reads stop at block 5 until the next probe")
        << "hangup:5" << reads(5) + QByteArrayList{readCommand(0), kAckByte, probeFrame()}
        << handshakeReplies + normalRead(4) + QByteArrayList{nothing, nothing, nothing, kAckByte};
    QTest::newRow("hangup:5: writes stop at block 5 and are not stored")
        << "hangup:5"
        << handshakeSends
               + QByteArrayList{writeFrame(32, blockData(32, 2)), writeFrame(40, blockData(40, 2)),
                                writeFrame(8, blockData(8, 2)), probeFrame(), kStxByte, kAckByte, readCommand(8),
                                kAckByte, readCommand(32)}
        << handshakeReplies
               + QByteArrayList{kAckByte, nothing, nothing}
               + handshakeReplies
               + QByteArrayList{readReply(8, memory), kAckByte, writeFrame(32, blockData(32, 2))};
}

void TestSim::faultModes()
{
    QFETCH(QString, fault);
    QFETCH(QByteArrayList, sends);
    QFETCH(QByteArrayList, replies);
    QCOMPARE(sends.size(), replies.size());

    SimProcess sim(fastWithFixture() + QStringList{QStringLiteral("--fault"), fault});
    QVERIFY2(sim.start(), qPrintable(sim.errors()));
    RawPort port;
    QVERIFY(port.open(sim.device()));
    for (qsizetype i = 0; i < sends.size(); ++i) {
        const QByteArray reply = port.exchange(sends[i], static_cast<int>(replies[i].size()));
        QVERIFY2(reply == replies[i], qPrintable(QStringLiteral("step %1: sent %2, got \"%3\", expected \"%4\"")
                                                     .arg(i)
                                                     .arg(QString::fromLatin1(sends[i].toHex(' ')),
                                                          QString::fromLatin1(reply.toHex(' ')),
                                                          QString::fromLatin1(replies[i].toHex(' ')))));
    }
    QCOMPARE(sim.stop(), 0);
}

void TestSim::silentProbes()
{
    SimProcess sim(fastWithFixture() + QStringList{QStringLiteral("--silent-probes"), QStringLiteral("2")});
    QVERIFY2(sim.start(), qPrintable(sim.errors()));
    RawPort port;
    QVERIFY(port.open(sim.device()));
    QCOMPARE(port.exchange(probeFrame(), 0), QByteArray());
    QCOMPARE(port.exchange(kStxByte, 0), QByteArray());  // an ignored probe starts nothing
    QCOMPARE(port.exchange(probeFrame(), 0), QByteArray());
    QVERIFY(handshake(port, m_fixture));
    QCOMPARE(port.exchange(probeFrame(), 1), kAckByte);  // and from then on, every probe
    QCOMPARE(sim.stop(), 0);
}

void TestSim::probeAfterAckIsNotStx_data()
{
    QTest::addColumn<bool>("fast");
    QTest::newRow("fast") << true;
    QTest::newRow("paced") << false;
}

void TestSim::probeAfterAckIsNotStx()
{
    // The program probes again when it did not see the ACK in time; its probe
    // goes out a byte per write call, so the 02 may come in alone.
    QFETCH(bool, fast);
    SimProcess sim(fast ? fastWithFixture() : QStringList{QStringLiteral("--file"), m_fixturePath});
    QVERIFY2(sim.start(), qPrintable(sim.errors()));
    RawPort port;
    QVERIFY(port.open(sim.device()));
    QCOMPARE(port.exchange(probeFrame(), 1), kAckByte);
    QVERIFY(port.send(probeFrame().left(1)));
    QThread::usleep(200);
    QCOMPARE(port.exchange(probeFrame().mid(1), 1), kAckByte);  // not the identity
    QCOMPARE(port.exchange(kStxByte, 8), m_fixture.mid(0x3D0, 8));
    QCOMPARE(port.exchange(kAckByte, 1), kAckByte);
    QCOMPARE(sim.stop(), 0);
}

void TestSim::fullWriteIsSaved()
{
    QDir saveDir(m_dir.filePath(QStringLiteral("save")));
    QVERIFY(saveDir.mkpath(QStringLiteral(".")));
    const QString savePath = saveDir.filePath(QStringLiteral("saved.sin"));
    QFile::remove(savePath);
    SimProcess sim(fastWithFixture() + QStringList{QStringLiteral("--save"), savePath});
    QVERIFY2(sim.start(), qPrintable(sim.errors()));
    RawPort port;
    QVERIFY(port.open(sim.device()));

    // Only the last block, without the others: not a complete write.
    QVERIFY(handshake(port, m_fixture));
    QCOMPARE(port.exchange(writeFrame(kLastWrittenAddress, m_fixture.mid(kLastWrittenAddress, 8)), 1), kAckByte);
    // All but the last, then a new conversation with only the last: still not complete.
    QVERIFY(handshake(port, m_fixture));
    for (int address = 0; address < kLastWrittenAddress; address += 8)
        QCOMPARE(port.exchange(writeFrame(address, blockData(address, 0x5A)), 1), kAckByte);
    QVERIFY(handshake(port, m_fixture));
    QCOMPARE(port.exchange(writeFrame(kLastWrittenAddress, m_fixture.mid(kLastWrittenAddress, 8)), 1), kAckByte);
    QTest::qWait(100);
    QVERIFY(!QFileInfo::exists(savePath));

    // A complete write.
    QByteArray expected = m_fixture;
    QVERIFY(handshake(port, m_fixture));
    for (int block = 0; block < kWrittenBlockCount; ++block) {
        const int address = 8 * block;
        const QByteArray data = address == kLastWrittenAddress ? m_fixture.mid(address, 8) : blockData(address, 0x3C);
        expected.replace(address, 8, data);
        QCOMPARE(port.exchange(writeFrame(address, data), 1), kAckByte);
    }
    QVERIFY(waitForFile(savePath, kSaveTimeoutMs));
    QCOMPARE(readFile(savePath), expected);
    // Saved through a temporary file, which is gone.
    QCOMPARE(saveDir.entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("saved.sin")});

    // The memory keeps the write for the next transfer.
    QVERIFY(handshake(port, expected));
    QCOMPARE(port.exchange(readCommand(0x100), 12), readReply(0x100, expected));
    QCOMPARE(sim.stop(), 0);
    QVERIFY(QFile::remove(savePath));
}

void TestSim::writesAboveWritableAreaRefused_data()
{
    QTest::addColumn<int>("address");
    QTest::newRow("0x3D8, first byte of the read-only area") << 0x3D8;
    QTest::newRow("0x3F0, the tail") << 0x3F0;
    QTest::newRow("0x3F8, the last block") << 0x3F8;
    QTest::newRow("0x3D4, straddling the boundary") << 0x3D4;
}

void TestSim::writesAboveWritableAreaRefused()
{
    QFETCH(int, address);
    SimProcess sim(fastWithFixture());
    QVERIFY2(sim.start(), qPrintable(sim.errors()));
    RawPort port;
    QVERIFY(port.open(sim.device()));
    QVERIFY(handshake(port, m_fixture));
    QCOMPARE(port.exchange(writeFrame(address, blockData(address, 0x11)), 0), QByteArray());
    QCOMPARE(port.exchange(readCommand(address), 12), readReply(address, m_fixture));
    QCOMPARE(sim.stop(), 0);
}

void TestSim::demoProgramming()
{
    SimProcess sim({QStringLiteral("--fast")});
    QVERIFY2(sim.start(), qPrintable(sim.errors()));
    RawPort port;
    QVERIFY(port.open(sim.device()));
    QCOMPARE(port.exchange(probeFrame(), 1), kAckByte);
    QCOMPARE(port.exchange(kStxByte, 8), QByteArray::fromHex("0000f23730313250"));
    QCOMPARE(port.exchange(kAckByte, 1), kAckByte);

    tavin::RadioImage image;
    for (int block = 0; block < kBlockCount; ++block) {
        const QByteArray reply = port.exchange(readCommand(8 * block), 12);
        QCOMPARE(reply.size(), 12);
        std::copy(reply.begin() + 4, reply.end(), image.data() + 8 * block);
        QCOMPARE(port.exchange(kAckByte, 1), kAckByte);
    }

    // A UHF radio of the first model, 400 - 470 MHz, set up as a new document is.
    QCOMPARE(image[tavin::layout::kBandCode], 0xF2);
    QCOMPARE(image[tavin::layout::kModelCode], 0x32);
    for (int j = 0; j < 16; ++j)
        QCOMPARE(image[tavin::layout::kChannelIndexTable + j], j + 1);
    const QByteArray tail = QByteArray::fromHex("5e092b69d8aa41aa604b");
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(image.data()) + tavin::layout::kTailPattern, 10), tail);

    // A handful of business channels in 450 - 470 MHz, with tones, then empty rows.
    int inUse = 0;
    bool sawEmpty = false, narrow = false, wide = false, dcs = false, ctcss = false;
    for (int channel = 1; channel <= tavin::kChannelCount; ++channel) {
        const tavin::ChannelTexts texts = tavin::decodeChannel(image, channel);
        if (texts[tavin::kRxFrequencyColumn].empty()) {
            sawEmpty = true;
            continue;
        }
        QVERIFY2(!sawEmpty, "the channels in use come first");
        ++inUse;
        for (const int column : {tavin::kRxFrequencyColumn, tavin::kTxFrequencyColumn}) {
            const double mhz = QString::fromStdString(texts[column]).toDouble();
            QVERIFY2(mhz >= 450 && mhz <= 470, texts[column].c_str());
        }
        narrow = narrow || texts[tavin::kBandwidthColumn] == tavin::choice::kNarrow;
        wide = wide || texts[tavin::kBandwidthColumn] == tavin::choice::kWide;
        dcs = dcs || texts[tavin::kRxToneColumn].front() == 'D';
        ctcss = ctcss || QString::fromStdString(texts[tavin::kRxToneColumn]).toDouble() > 0;
    }
    QVERIFY(inUse >= 4 && inUse < tavin::kChannelCount);
    QVERIFY(narrow && wide && dcs && ctcss);
    const tavin::ChannelTexts first = tavin::decodeChannel(image, 1);
    QCOMPARE(first[tavin::kRxFrequencyColumn], std::string("462.56250"));
    QCOMPARE(first[tavin::kTxFrequencyColumn], std::string("467.56250"));
    QCOMPARE(first[tavin::kRxToneColumn], std::string("67.0"));
    QCOMPARE(sim.stop(), 0);
}

void TestSim::logRecordsEveryByte()
{
    TAVIN_EXPECT_DECIMAL_COMMA_LOCALE();
    const QString logPath = m_dir.filePath(QStringLiteral("fast.log"));
    // A decimal-comma locale must not change the time stamps.
    SimProcess sim(fastWithFixture() + QStringList{QStringLiteral("--log"), logPath},
                   {QStringLiteral("LC_ALL=de_DE.UTF-8"), QStringLiteral("LANG=de_DE.UTF-8")});
    QVERIFY2(sim.start(), qPrintable(sim.errors()));
    RawPort port;
    QVERIFY(port.open(sim.device()));

    QByteArray sent, received;
    auto exchange = [&](const QByteArray &bytes, int count) {
        sent += bytes;
        const QByteArray reply = port.exchange(bytes, count);
        received += reply;
        return reply;
    };
    exchange(QByteArray::fromHex("3300"), 0);
    exchange(probeFrame(), 1);
    exchange(kStxByte, 8);
    exchange(kAckByte, 1);
    exchange(readCommand(0x3D0), 12);
    exchange(kAckByte, 1);
    exchange(writeFrame(0x100, blockData(0x100, 7)), 1);
    QCOMPARE(received.size(), 1 + 8 + 1 + 12 + 1 + 1);
    QCOMPARE(sim.stop(), 0);

    const LogStreams log = readLog(logPath);
    QVERIFY2(log.wellFormed, qPrintable(log.badLine));
    QCOMPARE(log.in.toHex(' '), sent.toHex(' '));
    QCOMPARE(log.out.toHex(' '), received.toHex(' '));
}

void TestSim::pacedAnswersKeepLineTime()
{
    const QString logPath = m_dir.filePath(QStringLiteral("paced.log"));
    SimProcess sim({QStringLiteral("--file"), m_fixturePath, QStringLiteral("--log"), logPath});
    QVERIFY2(sim.start(), qPrintable(sim.errors()));
    RawPort port;
    QVERIFY(port.open(sim.device()));
    QVERIFY(handshake(port, m_fixture));
    QCOMPARE(port.exchange(readCommand(0x040), 12), readReply(0x040, m_fixture));
    QCOMPARE(port.exchange(kAckByte, 1), kAckByte);
    // A block command, a pause, then the data: on a real line the pause
    // begins only once the command is out.
    QVERIFY(port.send(writeFrame(0x040, {})));
    QThread::msleep(3);
    QCOMPARE(port.exchange(blockData(0x040, 1), 1), kAckByte);
    QCOMPARE(sim.stop(), 0);

    // Only lower bounds: a busy machine may be slower than the line, never faster.
    const LogStreams log = readLog(logPath);
    QVERIFY2(log.wellFormed, qPrintable(log.badLine));
    QCOMPARE(log.out.size(), 1 + 8 + 1 + 12 + 1 + 1);
    QCOMPARE(log.in.size(), 8 + 1 + 1 + 4 + 1 + 12);
    struct Answer {
        int lastIn;    // index of the frame's last byte in the in stream
        int frameLength;
        int firstOut;  // index of the answer's first byte in the out stream
        int length;
    };
    const Answer answers[] = {{7, 8, 0, 1}, {8, 1, 1, 8}, {9, 1, 9, 1}, {13, 4, 10, 12}};
    for (const Answer &a : answers) {
        const double frameStart = log.inTimes[a.lastIn - a.frameLength + 1];
        // Answer byte k is complete k + 1 byte times after the frame's own time on the line.
        for (int k = 0; k < a.length; ++k) {
            const double earliest = frameStart + (a.frameLength + k + 1) * kByteSeconds - 2 * kStampSeconds;
            QVERIFY2(log.outTimes[a.firstOut + k] >= earliest,
                     qPrintable(QStringLiteral("answer byte %1 at %2 s, due at %3 s")
                                    .arg(a.firstOut + k)
                                    .arg(log.outTimes[a.firstOut + k], 0, 'f', 6)
                                    .arg(earliest, 0, 'f', 6)));
        }
    }
    // Each answer is handed over in one piece: a busy machine can delay it, but
    // never open a gap inside it longer than the program's inter-byte time-out.
    for (const Answer &a : answers) {
        for (int k = 1; k < a.length; ++k)
            QCOMPARE(log.outTimes[a.firstOut + k], log.outTimes[a.firstOut]);
    }
    const double commandStart = log.inTimes[15];
    // The sim sees the pause only when it read the command before the data
    // came; on a busy machine it may read both at once and see none.
    const double pause = log.inTimes[19] - commandStart;
    QVERIFY(pause >= 0);
    QVERIFY(log.outTimes[23] >= commandStart + 4 * kByteSeconds + pause + 9 * kByteSeconds - 2 * kStampSeconds);
}

void TestSim::deviceLink()
{
    const QString linkPath = m_dir.filePath(QStringLiteral("radio"));
    // An old link is replaced.
    QVERIFY(QFile::link(QStringLiteral("/nonexistent/old-radio"), linkPath));
    SimProcess sim({QStringLiteral("--fast"), QStringLiteral("--link"), linkPath});
    QVERIFY2(sim.start(), qPrintable(sim.errors()));
    QCOMPARE(QFileInfo(linkPath).symLinkTarget(), sim.device());
    RawPort port;
    QVERIFY(port.open(linkPath));
    QCOMPARE(port.exchange(probeFrame(), 1), kAckByte);
    port.close();
    QCOMPARE(sim.stop(), 0);
    QVERIFY(!QFileInfo(linkPath).isSymLink());
}

void TestSim::deviceLinkNeverReplacesAFile()
{
    const QString path = m_dir.filePath(QStringLiteral("not-a-link"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    QString errors;
    QCOMPARE(runSimToFailure({QStringLiteral("--link"), path}, &errors), 1);
    QVERIFY2(errors.contains(path), qPrintable(errors));
    QCOMPARE(readFile(path), QByteArray("keep me"));
}

void TestSim::badCommandLines_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QString shortFile = m_dir.filePath(QStringLiteral("short.sin"));
    const QString emptyFile = m_dir.filePath(QStringLiteral("empty.sin"));
    QFile shortOne(shortFile);
    QVERIFY(shortOne.open(QIODevice::WriteOnly));
    shortOne.write(QByteArray(100, 'x'));
    QFile emptyOne(emptyFile);
    QVERIFY(emptyOne.open(QIODevice::WriteOnly));

    QTest::newRow("unknown fault") << QStringList{"--fault", "lazy"} << 2 << "lazy";
    QTest::newRow("fault needing a block, without one") << QStringList{"--fault", "hangup"} << 2 << "hangup";
    QTest::newRow("fault with a block it does not take") << QStringList{"--fault", "silent:3"} << 2 << "silent:3";
    QTest::newRow("block beyond the memory") << QStringList{"--fault", "no-read-ack:128"} << 2 << "128";
    QTest::newRow("block not a number") << QStringList{"--fault", "read-reply-9:x"} << 2 << "read-reply-9:x";
    QTest::newRow("negative block") << QStringList{"--fault", "read-reply-10:-1"} << 2 << "-1";
    QTest::newRow("two faults") << QStringList{"--fault", "silent", "--fault", "stray1"} << 2 << "--fault";
    QTest::newRow("negative silent probes") << QStringList{"--silent-probes", "-1"} << 2 << "-1";
    QTest::newRow("silent probes not a number") << QStringList{"--silent-probes", "two"} << 2 << "two";
    QTest::newRow("unknown option") << QStringList{"--slow"} << 2 << "slow";
    QTest::newRow("stray argument") << QStringList{"radio.sin"} << 2 << "radio.sin";
    QTest::newRow("missing channel file") << QStringList{"--file", m_dir.filePath("none.sin")} << 1 << "none.sin";
    QTest::newRow("short channel file") << QStringList{"--file", shortFile} << 1 << "short.sin";
    QTest::newRow("empty channel file") << QStringList{"--file", emptyFile} << 1 << "empty.sin";
    QTest::newRow("save into a missing folder")
        << QStringList{"--save", m_dir.filePath("no/such/radio.sin")} << 1 << "radio.sin";
    QTest::newRow("log in a missing folder")
        << QStringList{"--log", m_dir.filePath("no/such/dir.log")} << 1 << "dir.log";
    QTest::newRow("no radios") << QStringList{"--radios", "0"} << 2 << "--radios";
    QTest::newRow("radios not a number") << QStringList{"--radios", "many"} << 2 << "many";
    QTest::newRow("swap time without radios") << QStringList{"--swap-ms", "100"} << 2 << "--radios";
    QTest::newRow("negative swap time") << QStringList{"--radios", "2", "--swap-ms", "-5"} << 2 << "-5";
    QTest::newRow("radios kept in a missing folder")
        << QStringList{"--radios", "2", "--save-dir", m_dir.filePath("no/such/dir")} << 1 << "no/such/dir";
}

void TestSim::badCommandLines()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QString errors;
    QCOMPARE(runSimToFailure(arguments, &errors), exitCode);
    QVERIFY2(errors.contains(message), qPrintable(errors));
}

void TestSim::survivesClosingAndReopening_data()
{
    QTest::addColumn<bool>("fast");
    QTest::addColumn<QByteArray>("beforeClosing");
    QTest::addColumn<int>("pauseMs");

    // The pause lets an answer still on its way run out, as the program's
    // Clear and probe pauses do.
    QTest::newRow("after a read block") << true << readCommand(0x080) << 100;
    QTest::newRow("in the middle of a paced answer") << false << readCommand(0x080) << 100;
    QTest::newRow("after half a write block, given up for a while")
        << true << writeFrame(0x080, QByteArray("\x01\x02\x03", 3)) << 700;
}

void TestSim::survivesClosingAndReopening()
{
    QFETCH(bool, fast);
    QFETCH(QByteArray, beforeClosing);
    QFETCH(int, pauseMs);
    SimProcess sim(fast ? fastWithFixture() : QStringList{QStringLiteral("--file"), m_fixturePath});
    QVERIFY2(sim.start(), qPrintable(sim.errors()));
    RawPort port;
    for (int round = 0; round < 3; ++round) {
        QVERIFY(port.open(sim.device()));
        QVERIFY2(handshake(port, m_fixture), qPrintable(QStringLiteral("round %1").arg(round)));
        QVERIFY(port.send(beforeClosing));
        if (!fast)
            QCOMPARE(port.receive(2, 1000).size(), 2);
        port.close();
        QTest::qWait(pauseMs);
    }
    // Nothing of the abandoned frames was stored.
    QVERIFY(port.open(sim.device()));
    QVERIFY(handshake(port, m_fixture));
    QCOMPARE(port.exchange(readCommand(0x080), 12), readReply(0x080, m_fixture));
    QCOMPARE(sim.stop(), 0);
}

namespace {

// All 128 blocks, each acknowledged; the memory they hold (empty on a failure).
QByteArray readAll(RawPort &port)
{
    QByteArray memory;
    for (int block = 0; block < kBlockCount; ++block) {
        const QByteArray reply = port.exchange(readCommand(8 * block), 12);
        if (reply.size() != 12 || port.exchange(kAckByte, 1) != kAckByte)
            return {};
        memory += reply.mid(4);
    }
    return memory;
}

// Writes blocks 0 to 122 of memory; false when one is not acknowledged.
bool writeAll(RawPort &port, const QByteArray &memory)
{
    for (int block = 0; block < kWrittenBlockCount; ++block) {
        if (port.exchange(writeFrame(8 * block, memory.mid(8 * block, 8)), 1) != kAckByte)
            return false;
    }
    return true;
}

}  // namespace

void TestSim::fleetOfRadios()
{
    const QString keptDir = m_dir.filePath(QStringLiteral("fleet"));
    QVERIFY(QDir().mkpath(keptDir));
    constexpr int kSwapMs = 300;
    SimProcess sim(fastWithFixture()
                   + QStringList{QStringLiteral("--radios"), QStringLiteral("2"), QStringLiteral("--swap-ms"),
                                 QString::number(kSwapMs), QStringLiteral("--save-dir"), keptDir});
    QVERIFY2(sim.start(), qPrintable(sim.errors()));
    RawPort port;
    QVERIFY(port.open(sim.device()));
    // What the program writes: new channels, the radio's own model block.
    QByteArray programming(1024, '\0');
    for (int address = 0; address < 1024; address += 8)
        programming.replace(address, 8, blockData(address, 0x66));
    programming.replace(0x3D0, 8, m_fixture.mid(0x3D0, 8));

    // Radio 1: a read alone, or a write alone, leaves it plugged in.
    QVERIFY(handshake(port, m_fixture));
    QCOMPARE(readAll(port), m_fixture);
    QVERIFY(handshake(port, m_fixture));
    QVERIFY(writeAll(port, programming));
    QVERIFY(handshake(port, m_fixture));
    const QByteArray radio1 = programming.left(0x3D8) + m_fixture.mid(0x3D8);
    QCOMPARE(readAll(port), radio1);
    // Written and read back: unplugged, the line is dead ...
    QCOMPARE(port.exchange(probeFrame(), 0), QByteArray());
    // ... until radio 2 answers, with a memory of its own.
    QTest::qWait(kSwapMs);
    QVERIFY(handshake(port, m_fixture));
    const QByteArray original2 = readAll(port);
    QCOMPARE(original2.size(), 1024);
    QCOMPARE(original2.mid(0x3E0, 8), QByteArray("R0000002"));
    QVERIFY(original2.mid(0x010, 8) != m_fixture.mid(0x010, 8));
    QVERIFY(handshake(port, m_fixture));
    QVERIFY(writeAll(port, programming));
    QVERIFY(handshake(port, m_fixture));
    const QByteArray radio2 = programming.left(0x3D8) + original2.mid(0x3D8);
    QCOMPARE(readAll(port), radio2);
    // That was the last one: the line stays dead.
    QTest::qWait(2 * kSwapMs);
    QCOMPARE(port.exchange(probeFrame(), 0), QByteArray());
    QCOMPARE(sim.stop(), 0);

    QCOMPARE(readFile(keptDir + QStringLiteral("/radio-1-original.sin")), m_fixture);
    QCOMPARE(readFile(keptDir + QStringLiteral("/radio-1.sin")), radio1);
    QCOMPARE(readFile(keptDir + QStringLiteral("/radio-2-original.sin")), original2);
    QCOMPARE(readFile(keptDir + QStringLiteral("/radio-2.sin")), radio2);
    QCOMPARE(QDir(keptDir).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
