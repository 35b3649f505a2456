#include "Fault.h"

#include <array>
#include <charconv>

namespace tavin::sim {

namespace {

constexpr int kBlockCount = 128;
constexpr std::uint16_t kBlockBytes = 8;

struct FaultName {
    std::string_view name;
    Fault::Kind kind;
    bool takesBlock;
};

constexpr std::array<FaultName, 14> kNames{{
    {"silent", Fault::Kind::Silent, false},
    {"stray1", Fault::Kind::Stray1, false},
    {"stray2", Fault::Kind::Stray2, false},
    {"stx-short", Fault::Kind::StxShort, false},
    {"stx-long", Fault::Kind::StxLong, false},
    {"stx-none", Fault::Kind::StxNone, false},
    {"no-confirm-ack", Fault::Kind::NoConfirmAck, false},
    {"read-reply-9", Fault::Kind::ReadReply9, true},
    {"read-reply-10", Fault::Kind::ReadReply10, true},
    {"read-reply-11", Fault::Kind::ReadReply11, true},
    {"no-read-ack", Fault::Kind::NoReadAck, true},
    {"no-write-ack", Fault::Kind::NoWriteAck, true},
    {"hangup", Fault::Kind::HangUp, true},
    {"bad-store", Fault::Kind::BadStore, true},
}};

}  // namespace

bool Fault::atBlock(Kind k, std::uint16_t address) const
{
    return kind == k && address == block * kBlockBytes;
}

std::string Fault::text() const
{
    for (const FaultName &n : kNames) {
        if (n.kind == kind)
            return n.takesBlock ? std::string(n.name) + ':' + std::to_string(block) : std::string(n.name);
    }
    return "none";
}

std::optional<Fault> parseFault(std::string_view text)
{
    const std::size_t colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    for (const FaultName &n : kNames) {
        if (n.name != name)
            continue;
        if (!n.takesBlock)
            return colon == std::string_view::npos ? std::optional<Fault>(Fault{n.kind, 0}) : std::nullopt;
        if (colon == std::string_view::npos)
            return std::nullopt;
        const std::string_view digits = text.substr(colon + 1);
        int block = -1;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), block);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || block < 0
            || block >= kBlockCount)
            return std::nullopt;
        return Fault{n.kind, block};
    }
    return std::nullopt;
}

std::string faultNames()
{
    std::string names;
    for (const FaultName &n : kNames) {
        if (!names.empty())
            names += ", ";
        names += n.name;
        if (n.takesBlock)
            names += ":N";
    }
    return names;
}

}  // namespace tavin::sim
