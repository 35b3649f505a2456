#include "ListFormat.h"

namespace tavin::lists {

QString formatName(ListFormat format)
{
    switch (format) {
    case ListFormat::Native: return QStringLiteral("native");
    case ListFormat::Interchange: return QStringLiteral("interchange");
    case ListFormat::Json: return QStringLiteral("json");
    }
    return {};
}

std::optional<ListFormat> formatFromName(const QString &name)
{
    for (ListFormat format : {ListFormat::Native, ListFormat::Interchange, ListFormat::Json}) {
        if (name.compare(formatName(format), Qt::CaseInsensitive) == 0)
            return format;
    }
    return std::nullopt;
}

}  // namespace tavin::lists
