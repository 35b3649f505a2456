#include "InterchangeReader.h"

#include "CellText.h"
#include "Frequency.h"
#include "InterchangeLayout.h"
#include "ToneTable.h"

#include <map>

namespace tavin::lists {

using namespace interchange;

namespace {

std::string columnName(int column)
{
    return std::string(kColumnNames[std::size_t(column)]);
}

bool sameWord(const QString &text, const char *word)
{
    return text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// One data line of the file and what it says.
class RowReader {
public:
    RowReader(const CsvRecord &record, const std::array<int, kColumnCount> &at, bool decimalComma,
              const ToneTable &tones, ChannelList &list)
        : m_record(record), m_at(at), m_decimalComma(decimalComma), m_tones(tones), m_list(list)
    {
    }

    QString cell(int column) const
    {
        const int index = m_at[std::size_t(column)];
        return index < 0 ? QString() : m_record.fields.value(index).trimmed();
    }

    // Fills row.typed and row.source from the line.
    void read(ListRow &row)
    {
        m_row = &row;
        row.source[kBusyLockColumn] = {};
        if (cell(Frequency).isEmpty())
            return;  // no frequency: an empty channel
        readFrequencies();
        readTones();
        readSwitches();
    }

private:
    void refuse(int column, const std::string &message)
    {
        m_list.refuse(m_record.line, columnName(column), message);
        m_row->refusedCells = true;
    }

    void set(int gridColumn, std::string text, int column)
    {
        m_row->typed[std::size_t(gridColumn)] = std::move(text);
        m_row->source[std::size_t(gridColumn)] = columnName(column);
    }

    void readFrequencies()
    {
        const FrequencyCell rx = frequencyCell(cell(Frequency), m_decimalComma);
        if (!rx.problem.empty())
            refuse(Frequency, rx.problem);
        set(kRxFrequencyColumn, rx.text, Frequency);

        const QString duplex = cell(Duplex);
        if (duplex.isEmpty()) {
            set(kTxFrequencyColumn, rx.text, Frequency);
        } else if (duplex == u'+' || duplex == u'-') {
            readShift(rx, duplex == u'+');
        } else if (sameWord(duplex, "split")) {
            const FrequencyCell tx = frequencyCell(cell(Offset), m_decimalComma);
            if (!tx.problem.empty())
                refuse(Offset, tx.problem);
            else if (tx.text.empty())
                refuse(Offset, "duplex 'split' needs the transmit frequency in this column");
            set(kTxFrequencyColumn, tx.text, Offset);
        } else if (sameWord(duplex, "off")) {
            set(kTxFrequencyColumn, {}, Duplex);
        } else {
            refuse(Duplex, "'" + duplex.toStdString() + "' is not a duplex of this layout (empty, +, -, split or off)");
        }
    }

    // Duplex + or -: the transmit frequency is the receive frequency shifted
    // by the offset, the shift's size in megahertz. A shift that leaves no
    // frequency at all is refused here; every other result, however far out,
    // goes through the editor's rules like a typed frequency.
    void readShift(const FrequencyCell &rx, bool up)
    {
        const QString offsetText = cell(Offset).isEmpty() ? QStringLiteral("0") : cell(Offset);
        const FrequencyCell offset = frequencyCell(offsetText, m_decimalComma);
        if (!offset.problem.empty()) {
            refuse(Offset, offset.problem);
            return;
        }
        const std::optional<std::uint32_t> receive = rx.problem.empty() ? frequencyCountFromText(rx.text)
                                                                         : std::nullopt;
        const std::optional<std::int64_t> size = scaledDecimalPrefix(offset.text, 5);
        if (size && *size < 0) {
            refuse(Offset, "'" + offsetText.toStdString() +
                               "' is a negative offset: give the size of the shift here and its direction "
                               "in Duplex (+ or -)");
            return;
        }
        if (!receive)
            return;  // the receive frequency is refused, or is no number
        if (!size || (!up && std::uint64_t(*size) >= *receive)) {
            refuse(Offset, std::string("the receive frequency ") + (up ? "plus" : "minus") +
                               " this offset is not a frequency (" + formatFrequency(*receive) + " MHz " +
                               (up ? "+ " : "- ") + offset.text + " MHz)");
            return;
        }
        const std::uint64_t transmit = up ? std::uint64_t(*receive) + std::uint64_t(*size)
                                          : std::uint64_t(*receive) - std::uint64_t(*size);
        set(kTxFrequencyColumn, formatFrequency(transmit), Offset);
    }

    // A CTCSS tone from a column in hertz; the customary 88.5 when empty.
    std::optional<std::string> ctcss(int column)
    {
        const QString text = cell(column).isEmpty() ? QString::fromLatin1(kDefaultToneHz) : cell(column);
        if (const std::optional<long long> tenths = tenthsOfHertz(text, m_decimalComma); tenths && *tenths > 0) {
            const std::string name = std::to_string(*tenths / 10) + '.' + std::to_string(*tenths % 10);
            if (m_tones.indexIgnoringCase(name) >= 0)
                return name;
        }
        refuse(column, "'" + text.toStdString() + "' Hz is not a tone of the tone list");
        return std::nullopt;
    }

    // A DCS code from a column of three octal digits, with polarity letter N or R.
    std::optional<std::string> dcs(int column, QChar polarity)
    {
        QString code = cell(column).isEmpty() ? QString::fromLatin1(kDefaultDtcsCode) : cell(column);
        bool digits = !code.isEmpty() && code.size() <= 3;
        for (const QChar c : code)
            digits = digits && c >= u'0' && c <= u'7';
        if (digits) {
            code = code.rightJustified(3, u'0');
            const std::string name = "D" + code.toStdString() + (polarity == u'R' ? "I" : "N");
            const int index = m_tones.indexIgnoringCase(name);
            if (index >= 0)
                return m_tones.name(index);
        }
        refuse(column, "'" + cell(column).toStdString() + "' is not a DCS code of the tone list");
        return std::nullopt;
    }

    void encode(const std::optional<std::string> &name, int column)
    {
        if (name)
            set(kTxToneColumn, *name, column);
    }

    void decode(const std::optional<std::string> &name, int column)
    {
        if (name)
            set(kRxToneColumn, *name, column);
    }

    void readTones()
    {
        set(kRxToneColumn, std::string(kNoToneText), Tone);
        set(kTxToneColumn, std::string(kNoToneText), Tone);
        const QString mode = cell(Tone);
        QString polarity = cell(DtcsPolarity).isEmpty() ? QString::fromLatin1(kDefaultPolarity)
                                                        : cell(DtcsPolarity).toUpper();
        const bool polarityKnown = polarity.size() == 2 && (polarity[0] == u'N' || polarity[0] == u'R')
                                   && (polarity[1] == u'N' || polarity[1] == u'R');
        if (!polarityKnown) {
            refuse(DtcsPolarity, "'" + cell(DtcsPolarity).toStdString() +
                                     "' is not a polarity pair (two letters N or R: transmit, receive)");
            polarity = QString::fromLatin1(kDefaultPolarity);
        }
        const QChar txPolarity = polarity[0];
        const QChar rxPolarity = polarity[1];

        if (mode.isEmpty())
            return;
        if (sameWord(mode, "Tone")) {
            encode(ctcss(RToneFreq), RToneFreq);
        } else if (sameWord(mode, "TSQL")) {
            const std::optional<std::string> tone = ctcss(CToneFreq);
            encode(tone, CToneFreq);
            decode(tone, CToneFreq);
        } else if (sameWord(mode, "DTCS")) {
            encode(dcs(DtcsCode, txPolarity), DtcsCode);
            decode(dcs(DtcsCode, rxPolarity), DtcsCode);
        } else if (sameWord(mode, "Cross")) {
            readCrossMode(txPolarity, rxPolarity);
        } else if (sameWord(mode, "TSQL-R") || sameWord(mode, "DTCS-R")) {
            refuse(Tone, "tone mode '" + mode.toStdString() + "' is not supported: the radio has no reverse squelch");
        } else {
            refuse(Tone, "tone mode '" + mode.toStdString() + "' is not supported (empty, Tone, TSQL, DTCS or Cross)");
        }
    }

    void readCrossMode(QChar txPolarity, QChar rxPolarity)
    {
        const QString cross = cell(CrossMode).isEmpty() ? QString::fromLatin1(kDefaultCrossMode) : cell(CrossMode);
        const qsizetype arrow = cross.indexOf(QLatin1String("->"));
        const QString tx = arrow < 0 ? QString() : cross.left(arrow);
        const QString rx = arrow < 0 ? QString() : cross.mid(arrow + 2);
        const auto kind = [](const QString &side) {
            return side.isEmpty() ? 0 : sameWord(side, "Tone") ? 1 : sameWord(side, "DTCS") ? 2 : -1;
        };
        const int txKind = kind(tx);
        const int rxKind = kind(rx);
        if (arrow < 0 || txKind < 0 || rxKind < 0 || (txKind == 0 && rxKind == 0)) {
            refuse(CrossMode, "'" + cross.toStdString() + "' is not a cross mode of this layout");
            return;
        }
        if (txKind == 1)
            encode(ctcss(RToneFreq), RToneFreq);
        else if (txKind == 2)
            encode(dcs(DtcsCode, txPolarity), DtcsCode);
        if (rxKind == 1)
            decode(ctcss(CToneFreq), CToneFreq);
        else if (rxKind == 2)
            decode(dcs(RxDtcsCode, rxPolarity), RxDtcsCode);
    }

    void readSwitches()
    {
        const QString mode = cell(Mode);
        if (sameWord(mode, "FM"))
            set(kBandwidthColumn, std::string(choice::kWide), Mode);
        else if (sameWord(mode, "NFM"))
            set(kBandwidthColumn, std::string(choice::kNarrow), Mode);
        else if (!mode.isEmpty())
            refuse(Mode, "mode '" + mode.toStdString() + "' is not supported (FM or NFM)");

        const QString skip = cell(Skip);
        if (skip.isEmpty() || sameWord(skip, "P"))
            set(kScanColumn, std::string(choice::kAdd), Skip);
        else if (sameWord(skip, "S"))
            set(kScanColumn, std::string(choice::kDelete), Skip);
        else
            refuse(Skip, "'" + skip.toStdString() + "' is not a skip value (empty, S or P)");

        readPower();
    }

    void readPower()
    {
        const QString power = cell(Power);
        std::string_view word;
        if (power.isEmpty() || sameWord(power, "High"))
            word = choice::kHigh;
        else if (sameWord(power, "Mid") || sameWord(power, "Medium"))
            word = choice::kMiddle;
        else if (sameWord(power, "Low"))
            word = choice::kLow;
        else if (const std::optional<std::uint32_t> watts = milliwatts(power))
            word = *watts >= 4000 ? choice::kHigh : *watts >= 2000 ? choice::kMiddle : choice::kLow;
        if (word.empty())
            refuse(Power, "'" + power.toStdString() + "' is not a power (High, Mid, Low or watts such as 5.0W)");
        else
            set(kPowerColumn, std::string(word), Power);
    }

    // "5.0W", "5 W", "0.5w", "5": watts as a plain number with an optional W.
    std::optional<std::uint32_t> milliwatts(QString text) const
    {
        if (text.endsWith(u'W', Qt::CaseInsensitive))
            text.chop(1);
        const std::optional<QString> decimal = plainDecimal(text, m_decimalComma);
        if (!decimal)
            return std::nullopt;
        const std::optional<std::int64_t> value = scaledDecimalPrefix(decimal->toStdString(), 3);
        if (!value || *value < 0 || *value > 1000000000)
            return std::nullopt;
        return std::uint32_t(*value);
    }

    const CsvRecord &m_record;
    const std::array<int, kColumnCount> &m_at;
    bool m_decimalComma;
    const ToneTable &m_tones;
    ChannelList &m_list;
    ListRow *m_row = nullptr;
};

std::optional<long long> locationOf(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9)
        return std::nullopt;
    for (const QChar c : t) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return t.toLongLong();
}

}  // namespace

bool isInterchangeHeader(const CsvRecord &header)
{
    return !header.fields.isEmpty() && sameWord(header.fields.constFirst().trimmed(), "Location");
}

void readInterchangeCsv(const CsvTable &table, const ToneTable &tones, ChannelList &list)
{
    auto record = table.records.begin();
    while (record != table.records.end() && record->blank())
        ++record;
    if (record == table.records.end())
        return;

    std::array<int, kColumnCount> at;
    at.fill(-1);
    for (qsizetype i = 0; i < record->fields.size(); ++i) {
        const QString name = record->fields.at(i).trimmed();
        if (name.isEmpty())
            continue;
        bool known = false;
        for (int c = 0; c < kColumnCount && !known; ++c) {
            if (name.compare(QLatin1String(kColumnNames[std::size_t(c)].data()), Qt::CaseInsensitive) == 0) {
                known = true;
                if (at[std::size_t(c)] < 0)
                    at[std::size_t(c)] = int(i);
                else
                    list.refuse(record->line, name.toStdString(), "the header names this column twice");
            }
        }
        if (!known)
            list.notices.push_back("column '" + name.toStdString() + "' is not part of the interchange layout; ignored");
    }
    for (int required : {int(Location), int(Frequency)}) {
        if (at[std::size_t(required)] < 0)
            list.refuse(record->line, {}, "the header has no '" + columnName(required) + "' column");
    }
    if (!list.problems.empty())
        return;
    list.givesBusyLock = false;

    // Locations are taken as written: location n is channel n. A list that
    // numbers its locations from 0 is refused rather than moved one place up:
    // a list whose location 0 is only a blank first memory looks the same.
    const bool decimalComma = table.decimalComma();
    std::map<int, int> seen;  // channel -> line
    int names = 0;
    for (++record; record != table.records.end(); ++record) {
        if (record->blank())
            continue;
        const CsvRecord *line = &*record;
        const QString locationText = line->fields.value(at[Location]).trimmed();
        const std::optional<long long> location = locationOf(locationText);
        if (!location) {
            list.refuse(line->line, columnName(Location), "'" + locationText.toStdString() + "' is not a location number");
            continue;
        }
        if (*location == 0) {
            list.refuse(line->line, columnName(Location),
                        "location 0 is not one of the radio's 16 channels: this list numbers its locations from 0, "
                        "the radio from 1, and locations are taken as written (location 1 is channel 1); "
                        "renumber the list, or leave out an empty location 0");
            continue;
        }
        if (*location > kChannelCount) {
            list.refuse(line->line, columnName(Location),
                        "location " + std::to_string(*location) + " is not one of the radio's 16 channels (1 to 16)");
            continue;
        }
        const int channel = int(*location);
        if (const auto earlier = seen.find(channel); earlier != seen.end()) {
            list.refuse(line->line, columnName(Location),
                        "channel " + std::to_string(channel) + " is already given on line " +
                            std::to_string(earlier->second));
            continue;
        }
        seen.emplace(channel, line->line);

        ListRow row;
        row.channel = channel;
        row.line = line->line;
        RowReader reader(*line, at, decimalComma, tones, list);
        reader.read(row);
        if (!reader.cell(Name).isEmpty())
            ++names;
        list.rows.push_back(std::move(row));
    }
    if (names > 0)
        list.notices.push_back(std::to_string(names) + (names == 1 ? " channel name was" : " channel names were") +
                               " dropped: the radio has no channel names");
}

}  // namespace tavin::lists
