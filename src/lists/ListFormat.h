// The three forms a channel list takes in files.
#pragma once

#include <QString>

#include <optional>

namespace tavin::lists {

enum class ListFormat {
    Native,       // the grid's headers and texts, CSV
    Interchange,  // the 21-column layout of other programming tools, CSV
    Json,         // the dump --json document, the only one with settings
};

// "native", "interchange", "json" and back.
QString formatName(ListFormat format);
std::optional<ListFormat> formatFromName(const QString &name);

}  // namespace tavin::lists
