#include <hidapi/hidapi.h>

#include "reference_ticks.h"

namespace kestrova::bench {

bool HidLibraryInit() { return hid_init() == 0; }

bool HidLibraryTick(std::uint16_t vendor, std::uint16_t product) {
  hid_device_info* found = hid_enumerate(vendor, product);
  bool opened = false;
  if (found != nullptr) {
    if (hid_device* device = hid_open_path(found->path)) {
      opened = true;
      hid_close(device);
    }
  }
  hid_free_enumeration(found);
  return opened;
}

void HidLibraryExit() { hid_exit(); }

}  // namespace kestrova::bench
