#include "KnownChips.h"

namespace tavin::doctor {

namespace {

constexpr KnownChip kChips[] = {
    {0x1a86, 0x7523, "WCH CH340", "ch341"},
    {0x1a86, 0x5523, "WCH CH341", "ch341"},
    {0x067b, 0x2303, "Prolific PL2303", "pl2303"},
    {0x067b, 0x23a3, "Prolific PL2303GC", "pl2303"},
    {0x10c4, 0xea60, "Silicon Labs CP210x", "cp210x"},
    {0x0403, 0x6001, "FTDI FT232R", "ftdi_sio"},
    {0x0403, 0x6015, "FTDI FT-X", "ftdi_sio"},
};

constexpr unsigned kWchVendor = 0x1a86;

}  // namespace

std::span<const KnownChip> knownChips()
{
    return kChips;
}

const KnownChip *findKnownChip(unsigned vendorId, unsigned productId)
{
    for (const KnownChip &chip : kChips) {
        if (chip.vendorId == vendorId && chip.productId == productId)
            return &chip;
    }
    return nullptr;
}

bool isWchChip(unsigned vendorId, unsigned productId)
{
    const KnownChip *chip = findKnownChip(vendorId, productId);
    return chip && chip->vendorId == kWchVendor;
}

QString usbIdText(unsigned vendorId, unsigned productId)
{
    return QStringLiteral("%1:%2").arg(vendorId, 4, 16, QLatin1Char('0')).arg(productId, 4, 16, QLatin1Char('0'));
}

}  // namespace tavin::doctor
