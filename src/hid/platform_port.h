#pragma once

#include <memory>

#include "hid/hid_port.h"

namespace kestrova::hid {

// The HID port of the operating system this was built for. Each backend
// defines it; the build picks the backend.
std::unique_ptr<HidPort> MakePlatformPort();

}  // namespace kestrova::hid
