#include <dirent.h>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string_view>

#include "reference_ticks.h"

namespace kestrova::bench {
namespace {

// Vendor and product from the "HID_ID=bus:vendor:product" line.
bool ReadUeventIds(const char* entry, unsigned& vendor, unsigned& product) {
  char path[300];
  std::snprintf(path, sizeof path, "/sys/class/hidraw/%s/device/uevent", entry);
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char text[4096];
  const ssize_t got = read(fd, text, sizeof text - 1);
  close(fd);
  if (got <= 0) return false;
  text[got] = '\0';
  const char* line = std::strstr(text, "HID_ID=");
  unsigned bus = 0;
  return line != nullptr && std::sscanf(line, "HID_ID=%x:%x:%x", &bus, &vendor, &product) == 3;
}

}  // namespace

bool BareTick(std::uint16_t wantedVendor, std::uint16_t wantedProduct) {
  DIR* dir = opendir("/sys/class/hidraw");
  if (dir == nullptr) return false;
  char match[256] = "";
  while (const dirent* entry = readdir(dir)) {
    if (std::string_view(entry->d_name).substr(0, 6) != "hidraw") continue;
    unsigned vendor = 0;
    unsigned product = 0;
    if (!ReadUeventIds(entry->d_name, vendor, product)) continue;
    if (match[0] == '\0' && vendor == wantedVendor && product == wantedProduct) {
      std::snprintf(match, sizeof match, "/dev/%s", entry->d_name);
    }
  }
  closedir(dir);
  if (match[0] == '\0') return false;
  const int fd = open(match, O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  hidraw_devinfo info{};
  int descriptorSize = 0;
  const bool ok = ioctl(fd, HIDIOCGRAWINFO, &info) == 0 && ioctl(fd, HIDIOCGRDESCSIZE, &descriptorSize) == 0;
  close(fd);
  return ok;
}

}  // namespace kestrova::bench
