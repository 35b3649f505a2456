#include "ImageComparison.h"

#include "Codec.h"
#include "GridTexts.h"
#include "SettingBoxes.h"

#include <cstdio>

namespace tavin {

namespace {

std::string hex3(std::size_t offset)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%03zX", offset);
    return text;
}

std::string shown(const std::string &text)
{
    return text.empty() ? "(empty)" : text;
}

// Differing bytes in [from, to) as ranges: "0x193-0x195, 0x19A".
std::string differingRanges(const RadioImage &a, const RadioImage &b, std::size_t from, std::size_t to)
{
    std::string ranges;
    std::size_t i = from;
    while (i < to) {
        if (a[i] == b[i]) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end + 1 < to && a[end + 1] != b[end + 1])
            ++end;
        if (!ranges.empty())
            ranges += ", ";
        ranges += end == i ? hex3(i) : hex3(i) + "-" + hex3(end);
        i = end + 1;
    }
    return ranges;
}

bool differs(const RadioImage &a, const RadioImage &b, std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i) {
        if (a[i] != b[i])
            return true;
    }
    return false;
}

// Setting labels may span two lines ("紧急呼叫          开关"): one space each.
std::string simplified(std::string_view label)
{
    std::string out;
    bool space = false;
    for (const char c : label) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += c;
    }
    return out;
}

class Describer {
public:
    Describer(const RadioImage &expected, const RadioImage &found, const ComparisonNames &names)
        : m_expected(expected), m_found(found), m_names(names)
    {
    }

    std::string values(const std::string &expected, const std::string &found) const
    {
        return m_names.expected + " " + shown(expected) + ", " + m_names.found + " " + shown(found);
    }

    void channels()
    {
        for (int n = 1; n <= kChannelCount; ++n) {
            const std::size_t from = layout::channelOffset(n);
            if (!differs(m_expected, m_found, from, from + layout::kRowSize))
                continue;
            const ChannelTexts e = decodeChannel(m_expected, n);
            const ChannelTexts f = decodeChannel(m_found, n);
            bool named = false;
            for (int c = 0; c < kColumnCount; ++c) {
                const auto i = static_cast<std::size_t>(c);
                if (e[i] == f[i])
                    continue;
                Difference d;
                d.kind = Difference::Kind::Channel;
                d.channel = n;
                d.item = std::string(kGridHeaderTexts[i + 1]);
                d.expected = e[i];
                d.found = f[i];
                d.line = "channel " + std::to_string(n) + ", " + d.item + ": " + values(e[i], f[i]);
                add(std::move(d));
                named = true;
            }
            if (!named) {
                Difference d;
                d.kind = Difference::Kind::ChannelBytes;
                d.channel = n;
                d.item = "channel " + std::to_string(n);
                d.ranges = differingRanges(m_expected, m_found, from, from + layout::kRowSize);
                d.line = d.item + ": bytes " + d.ranges + " differ (not shown in the editor)";
                add(std::move(d));
            }
        }
    }

    void settings()
    {
        const std::size_t flagsEnd = layout::kFunctionFlags + layout::kRowSize;
        const bool flagsDiffer = differs(m_expected, m_found, layout::kFunctionFlags, flagsEnd);
        const bool modelDiffers = differs(m_expected, m_found, layout::kModelBlock, layout::kReadOnlyArea);
        if (!flagsDiffer && !modelDiffers)
            return;
        BoxSelections e;
        BoxSelections f;
        decodeSettings(m_expected, e);
        decodeSettings(m_found, f);
        e[SettingBox::Band] = decodeBandSelection(m_expected);
        f[SettingBox::Band] = decodeBandSelection(m_found);
        bool named = false;
        for (const SettingBoxInfo &box : settingBoxes()) {
            if (e[box.box] == f[box.box])
                continue;
            Difference d;
            d.kind = Difference::Kind::Setting;
            d.item = simplified(box.label);
            d.key = std::string(box.key);
            d.expected = selectionText(box.box, e[box.box]);
            d.found = selectionText(box.box, f[box.box]);
            d.line = "setting " + d.item + ": " + values(d.expected, d.found);
            add(std::move(d));
            named = true;
        }
        if (named)
            return;
        if (flagsDiffer)
            addBytes("settings", layout::kFunctionFlags, flagsEnd, " differ (not shown in the editor)");
        if (modelDiffers)
            addBytes("model block", layout::kModelBlock, layout::kReadOnlyArea, " differ (not shown in the editor)");
    }

    void rest(ComparedBytes compared)
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
            {layout::kReadOnlyArea, kImageSize, "read-only area"},
        };
        for (const Region &region : regions) {
            if (region.from == layout::kReadOnlyArea && compared != ComparedBytes::All)
                continue;
            addBytes(region.name, region.from, region.to, " differ");
        }
    }

    std::vector<Difference> take() { return std::move(m_differences); }

private:
    void add(Difference difference) { m_differences.push_back(std::move(difference)); }

    void addBytes(const char *region, std::size_t from, std::size_t to, const char *tail)
    {
        Difference d;
        d.kind = Difference::Kind::Bytes;
        d.item = region;
        d.ranges = differingRanges(m_expected, m_found, from, to);
        if (d.ranges.empty())
            return;
        d.line = d.item + ": bytes " + d.ranges + tail;
        add(std::move(d));
    }

    const RadioImage &m_expected;
    const RadioImage &m_found;
    const ComparisonNames &m_names;
    std::vector<Difference> m_differences;
};

}  // namespace

std::vector<Difference> compareImages(const RadioImage &expected, const RadioImage &found,
                                      const ComparisonNames &names, ComparedBytes compared)
{
    Describer describer(expected, found, names);
    describer.channels();
    describer.settings();
    describer.rest(compared);
    return describer.take();
}

std::vector<std::string> describeDifferences(const RadioImage &expected, const RadioImage &found,
                                             const ComparisonNames &names, ComparedBytes compared)
{
    std::vector<std::string> lines;
    for (Difference &difference : compareImages(expected, found, names, compared))
        lines.push_back(std::move(difference.line));
    return lines;
}

}  // namespace tavin
