#include "ReadBackups.h"

#include "NativePath.h"
#include "SafeReplace.h"

#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tavin::link {

namespace fs = std::filesystem;

namespace {
const QString kPrefix = QStringLiteral("radio-");
const QString kSuffix = QStringLiteral(".sin");
// Reads within one second beyond this many are not kept apart any more.
constexpr int kMaxSameSecond = 1000;

// "20260101-101010" < "20260101-101010-2" < "20260101-101011"
bool olderName(const QString &a, const QString &b)
{
    const QString sa = a.chopped(kSuffix.size()).mid(kPrefix.size());
    const QString sb = b.chopped(kSuffix.size()).mid(kPrefix.size());
    if (sa.left(15) != sb.left(15))
        return sa.left(15) < sb.left(15);
    return sa.mid(16).toInt() < sb.mid(16).toInt();
}
}  // namespace

QString ReadBackups::defaultFolder()
{
    return platform::fromQtPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)) +
           QStringLiteral("/radio-backups");
}

QString ReadBackups::store(const RadioImage &image, const QDateTime &when)
{
    const fs::path folder = platform::toNative(m_folder);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        return {};
    // The C locale's digits, whatever the user's language.
    const QString stamp = when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    // Another program storing a read in the same second gets the next name
    // instead of overwriting this one.
    const auto nameFor = [&](int n) {
        return folder / platform::toNative(kPrefix + stamp + (n > 1 ? QLatin1Char('-') + QString::number(n) : QString())
                                           + kSuffix);
    };
    fs::path stored;
    const std::string_view bytes(reinterpret_cast<const char *>(image.data()), kImageSize);
    if (!storeUnderNewName(nameFor, kMaxSameSecond, bytes, "backup", &stored))
        return {};
    prune();
    return platform::fromNative(stored);
}

void ReadBackups::prune()
{
    const fs::path folder = platform::toNative(m_folder);
    QStringList names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const QString name = platform::fromNative(it->path().filename());
        if (name.startsWith(kPrefix) && name.endsWith(kSuffix) && it->is_regular_file(ec))
            names.append(name);
    }
    std::sort(names.begin(), names.end(), olderName);
    while (names.size() > kKept)
        fs::remove(folder / platform::toNative(names.takeFirst()), ec);
}

}  // namespace tavin::link
