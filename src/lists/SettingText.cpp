#include "SettingText.h"

namespace tavin::lists {

namespace {

QString comparable(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (!c.isSpace())
            out += c.toUpper();
    }
    return out;
}

}  // namespace

std::optional<int> entryIndex(SettingBox box, const QString &text)
{
    const QString wanted = comparable(text);
    const std::vector<std::string> &entries = settingBox(box).entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (comparable(QString::fromStdString(entries[i])) == wanted)
            return int(i);
    }
    return std::nullopt;
}

std::string entryList(SettingBox box)
{
    std::string out;
    for (const std::string &entry : settingBox(box).entries)
        out += (out.empty() ? "" : ", ") + entry;
    return out;
}

}  // namespace tavin::lists
