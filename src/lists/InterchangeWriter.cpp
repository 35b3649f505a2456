#include "InterchangeWriter.h"

#include "ChannelList.h"
#include "CsvTable.h"
#include "Frequency.h"
#include "InterchangeLayout.h"
#include "ToneTable.h"

namespace tavin::lists {

using namespace interchange;

namespace {

// Megahertz with six decimals, as the tools of this layout write them.
QString megahertz(std::uint32_t count)
{
    return QString::fromStdString(formatFrequency(count) + "0");
}

struct ToneValue {
    enum Kind { None, Ctcss, Dcs } kind = None;
    QString value;          // hertz text, or the three code digits
    QChar polarity = u'N';  // DCS: N normal, R inverted

    friend bool operator==(const ToneValue &, const ToneValue &) = default;
};

ToneValue toneValue(const std::string &cell)
{
    const QString text = QString::fromStdString(cell);
    if (text.isEmpty() || text == QString::fromUtf8(kNoToneText.data(), qsizetype(kNoToneText.size()))
        || text.compare(QLatin1String("OFF"), Qt::CaseInsensitive) == 0)
        return {};
    if (text.startsWith(u'D', Qt::CaseInsensitive) && text.size() >= 3) {
        const QChar last = text.back().toUpper();
        const bool marked = last == u'N' || last == u'I';
        return {ToneValue::Dcs, text.mid(1, text.size() - (marked ? 2 : 1)), last == u'I' ? u'R' : u'N'};
    }
    return {ToneValue::Ctcss, text};
}

struct ToneColumns {
    QString mode;
    QString rTone = QString::fromLatin1(kDefaultToneHz);
    QString cTone = QString::fromLatin1(kDefaultToneHz);
    QString dtcs = QString::fromLatin1(kDefaultDtcsCode);
    QString rxDtcs = QString::fromLatin1(kDefaultDtcsCode);
    QChar txPolarity = u'N';
    QChar rxPolarity = u'N';
    QString cross = QString::fromLatin1(kDefaultCrossMode);
};

// The simplest tone mode that says both tones.
ToneColumns toneColumns(const ToneValue &tx, const ToneValue &rx)
{
    ToneColumns t;
    using K = ToneValue::Kind;
    if (tx.kind == K::None && rx.kind == K::None)
        return t;
    if (tx.kind == K::Ctcss && rx.kind == K::None) {
        t.mode = QStringLiteral("Tone");
        t.rTone = tx.value;
        return t;
    }
    if (tx.kind == K::Ctcss && rx.kind == K::Ctcss && tx.value == rx.value) {
        t.mode = QStringLiteral("TSQL");
        t.cTone = tx.value;
        return t;
    }
    if (tx.kind == K::Dcs && rx.kind == K::Dcs && tx.value == rx.value) {
        t.mode = QStringLiteral("DTCS");
        t.dtcs = tx.value;
        t.txPolarity = tx.polarity;
        t.rxPolarity = rx.polarity;
        return t;
    }
    t.mode = QStringLiteral("Cross");
    QString from;
    QString to;
    if (tx.kind == K::Ctcss) {
        from = QStringLiteral("Tone");
        t.rTone = tx.value;
    } else if (tx.kind == K::Dcs) {
        from = QStringLiteral("DTCS");
        t.dtcs = tx.value;
        t.txPolarity = tx.polarity;
    }
    if (rx.kind == K::Ctcss) {
        to = QStringLiteral("Tone");
        t.cTone = rx.value;
    } else if (rx.kind == K::Dcs) {
        to = QStringLiteral("DTCS");
        t.rxDtcs = rx.value;
        t.rxPolarity = rx.polarity;
    }
    t.cross = from + QStringLiteral("->") + to;
    return t;
}

// 5.00 or 6.25 kHz, whichever raster holds both frequencies (5.00 when both
// do); the one that holds the receive frequency when neither holds both.
QString tuningStep(std::uint32_t rx, const std::optional<std::uint32_t> &tx)
{
    const auto holds = [&](std::uint32_t step) { return rx % step == 0 && (!tx || *tx % step == 0); };
    if (holds(kStep5k))
        return QStringLiteral("5.00");
    if (holds(kStep6k25))
        return QStringLiteral("6.25");
    return rx % kStep5k == 0 ? QStringLiteral("5.00") : QStringLiteral("6.25");
}

QString powerWord(const std::string &cell)
{
    if (cell == choice::kMiddle)
        return QStringLiteral("Mid");
    if (cell == choice::kLow)
        return QStringLiteral("Low");
    return QStringLiteral("High");
}

}  // namespace

QByteArray writeInterchangeCsv(const ChannelTable &channels, std::vector<std::string> &notices)
{
    QStringList header;
    for (std::string_view name : kColumnNames)
        header << QString::fromLatin1(name.data(), qsizetype(name.size()));
    QString text = csvLine(header);

    std::vector<int> busyLocked;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelTexts &cells = channels[std::size_t(n - 1)];
        const std::optional<std::uint32_t> rx = frequencyCountFromText(cells[kRxFrequencyColumn]);
        const bool hasRx = !cells[kRxFrequencyColumn].empty() && rx && *rx > 0;
        const bool hasTx = !cells[kTxFrequencyColumn].empty();
        if (!hasRx) {
            if (hasTx)
                notices.push_back("channel " + std::to_string(n) +
                                  " is left out: it has a transmit frequency only, which this layout cannot hold");
            continue;
        }
        const std::optional<std::uint32_t> tx =
            hasTx ? frequencyCountFromText(cells[kTxFrequencyColumn]) : std::optional<std::uint32_t>();

        QString duplex;
        std::uint32_t offset = 0;
        if (!tx) {
            duplex = QStringLiteral("off");
        } else if (*tx != *rx) {
            const std::uint32_t shift = *tx > *rx ? *tx - *rx : *rx - *tx;
            if (shift <= kLargestShift) {
                duplex = *tx > *rx ? QStringLiteral("+") : QStringLiteral("-");
                offset = shift;
            } else {
                duplex = QStringLiteral("split");
                offset = *tx;
            }
        }

        const ToneColumns tones =
            toneColumns(toneValue(cells[kTxToneColumn]), toneValue(cells[kRxToneColumn]));
        const QStringList fields{
            QString::number(n),
            QString(),
            megahertz(*rx),
            duplex,
            megahertz(offset),
            tones.mode,
            tones.rTone,
            tones.cTone,
            tones.dtcs,
            QString(tones.txPolarity) + tones.rxPolarity,
            tones.rxDtcs,
            tones.cross,
            cells[kBandwidthColumn] == choice::kNarrow ? QStringLiteral("NFM") : QStringLiteral("FM"),
            tuningStep(*rx, tx),
            cells[kScanColumn] == choice::kDelete ? QStringLiteral("S") : QString(),
            powerWord(cells[kPowerColumn]),
            QString(),
            QString(),
            QString(),
            QString(),
            QString(),
        };
        text += csvLine(fields);
        if (cells[kBusyLockColumn] == choice::kYes)
            busyLocked.push_back(n);
    }
    // The layout has no busy lock: a list read back gives these channels 否.
    if (!busyLocked.empty())
        notices.push_back("busy lock (繁忙锁定) is not in the interchange layout, so it is left out: " +
                          channelNames(busyLocked));
    return text.toUtf8();
}

}  // namespace tavin::lists
