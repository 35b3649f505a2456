#include "ChannelFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tavin {

namespace {

// Platform seam: opening a file by its native path name, and flushing a
// written file to the disk before it replaces the old one.
std::FILE *openFile(const std::filesystem::path &path, bool forWriting)
{
#if defined(_WIN32)
    return _wfopen(path.c_str(), forWriting ? L"wb" : L"rb");
#else
    return std::fopen(path.c_str(), forWriting ? "wb" : "rb");
#endif
}

bool syncToDisk(std::FILE *file)
{
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

std::string describe(const std::filesystem::path &path)
{
    const std::u8string name = path.u8string();
    return "'" + std::string(name.begin(), name.end()) + "'";
}

std::string systemError(int error)
{
    return std::error_code(error, std::generic_category()).message();
}

struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

FileResult loadChannelFile(const std::filesystem::path &path, RadioImage &image, HiddenPreset presetOnShortFile)
{
    errno = 0;
    FileHandle file(openFile(path, false));
    if (!file)
        return FileResult::failure("cannot open channel file " + describe(path) + ": " + systemError(errno));

    RadioImage::Bytes buffer{};
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
    if (std::ferror(file.get()))
        return FileResult::failure("cannot read channel file " + describe(path) + ": " + systemError(errno));
    if (got == 0)
        return FileResult::success();  // an empty file leaves the image as it was
    if (got < buffer.size()) {
        image.resetToNewDocument(presetOnShortFile);
        return FileResult::failure("channel file " + describe(path) + " is " + std::to_string(got) +
                                   " bytes long; a channel file holds " + std::to_string(kImageSize) + " bytes");
    }
    image.bytes() = buffer;
    return FileResult::success();
}

FileResult storeChannelFile(const std::filesystem::path &path, const RadioImage &image)
{
    // Write a temporary file beside the target, then rename it over the old
    // one: a failure anywhere leaves the old file as it was.
    std::random_device random;
    std::filesystem::path temporary = path;
    temporary += ".tmp" + std::to_string(random() % 1000000);

    const auto fail = [&](const std::string &what, int error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return FileResult::failure("cannot save channel file " + describe(path) + ": " + what +
                                   (error ? ": " + systemError(error) : std::string()));
    };

    errno = 0;
    FileHandle file(openFile(temporary, true));
    if (!file)
        return FileResult::failure("cannot save channel file " + describe(path) + ": cannot create " +
                                   describe(temporary) + ": " + systemError(errno));
    const std::size_t written = std::fwrite(image.data(), 1, kImageSize, file.get());
    if (written != kImageSize || std::fflush(file.get()) != 0)
        return fail("wrote " + std::to_string(written) + " of " + std::to_string(kImageSize) + " bytes", errno);
    if (!syncToDisk(file.get()))
        return fail("cannot flush the data to the disk", errno);
    if (std::fclose(file.release()) != 0)
        return fail("cannot close the file", errno);

    std::error_code ec;
    const std::filesystem::file_status old = std::filesystem::status(path, ec);
    if (!ec && std::filesystem::exists(old))
        std::filesystem::permissions(temporary, old.permissions(), ec);
    std::filesystem::rename(temporary, path, ec);
    if (ec)
        return fail("cannot replace the file: " + ec.message(), 0);
    return FileResult::success();
}

}  // namespace tavin
