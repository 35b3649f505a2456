#include "ChannelListImport.h"

#include "ChannelEntry.h"
#include "CsvTable.h"
#include "Frequency.h"
#include "GridTexts.h"
#include "InterchangeReader.h"
#include "JsonList.h"
#include "ListText.h"
#include "NativeCsv.h"
#include "NewDocument.h"

#include <algorithm>
#include <utility>

namespace tavin::lists {

namespace {

std::string bandName(int band)
{
    return selectionText(SettingBox::Band, band);
}

bool inBand(std::uint32_t count, int band)
{
    const BandLimits &limits = kBandLimits[std::size_t(band)];
    return count >= limits.lowest && count <= limits.highest;
}

constexpr int kBandCount = int(kBandLimits.size());

// A channel the list names with the frequencies it would type that the format
// rule lets through.
struct TypedChannel {
    int channel = 0;
    std::vector<std::uint32_t> counts;
};

std::vector<TypedChannel> typedChannels(const ChannelList &list)
{
    std::vector<TypedChannel> channels;
    for (const ListRow &row : list.rows) {
        TypedChannel typed{row.channel, {}};
        for (int c : {kRxFrequencyColumn, kTxFrequencyColumn}) {
            const std::string &text = row.typed[std::size_t(c)];
            const std::optional<std::uint32_t> count = text.empty() ? std::nullopt : frequencyCountFromText(text);
            if (count && *count >= kLowestFrequency && *count <= kHighestFrequency)
                typed.counts.push_back(*count);
        }
        if (!typed.counts.empty())
            channels.push_back(std::move(typed));
    }
    return channels;
}

bool holds(int band, const TypedChannel &typed)
{
    return std::all_of(typed.counts.begin(), typed.counts.end(), [band](std::uint32_t c) { return inBand(c, band); });
}

class Importer {
public:
    Importer(const RadioImage &base, const ImportOptions &options, const ToneTable &tones, ImportOutcome &outcome)
        : m_options(options), m_tones(tones), m_outcome(outcome)
    {
        m_baseSelections = initialFormSelections();
        decodeSettings(base, m_baseSelections);
        m_baseSelections[SettingBox::Band] = decodeBandSelection(base);
    }

    void run(ChannelList &list)
    {
        const int band = settleBand(list);
        std::vector<std::pair<int, ChannelTexts>> entered;
        std::vector<int> receiveOnly;
        for (const ListRow &row : list.rows) {
            RowEntry entry = enterChannelRow(row.typed, band, m_tones);
            for (const CellProblem &problem : entry.problems) {
                const std::string &source = row.source[std::size_t(problem.column)];
                list.refuse(row.line,
                            source.empty() ? std::string(kGridHeaderTexts[std::size_t(problem.column) + 1]) : source,
                            problem.message + " (" + problem.detail + ")");
            }
            if (entry.droppedCells && !row.refusedCells)
                m_outcome.notices.push_back("line " + std::to_string(row.line) + ": channel " +
                                            std::to_string(row.channel) +
                                            " has no frequency, so it is an empty channel; its other cells are left out");
            if (!entry.row[kRxFrequencyColumn].empty() && entry.row[kTxFrequencyColumn].empty())
                receiveOnly.push_back(row.channel);
            entered.emplace_back(row.channel, std::move(entry.row));
        }

        m_outcome.problems = std::move(list.problems);
        std::stable_sort(m_outcome.problems.begin(), m_outcome.problems.end(),
                         [](const ListProblem &a, const ListProblem &b) { return a.line < b.line; });
        m_outcome.problems.erase(std::unique(m_outcome.problems.begin(), m_outcome.problems.end()),
                                 m_outcome.problems.end());
        for (std::string &notice : list.notices)
            m_outcome.notices.push_back(std::move(notice));
        if (m_outcome.refused())
            return;

        if (list.rows.empty() && !list.hasSettings())
            m_outcome.notices.push_back("the list names no channel; the base stays as it is");
        if (!receiveOnly.empty())
            m_outcome.notices.push_back("receive only, with no transmit frequency: " + channelNames(receiveOnly));
        if (!list.givesBusyLock)
            noteLostBusyLock(entered);
        RadioImage &image = m_outcome.image;
        writeSettings(list, band, image);
        std::vector<bool> named(kChannelCount + 1, false);
        for (const auto &[channel, texts] : entered) {
            encodeChannel(texts, image, channel);
            named[std::size_t(channel)] = true;
        }
        noteKeptChannelsOutside(band, named);
    }

private:
    // The band the frequencies are checked against: the option, else JSON's
    // band, else the base's band when it holds every channel, else the first
    // band that does. When none does, the band that holds the most channels
    // (the base's on a tie), and the channels outside it are named, so that
    // one mistyped frequency is not blamed on all the others.
    int settleBand(const ChannelList &list)
    {
        const int baseBand = m_baseSelections[SettingBox::Band];
        if (m_options.band)
            return *m_options.band;
        if (const std::optional<int> given = list.setting(SettingBox::Band); given && *given >= 0)
            return *given;
        const std::vector<TypedChannel> channels = typedChannels(list);
        const auto heldBy = [&channels](int band) {
            return std::size_t(std::count_if(channels.begin(), channels.end(),
                                             [band](const TypedChannel &typed) { return holds(band, typed); }));
        };
        if (heldBy(baseBand) == channels.size())
            return baseBand;
        int best = baseBand;
        for (int band = 0; band < kBandCount; ++band) {
            if (heldBy(band) == channels.size()) {
                m_outcome.notices.push_back("band set to " + bandName(band) + ", which holds every imported frequency");
                return band;
            }
            if (heldBy(band) > heldBy(best))
                best = band;
        }
        std::string outside;
        for (const TypedChannel &typed : channels) {
            if (holds(best, typed))
                continue;
            const auto count = std::find_if(typed.counts.begin(), typed.counts.end(),
                                            [best](std::uint32_t c) { return !inBand(c, best); });
            outside += (outside.empty() ? "" : ", ") + std::string("channel ") + std::to_string(typed.channel) + " (" +
                       formatFrequency(*count) + " MHz)";
        }
        m_outcome.notices.push_back(std::string("no band holds every imported frequency; ") +
                                    (best == baseBand ? "the band stays " : "band set to ") + bandName(best) +
                                    ", which holds the most channels (" + std::to_string(heldBy(best)) + " of " +
                                    std::to_string(channels.size()) + "); outside it: " + outside);
        return best;
    }

    void writeSettings(const ChannelList &list, int band, RadioImage &image) const
    {
        if (!list.hasSettings()) {
            if (band != m_baseSelections[SettingBox::Band])
                image[layout::kBandCode] = static_cast<std::uint8_t>(0xF0 + band);
            return;
        }
        BoxSelections selections = m_baseSelections;
        for (const SettingBoxInfo &box : settingBoxes()) {
            if (const std::optional<int> given = list.setting(box.box))
                selections[box.box] = *given;
        }
        selections[SettingBox::Band] = band;
        // A new model rewrites the hidden channel rows as choosing it in the model box does.
        if (selections[SettingBox::Model] != m_baseSelections[SettingBox::Model])
            applyModelRule(image, selections[SettingBox::Model]);
        encodeSettings(selections, image);
    }

    // The list cannot say busy lock, so its channels get 否: name those on
    // which the base had 是.
    void noteLostBusyLock(const std::vector<std::pair<int, ChannelTexts>> &entered)
    {
        std::vector<int> lost;
        for (const auto &[channel, texts] : entered) {
            if (texts[kBusyLockColumn] == choice::kNo
                && decodeChannel(m_outcome.image, channel)[kBusyLockColumn] == choice::kYes)
                lost.push_back(channel);
        }
        if (!lost.empty())
            m_outcome.notices.push_back("busy lock (繁忙锁定) is not in the interchange layout, so it is 否 where the "
                                        "base has 是: " + channelNames(lost));
    }

    void noteKeptChannelsOutside(int band, const std::vector<bool> &named)
    {
        for (int n = 1; n <= kChannelCount; ++n) {
            if (named[std::size_t(n)])
                continue;
            const ConstChannelRecord record = std::as_const(m_outcome.image).channel(n);
            for (Side side : {Side::Rx, Side::Tx}) {
                const std::optional<std::uint32_t> count = record.frequency(side);
                if (count && !inBand(*count, band)) {
                    m_outcome.notices.push_back("channel " + std::to_string(n) + " keeps " + formatFrequency(*count) +
                                                " MHz from the base, outside the band " + bandName(band));
                    break;
                }
            }
        }
    }

    const ImportOptions &m_options;
    const ToneTable &m_tones;
    ImportOutcome &m_outcome;
    BoxSelections m_baseSelections;
};

}  // namespace

ChannelList readChannelList(const QByteArray &bytes, const ToneTable &tones, std::optional<ListFormat> *format)
{
    ChannelList list;
    *format = std::nullopt;
    if (bytes.size() > kLargestListFile) {
        list.refuse(1, {}, "the file is too large for a channel list (" + std::to_string(bytes.size()) + " bytes)");
        return list;
    }
    const ListText text = decodeListText(bytes);
    if (!text.error.isEmpty()) {
        list.refuse(1, {}, text.error.toStdString());
        return list;
    }
    if (text.text.trimmed().isEmpty()) {
        list.refuse(1, {}, "the file is empty");
        return list;
    }
    if (looksLikeJson(text.text)) {
        *format = ListFormat::Json;
        readJsonList(text.text, list);
        return list;
    }

    const CsvTable table = parseCsv(text.text);
    if (table.unterminatedQuoteLine > 0) {
        list.refuse(table.unterminatedQuoteLine, {}, "a quoted cell that starts here is never closed");
        return list;
    }
    const auto header = std::find_if(table.records.begin(), table.records.end(),
                                     [](const CsvRecord &record) { return !record.blank(); });
    if (header == table.records.end()) {
        list.refuse(1, {}, "the file is empty");
    } else if (isNativeHeader(*header)) {
        *format = ListFormat::Native;
        readNativeCsv(table, list);
    } else if (isInterchangeHeader(*header)) {
        *format = ListFormat::Interchange;
        readInterchangeCsv(table, tones, list);
    } else {
        list.refuse(header->line, {},
                    "not a channel list: the first line is neither the grid's header (信道,接收频率(MHz),...) "
                    "nor the interchange header (Location,Name,Frequency,...), and the file is not JSON");
    }
    return list;
}

ImportOutcome importChannelList(const QByteArray &bytes, const RadioImage &base, const ImportOptions &options,
                                const ToneTable &tones)
{
    ImportOutcome outcome;
    outcome.image = base;
    ChannelList list = readChannelList(bytes, tones, &outcome.format);
    Importer(base, options, tones, outcome).run(list);
    if (outcome.refused())
        outcome.image = base;
    return outcome;
}

}  // namespace tavin::lists
