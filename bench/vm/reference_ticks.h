#pragma once

#include <cstdint>

namespace kestrova::bench {

// The two discovery ticks ours is measured against. Both look for the
// vendor and product ID and return true when they opened a match.

// The least a tick can do on Linux: list /sys/class/hidraw, read the uevent
// of each entry, open the first match, two ioctls (raw info and descriptor
// size), close.
bool BareTick(std::uint16_t vendor, std::uint16_t product);

// What a program built on the common HID library does: hid_enumerate for
// the IDs, hid_open_path of the first match, close, free the list. Call
// HidLibraryInit once first.
bool HidLibraryInit();
bool HidLibraryTick(std::uint16_t vendor, std::uint16_t product);
void HidLibraryExit();

}  // namespace kestrova::bench
