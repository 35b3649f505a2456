// Channel files the editor could have produced, made from random rows that
// follow the editor's rules, and small helpers the list tests share.
#pragma once

#include "ChannelListImport.h"
#include "Codec.h"
#include "Frequency.h"
#include "FrequencyEntry.h"
#include "NewDocument.h"
#include "ToneTable.h"

#include <QRandomGenerator>
#include <QStringList>

namespace samples {

inline QStringList texts(const tavin::ChannelTexts &row)
{
    QStringList out;
    for (const std::string &s : row)
        out << QString::fromStdString(s);
    return out;
}

inline tavin::ChannelTexts row(const QStringList &list)
{
    tavin::ChannelTexts t;
    for (int c = 0; c < tavin::kColumnCount; ++c)
        t[std::size_t(c)] = list.value(c).toStdString();
    return t;
}

inline tavin::ChannelTable decodedChannels(const tavin::RadioImage &image)
{
    tavin::ChannelTable table;
    for (int n = 1; n <= tavin::kChannelCount; ++n)
        table[std::size_t(n - 1)] = tavin::decodeChannel(image, n);
    return table;
}

inline tavin::BoxSelections decodedSelections(const tavin::RadioImage &image)
{
    tavin::BoxSelections s = tavin::initialFormSelections();
    tavin::decodeSettings(image, s);
    s[tavin::SettingBox::Band] = tavin::decodeBandSelection(image);
    return s;
}

// A random frequency of the band on the 5 kHz or the 6.25 kHz raster.
inline std::uint32_t frequencyIn(QRandomGenerator &random, int band)
{
    const tavin::BandLimits limits = tavin::kBandLimits[std::size_t(band)];
    const std::uint32_t step = random.bounded(2) ? tavin::kStep5k : tavin::kStep6k25;
    const std::uint32_t first = (limits.lowest + step - 1) / step;
    const std::uint32_t last = limits.highest / step;
    return step * (first + random.bounded(last - first + 1));
}

enum class Sides { Both, ReceiveOnly, TransmitOnly };

// A row as typing it into the editor can leave it: frequencies through the
// entry rules, any tone of the list (or "OFF"), any chooser word.
inline tavin::ChannelTexts randomRow(QRandomGenerator &random, int band, Sides sides, const tavin::ToneTable &tones)
{
    using namespace tavin;
    ChannelTexts row;
    if (sides != Sides::TransmitOnly)
        commitFrequencyEntry(row, kRxFrequencyColumn, formatFrequency(frequencyIn(random, band)));
    if (sides == Sides::ReceiveOnly)
        commitFrequencyEntry(row, kTxFrequencyColumn, std::string());
    else if (sides == Sides::TransmitOnly || random.bounded(2))
        commitFrequencyEntry(row, kTxFrequencyColumn, formatFrequency(frequencyIn(random, band)));
    // otherwise the transmit frequency stays the receive frequency it was copied from
    for (int c : {kRxToneColumn, kTxToneColumn}) {
        const int pick = int(random.bounded(tones.size() + 5));
        row[std::size_t(c)] = pick < tones.size() ? tones.name(pick) : pick == tones.size() ? "OFF" : "无";
    }
    const char *const busy[] = {"是", "否"};
    const char *const width[] = {"宽带", "窄带"};
    const char *const scan[] = {"添加", "删除"};
    const char *const power[] = {"高", "中", "低"};
    row[kBusyLockColumn] = busy[random.bounded(2)];
    row[kBandwidthColumn] = width[random.bounded(2)];
    row[kScanColumn] = scan[random.bounded(2)];
    row[kPowerColumn] = power[random.bounded(3)];
    return row;
}

struct GeneratedFile {
    tavin::RadioImage image;
    int band = 0;
};

// A channel file as the editor saves it after the given rows were typed, in
// a random band; random settings too when withSettings.
inline GeneratedFile randomFile(QRandomGenerator &random, bool withSettings, bool transmitOnlyRows,
                                const tavin::ToneTable &tones)
{
    using namespace tavin;
    GeneratedFile file;
    file.band = int(random.bounded(4));
    BoxSelections selections = decodedSelections(savedNewDocument());
    if (withSettings) {
        for (const SettingBoxInfo &box : settingBoxes())
            selections[box.box] = int(random.bounded(int(box.entries.size())));
    }
    selections[SettingBox::Band] = file.band;
    ChannelTable channels;
    for (ChannelTexts &row : channels) {
        const int kind = int(random.bounded(10));
        if (kind < 3)
            continue;  // an empty channel
        const Sides sides = kind == 3 ? Sides::ReceiveOnly
                            : kind == 4 && transmitOnlyRows ? Sides::TransmitOnly
                                                            : Sides::Both;
        row = randomRow(random, file.band, sides, tones);
    }
    file.image = savedNewDocument();
    applyModelRule(file.image, selections[SettingBox::Model]);
    encodeImage(channels, selections, file.image);
    return file;
}

}  // namespace samples
