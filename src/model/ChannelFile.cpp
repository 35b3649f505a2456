#include "ChannelFile.h"

#include "SafeReplace.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace tavin {

namespace {

// Platform seam: opening a file by its native path name.
std::FILE *openFile(const std::filesystem::path &path)
{
#if defined(_WIN32)
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

std::string describe(const std::filesystem::path &path) { return quotedPath(path); }

std::string systemError(int error) { return systemErrorText(error); }

struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

FileResult loadChannelFile(const std::filesystem::path &path, RadioImage &image, HiddenPreset presetOnShortFile,
                           std::size_t *bytesRead)
{
    if (bytesRead)
        *bytesRead = 0;
    errno = 0;
    FileHandle file(openFile(path));
    if (!file)
        return FileResult::failure("cannot open channel file " + describe(path) + ": " + systemError(errno));

    // One byte more than an image, to tell a longer file from an exact one.
    std::array<std::uint8_t, kLongerThanImage> buffer{};
    errno = 0;
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
    if (std::ferror(file.get()))
        return FileResult::failure("cannot read channel file " + describe(path) + ": " + systemError(errno));
    if (bytesRead)
        *bytesRead = got;
    if (got == 0)
        return FileResult::success();  // an empty file leaves the image as it was
    if (got < kImageSize) {
        image.resetToNewDocument(presetOnShortFile);
        return FileResult::failure("channel file " + describe(path) + " is " + std::to_string(got) +
                                   " bytes long; a channel file holds " + std::to_string(kImageSize) + " bytes");
    }
    std::copy_n(buffer.begin(), kImageSize, image.bytes().begin());
    return FileResult::success();
}

FileResult storeChannelFile(const std::filesystem::path &path, const RadioImage &image)
{
    return replaceFileContents(path, std::string_view(reinterpret_cast<const char *>(image.data()), kImageSize),
                               "channel file");
}

}  // namespace tavin
