#include "ListFile.h"

#include "ChannelListImport.h"
#include "SafeReplace.h"

#include <cerrno>
#include <fstream>

namespace tavin::lists {

FileResult readListFile(const std::filesystem::path &path, QByteArray *bytes)
{
    const std::string prefix = "cannot read channel list " + quotedPath(path) + ": ";
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return FileResult::failure(prefix + "it is a folder");
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (in) {
        bytes->resize(kLargestListFile + 1);
        in.read(bytes->data(), bytes->size());
        bytes->resize(qsizetype(in.gcount()));
        if (!in.bad())
            return FileResult::success();
    }
    return FileResult::failure(prefix + (errno != 0 ? systemErrorText(errno) : std::string("it cannot be read")));
}

}  // namespace tavin::lists
