// "*.sin" channel files: exactly the 1024 image bytes in offset order.
#pragma once

#include "FileResult.h"
#include "RadioImage.h"

#include <filesystem>
#include <string>

namespace tavin {

inline constexpr std::string_view kChannelFileExtension = ".sin";

// Loads a channel file into image.
// - cannot open: fails, image unchanged;
// - empty file: succeeds, image unchanged;
// - 1 to 1023 bytes: fails, image reset to a new document with presetOnShortFile;
// - 1024 or more: the first 1024 bytes, the rest ignored.
FileResult loadChannelFile(const std::filesystem::path &path, RadioImage &image,
                           HiddenPreset presetOnShortFile = HiddenPreset::Uhf);

// Stores the 1024 bytes through replaceFileContents (SafeReplace.h): a failed
// save leaves the old file as it was.
FileResult storeChannelFile(const std::filesystem::path &path, const RadioImage &image);

}  // namespace tavin
