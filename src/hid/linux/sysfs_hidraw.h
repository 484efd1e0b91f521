#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "hid/hid_port.h"

namespace kestrova::hid::linux_hidraw {

// The N of a directory entry named exactly "hidrawN" (decimal, no sign, no
// leading zero, fits an unsigned int); nullopt for any other name.
std::optional<unsigned> HidrawNumber(std::string_view entryName);

// The hidraw numbers listed in a sysfs class directory, ascending, so
// hidraw2 comes before hidraw10. Empty when the directory cannot be read.
std::vector<unsigned> ListHidrawNumbers(int classDirFd);

// Vendor and product from the "HID_ID=bus:vendor:product" line (hexadecimal
// fields) of a HID device's uevent text; nullopt when the line is missing or
// does not have that exact shape, or an ID does not fit 16 bits.
std::optional<DeviceIds> ParseHidIdLine(std::string_view ueventText);

// Reads at most buffer.size() bytes of the file at `relativePath` under the
// directory `dirFd` (closing it again on every path); the number of bytes
// read, nullopt when it cannot be opened or read.
std::optional<std::size_t> ReadSmallFile(int dirFd, const char* relativePath, std::span<std::uint8_t> buffer);

}  // namespace kestrova::hid::linux_hidraw
