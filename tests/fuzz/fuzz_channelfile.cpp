// Arbitrary bytes as a channel file: loading, decoding, encoding and the
// frequency and tone text conversions must never crash or misbehave.

#include "ChannelFile.h"
#include "Codec.h"
#include "Frequency.h"
#include "NewDocument.h"
#include "ToneTable.h"

#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::string path = "/tmp/tavin-fuzz-" + std::to_string(getpid()) + ".sin";
    if (std::FILE *f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    tavin::RadioImage image;
    const tavin::FileResult loaded = tavin::loadChannelFile(path, image);
    unlink(path.c_str());
    if (loaded && size > 0 && size < tavin::kImageSize)
        __builtin_trap();  // a short file must never load

    tavin::ChannelTable channels;
    tavin::BoxSelections selections = tavin::initialFormSelections();
    tavin::decodeImage(image, channels, selections);
    tavin::encodeImage(channels, selections, image);

    // The same bytes as typed texts.
    const std::string text(reinterpret_cast<const char *>(data), size);
    tavin::frequencyCountFromText(text);
    tavin::encodeToneText(text);
    return 0;
}
