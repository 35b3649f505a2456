// A channel list into a channel file: the list's form is read (native CSV,
// interchange CSV or JSON, told apart by content), the band is settled, every
// row goes through the editor's rules (ChannelEntry.h), and only when nothing
// is refused are the named channels and the given settings written over the
// base image. Channels the list does not name keep the base's bytes.
#pragma once

#include "ChannelList.h"
#include "ListFormat.h"
#include "RadioImage.h"

#include <QByteArray>

#include <optional>
#include <string>
#include <vector>

namespace tavin {
class ToneTable;
}

namespace tavin::lists {

struct ImportOptions {
    // The band box selection the frequencies are checked against; unset to
    // take JSON's band, else the base's band when it holds every imported
    // frequency, else the first band that does.
    std::optional<int> band;
};

struct ImportOutcome {
    std::optional<ListFormat> format;  // unset when the content is no list
    RadioImage image;                  // the result; the base when refused
    std::vector<ListProblem> problems;  // all of them, by line; empty when accepted
    std::vector<std::string> notices;   // said on the side
    bool refused() const { return !problems.empty(); }
};

// Reads the list's form only, without the editor's rules.
ChannelList readChannelList(const QByteArray &bytes, const ToneTable &tones, std::optional<ListFormat> *format);

ImportOutcome importChannelList(const QByteArray &bytes, const RadioImage &base, const ImportOptions &options,
                                const ToneTable &tones);

// Larger inputs are refused before they are read.
inline constexpr qsizetype kLargestListFile = 4 * 1024 * 1024;

}  // namespace tavin::lists
