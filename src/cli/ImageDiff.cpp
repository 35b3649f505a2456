#include "ImageDiff.h"

#include "Codec.h"
#include "SettingBoxes.h"

namespace tavin::cli {

namespace {

const char *const kColumnNames[kColumnCount] = {"接收频率(MHz)", "发射频率(MHz)", "QT/DQT解码", "QT/DQT编码",
                                                "繁忙锁定", "宽/窄带", "扫描", "功率"};

QString hex3(std::size_t offset)
{
    return QStringLiteral("0x") + QString::number(offset, 16).rightJustified(3, QLatin1Char('0')).toUpper();
}

QString shown(const std::string &text)
{
    return text.empty() ? QStringLiteral("(empty)") : QString::fromStdString(text);
}

// Differing bytes in [from, to) as ranges: "0x193-0x195, 0x19A".
QString differingRanges(const RadioImage &a, const RadioImage &b, std::size_t from, std::size_t to)
{
    QStringList ranges;
    std::size_t i = from;
    while (i < to) {
        if (a[i] == b[i]) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end + 1 < to && a[end + 1] != b[end + 1])
            ++end;
        ranges << (end == i ? hex3(i) : hex3(i) + QLatin1Char('-') + hex3(end));
        i = end + 1;
    }
    return ranges.join(QStringLiteral(", "));
}

bool differs(const RadioImage &a, const RadioImage &b, std::size_t from, std::size_t to)
{
    return !differingRanges(a, b, from, to).isEmpty();
}

void describeChannels(const RadioImage &file, const RadioImage &radio, QStringList &out)
{
    for (int n = 1; n <= kChannelCount; ++n) {
        const std::size_t from = layout::channelOffset(n);
        if (!differs(file, radio, from, from + layout::kRowSize))
            continue;
        const ChannelTexts f = decodeChannel(file, n);
        const ChannelTexts r = decodeChannel(radio, n);
        bool named = false;
        for (int c = 0; c < kColumnCount; ++c) {
            const auto i = static_cast<std::size_t>(c);
            if (f[i] == r[i])
                continue;
            out << QStringLiteral("channel %1, %2: file %3, radio %4")
                       .arg(n).arg(QString::fromUtf8(kColumnNames[c]), shown(f[i]), shown(r[i]));
            named = true;
        }
        if (!named)
            out << QStringLiteral("channel %1: bytes %2 differ (not shown in the editor)")
                       .arg(n).arg(differingRanges(file, radio, from, from + layout::kRowSize));
    }
}

void describeSettings(const RadioImage &file, const RadioImage &radio, QStringList &out)
{
    const bool flagsDiffer = differs(file, radio, layout::kFunctionFlags, layout::kFunctionFlags + layout::kRowSize);
    const bool modelDiffers = differs(file, radio, layout::kModelBlock, layout::kReadOnlyArea);
    if (!flagsDiffer && !modelDiffers)
        return;
    BoxSelections f;
    BoxSelections r;
    decodeSettings(file, f);
    decodeSettings(radio, r);
    f[SettingBox::Band] = decodeBandSelection(file);
    r[SettingBox::Band] = decodeBandSelection(radio);
    bool named = false;
    for (const SettingBoxInfo &box : settingBoxes()) {
        if (f[box.box] == r[box.box])
            continue;
        out << QStringLiteral("setting %1: file %2, radio %3")
                   .arg(QString::fromUtf8(box.label.data(), qsizetype(box.label.size())).simplified(),
                        shown(selectionText(box.box, f[box.box])), shown(selectionText(box.box, r[box.box])));
        named = true;
    }
    if (!named) {
        if (flagsDiffer)
            out << QStringLiteral("settings: bytes %1 differ (not shown in the editor)")
                       .arg(differingRanges(file, radio, layout::kFunctionFlags, layout::kFunctionFlags + layout::kRowSize));
        if (modelDiffers)
            out << QStringLiteral("model block: bytes %1 differ (not shown in the editor)")
                       .arg(differingRanges(file, radio, layout::kModelBlock, layout::kReadOnlyArea));
    }
}

void describeRest(const RadioImage &file, const RadioImage &radio, QStringList &out)
{
    struct Region {
        std::size_t from;
        std::size_t to;
        const char *name;
    };
    const Region regions[] = {
        {0x000, layout::channelOffset(1), "row 0"},
        {layout::channelOffset(layout::kFirstHiddenRow), layout::channelOffset(layout::kLastHiddenRow + 1),
         "hidden channel records"},
        {layout::channelOffset(layout::kLastHiddenRow + 1), layout::kChannelIndexTable, "unused memory"},
        {layout::kChannelIndexTable, layout::kChannelIndexTable + layout::kRowSize, "channel index table"},
        {layout::kChannelIndexTable + layout::kRowSize, layout::kFunctionFlags, "unused memory"},
    };
    for (const Region &region : regions) {
        const QString ranges = differingRanges(file, radio, region.from, region.to);
        if (!ranges.isEmpty())
            out << QStringLiteral("%1: bytes %2 differ").arg(QString::fromUtf8(region.name), ranges);
    }
}

}  // namespace

QStringList describeDifferences(const RadioImage &file, const RadioImage &radio)
{
    QStringList out;
    describeChannels(file, radio, out);
    describeSettings(file, radio, out);
    describeRest(file, radio, out);
    return out;
}

}  // namespace tavin::cli
