// The USB-serial chips of programming cables: their USB ids, names and the
// kernel driver that makes a serial port of them. The udev rule installed
// with the program lists the same ids.
#pragma once

#include <QString>

#include <span>

namespace tavin::doctor {

struct KnownChip {
    unsigned vendorId;
    unsigned productId;
    const char *name;    // "WCH CH340"
    const char *module;  // the kernel module: "ch341"
};

std::span<const KnownChip> knownChips();

// The chip with these ids, or nullptr.
const KnownChip *findKnownChip(unsigned vendorId, unsigned productId);

// True for the WCH chips that the braille daemon brltty takes for a display.
bool isWchChip(unsigned vendorId, unsigned productId);

// "1a86:7523"
QString usbIdText(unsigned vendorId, unsigned productId);

}  // namespace tavin::doctor
