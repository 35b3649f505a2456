#include "JsonList.h"

#include "CellText.h"
#include "GridTexts.h"
#include "JsonLines.h"
#include "SettingText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tavin::lists {

namespace {

QString keyOf(const SettingBoxInfo &box)
{
    return QString::fromLatin1(box.key.data(), qsizetype(box.key.size()));
}

class JsonReader {
public:
    JsonReader(const QString &text, ChannelList &list) : m_text(text), m_list(list) {}

    void read()
    {
        const QByteArray utf8 = m_text.toUtf8();
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(utf8, &error);
        if (error.error != QJsonParseError::NoError) {
            const int line = 1 + int(utf8.left(error.offset).count('\n'));
            m_list.refuse(line, {}, "not valid JSON: " + error.errorString().toStdString());
            return;
        }
        if (!document.isObject()) {
            m_list.refuse(1, {}, "the JSON document is not an object with channels and settings");
            return;
        }
        const JsonLines scanned = scanJsonLines(m_text);
        m_lines = scanned.valueLines;
        // A JSON reader keeps the last of two values of one key: refuse the
        // list rather than drop the first unseen.
        for (const RepeatedJsonKey &repeated : scanned.repeatedKeys)
            m_list.refuse(repeated.line, repeated.key.toStdString(),
                          "the key is given twice in one object (first on line " + std::to_string(repeated.firstLine) +
                              "); give it once");
        const QJsonObject root = document.object();
        for (auto it = root.begin(); it != root.end(); ++it) {
            if (it.key() == QLatin1String("channels"))
                readChannels(it.value());
            else if (it.key() == QLatin1String("settings"))
                readSettings(it.value());
            else
                m_list.refuse(lineOf(it.key()), it.key().toStdString(),
                              "unknown key: a channel list has \"channels\" and \"settings\"");
        }
    }

private:
    int lineOf(const QString &path) const { return m_lines.value(path, 1); }

    void readChannels(const QJsonValue &value)
    {
        const QString path = QStringLiteral("channels");
        if (!value.isArray()) {
            m_list.refuse(lineOf(path), "channels", "must be an array of channels, each an array of eight texts");
            return;
        }
        const QJsonArray channels = value.toArray();
        for (qsizetype k = 0; k < channels.size(); ++k) {
            const QString rowPath = path + u'/' + QString::number(k);
            const std::string name = "channel " + std::to_string(k + 1);
            if (k >= kChannelCount) {
                m_list.refuse(lineOf(rowPath), "channels", "more than 16 channels");
                return;
            }
            const QJsonArray texts = channels.at(k).toArray();
            bool allTexts = channels.at(k).isArray() && texts.size() == kColumnCount;
            for (const QJsonValue &text : texts)
                allTexts = allTexts && text.isString();
            if (!allTexts) {
                m_list.refuse(lineOf(rowPath), name, "must be an array of eight texts");
                continue;
            }
            ListRow row;
            row.channel = int(k) + 1;
            row.line = lineOf(rowPath);
            for (int c = 0; c < kColumnCount; ++c) {
                const QString text = texts.at(c).toString();
                row.source[std::size_t(c)] = std::string(kGridHeaderTexts[std::size_t(c) + 1]);
                if (c != kRxFrequencyColumn && c != kTxFrequencyColumn) {
                    row.typed[std::size_t(c)] = text.toStdString();
                    continue;
                }
                const FrequencyCell cell = frequencyCell(text, false);
                if (!cell.problem.empty()) {
                    m_list.refuse(row.line, row.source[std::size_t(c)], cell.problem);
                    row.refusedCells = true;
                }
                row.typed[std::size_t(c)] = cell.text;
            }
            m_list.rows.push_back(std::move(row));
        }
    }

    void readSettings(const QJsonValue &value)
    {
        const QString path = QStringLiteral("settings");
        if (!value.isObject()) {
            m_list.refuse(lineOf(path), "settings", "must be an object of setting names and entries");
            return;
        }
        const QJsonObject settings = value.toObject();
        for (auto it = settings.begin(); it != settings.end(); ++it) {
            const int line = lineOf(path + u'/' + it.key());
            const SettingBoxInfo *box = nullptr;
            for (const SettingBoxInfo &candidate : settingBoxes()) {
                if (keyOf(candidate) == it.key())
                    box = &candidate;
            }
            if (!box) {
                m_list.refuse(line, it.key().toStdString(), "unknown setting");
                continue;
            }
            const std::size_t at = static_cast<std::size_t>(box->box);
            m_list.settingLines[at] = line;
            if (it.value().isNull()) {
                m_list.settings[at] = -1;
                continue;
            }
            const QString text = it.value().isDouble() ? QString::number(it.value().toDouble())
                                                       : it.value().toString();
            const std::optional<int> index = it.value().isString() || it.value().isDouble()
                                                 ? entryIndex(box->box, text)
                                                 : std::nullopt;
            if (index)
                m_list.settings[at] = *index;
            else
                m_list.refuse(line, it.key().toStdString(),
                              "'" + text.toStdString() + "' is not one of " + entryList(box->box));
        }
    }

    const QString &m_text;
    ChannelList &m_list;
    QHash<QString, int> m_lines;
};

}  // namespace

QByteArray writeJsonList(const ChannelTable &channels, const BoxSelections &selections)
{
    QJsonArray channelList;
    for (const ChannelTexts &texts : channels) {
        QJsonArray row;
        for (const std::string &text : texts)
            row.append(QString::fromStdString(text));
        channelList.append(row);
    }
    QJsonObject settings;
    for (const SettingBoxInfo &box : settingBoxes()) {
        if (selections[box.box] < 0)
            settings.insert(keyOf(box), QJsonValue::Null);
        else
            settings.insert(keyOf(box), QString::fromStdString(selectionText(box.box, selections[box.box])));
    }
    QJsonObject root;
    root.insert(QStringLiteral("channels"), channelList);
    root.insert(QStringLiteral("settings"), settings);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool looksLikeJson(const QString &text)
{
    for (const QChar c : text) {
        if (!c.isSpace())
            return c == u'{';
    }
    return false;
}

void readJsonList(const QString &text, ChannelList &list)
{
    JsonReader(text, list).read();
}

}  // namespace tavin::lists
