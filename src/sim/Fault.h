// The ways the virtual radio can misbehave, one at a time, chosen on its
// command line. Blocks are counted from 0: block N is the one at address 8 * N.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavin::sim {

struct Fault {
    enum class Kind {
        None,
        Silent,         // never answers anything
        Stray1,         // one stray 0x55 before the probe ACK
        Stray2,         // two stray bytes before the probe ACK
        StxShort,       // 3 identity bytes instead of 8
        StxLong,        // 12 bytes instead of 8
        StxNone,        // no answer to STX
        NoConfirmAck,   // no ACK to the confirmation byte
        ReadReply9,     // the reply to read block N has 9 bytes
        ReadReply10,    // ... 10 bytes
        ReadReply11,    // ... 11 bytes
        NoReadAck,      // no ACK after the program acknowledges read block N
        NoWriteAck,     // write block N is neither acknowledged nor stored
        HangUp,         // silent from block N on, until the next probe
        BadStore,       // write block N is acknowledged but stored with one bit wrong
    };

    Kind kind = Kind::None;
    int block = 0;  // N, for the kinds that name a block

    bool is(Kind k) const { return kind == k; }
    // True when this fault is of kind k and names the block at address.
    bool atBlock(Kind k, std::uint16_t address) const;
    std::string text() const;  // as written on the command line
};

// "silent", "stray1", ..., "read-reply-9:N", "no-write-ack:N", "hangup:N".
// nullopt for anything else (unknown name, missing or bad block number,
// a block beyond the 128 the radio has).
std::optional<Fault> parseFault(std::string_view text);

// The names accepted, for the help text.
std::string faultNames();

}  // namespace tavin::sim
