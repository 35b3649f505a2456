// "*.sin" channel files: exactly the 1024 image bytes in offset order.
#pragma once

#include "FileResult.h"
#include "RadioImage.h"

#include <filesystem>
#include <string>

namespace tavin {

inline constexpr std::string_view kChannelFileExtension = ".sin";

// What a load found: the bytes read, up to kLongerThanImage. The file is read
// for what it delivers, not for the size the system reports, so devices,
// pipes and files that change while being read are judged alike.
inline constexpr std::size_t kLongerThanImage = kImageSize + 1;

// Loads a channel file into image.
// - cannot open or read: fails, image unchanged;
// - empty file: succeeds, image unchanged;
// - 1 to 1023 bytes: fails, image reset to a new document with presetOnShortFile;
// - 1024 or more: the first 1024 bytes, the rest ignored.
// *bytesRead (when given) receives 0 to 1024 for what the file held, or
// kLongerThanImage when it held more than 1024 bytes; 0 when it failed.
FileResult loadChannelFile(const std::filesystem::path &path, RadioImage &image,
                           HiddenPreset presetOnShortFile = HiddenPreset::Uhf, std::size_t *bytesRead = nullptr);

// Stores the 1024 bytes through replaceFileContents (SafeReplace.h): a failed
// save leaves the old file as it was.
FileResult storeChannelFile(const std::filesystem::path &path, const RadioImage &image);

}  // namespace tavin
