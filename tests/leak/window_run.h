#pragma once

#include <cstddef>
#include <functional>

#include "hid/hid_port.h"

namespace kestrova::leak {

struct WindowRunCounts {
  std::size_t ticks = 0;
  std::size_t commands = 0;
};

// Called before every discovery tick with its number, so the caller can
// plug and unplug its device.
using BeforeTick = std::function<void(std::size_t tick)>;

// The window's whole life over `port`: start-up, `ticks` discovery ticks,
// every command a few times along the way (the clear command both answered
// and refused, the frame box with offending text), then unload and
// destruction. Ticks are driven directly rather than by the 350 ms timer.
WindowRunCounts RunWindowLife(hid::HidPort& port, std::size_t ticks, const BeforeTick& beforeTick);

}  // namespace kestrova::leak
