#include "hid/platform_port.h"

#include "hid/linux/hidraw_port.h"

namespace kestrova::hid {

std::unique_ptr<HidPort> MakePlatformPort() { return std::make_unique<HidrawPort>(); }

}  // namespace kestrova::hid
