#include "NativeCsv.h"

#include "CellText.h"
#include "GridTexts.h"

#include <map>

namespace tavin::lists {

namespace {

QString header(int column)
{
    const std::string_view text = kGridHeaderTexts[static_cast<std::size_t>(column)];
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string headerText(int column)
{
    return std::string(kGridHeaderTexts[static_cast<std::size_t>(column)]);
}

// Number of header columns, trailing empty cells left out.
qsizetype usedWidth(const QStringList &fields)
{
    qsizetype width = fields.size();
    while (width > 0 && fields.at(width - 1).isEmpty())
        --width;
    return width;
}

std::optional<int> channelNumber(const QString &text)
{
    bool ok = false;
    const QString t = text.trimmed();
    for (const QChar c : t) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const int n = t.toInt(&ok);
    if (!ok || n < 1 || n > kChannelCount)
        return std::nullopt;
    return n;
}

}  // namespace

bool isNativeHeader(const CsvRecord &record)
{
    return !record.fields.isEmpty() && record.fields.constFirst().trimmed() == header(0);
}

void readNativeCsv(const CsvTable &table, ChannelList &list)
{
    const bool decimalComma = table.decimalComma();
    auto record = table.records.begin();
    while (record != table.records.end() && record->blank())
        ++record;
    if (record == table.records.end())
        return;

    // The header: the grid's headers from the first on; trailing columns may be left out.
    const qsizetype width = usedWidth(record->fields);
    if (width < 2)
        list.refuse(record->line, {}, "the header names no column after " + headerText(0));
    for (qsizetype c = 1; c < width; ++c) {
        const QString found = record->fields.at(c).trimmed();
        if (c >= kGridColumnCount) {
            list.refuse(record->line, {}, "the header has more than nine columns: '" + found.toStdString() + "'");
            break;
        }
        if (found != header(int(c)))
            list.refuse(record->line, {},
                        "column " + std::to_string(c + 1) + " of the header is '" + found.toStdString() +
                            "', expected '" + headerText(int(c)) + "'");
    }
    const qsizetype columns = std::min<qsizetype>(std::max<qsizetype>(width, 2), kGridColumnCount);

    std::map<int, int> seen;  // channel -> line
    for (++record; record != table.records.end(); ++record) {
        if (record->blank())
            continue;
        const QStringList &fields = record->fields;
        const int line = record->line;
        const std::optional<int> channel = channelNumber(fields.constFirst());
        if (!channel) {
            list.refuse(line, headerText(0), "'" + fields.constFirst().toStdString() + "' is not a channel number of 1 to 16");
            continue;
        }
        if (const auto earlier = seen.find(*channel); earlier != seen.end()) {
            list.refuse(line, headerText(0),
                        "channel " + std::to_string(*channel) + " is already given on line " +
                            std::to_string(earlier->second));
            continue;
        }
        seen.emplace(*channel, line);

        ListRow row;
        row.channel = *channel;
        row.line = line;
        for (int c = 0; c < kColumnCount; ++c) {
            row.source[std::size_t(c)] = headerText(c + 1);
            const QString text = c + 1 < columns ? fields.value(c + 1) : QString();
            std::string &typed = row.typed[std::size_t(c)];
            if (c == kRxFrequencyColumn || c == kTxFrequencyColumn) {
                const FrequencyCell cell = frequencyCell(text, decimalComma);
                if (!cell.problem.empty()) {
                    list.refuse(line, row.source[std::size_t(c)], cell.problem);
                    row.refusedCells = true;
                }
                typed = cell.text;
            } else if (c == kRxToneColumn || c == kTxToneColumn) {
                typed = toneCell(text, decimalComma);
            } else {
                typed = text.trimmed().toStdString();
            }
        }
        for (qsizetype extra = columns; extra < fields.size(); ++extra) {
            if (!fields.at(extra).trimmed().isEmpty()) {
                list.refuse(line, {},
                            "text after the last column: '" + fields.at(extra).trimmed().toStdString() + "'");
                row.refusedCells = true;
                break;
            }
        }
        list.rows.push_back(std::move(row));
    }
}

QByteArray writeNativeCsv(const ChannelTable &channels)
{
    QStringList headers;
    for (int c = 0; c < kGridColumnCount; ++c)
        headers << header(c);
    QString text = csvLine(headers);
    for (int n = 1; n <= kChannelCount; ++n) {
        QStringList fields{QString::fromStdString(channelNumberText(n))};
        for (const std::string &cell : channels[std::size_t(n - 1)])
            fields << QString::fromStdString(cell);
        text += csvLine(fields);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

}  // namespace tavin::lists
