#include "hidraw_node.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace kestrova::sim {

std::optional<std::string> FindHidrawNode(const std::string& uniq, const std::string& sysfsClassDir,
                                          const std::string& devDir) {
  namespace fs = std::filesystem;
  std::error_code error;
  const std::string wanted = "HID_UNIQ=" + uniq;
  for (const fs::directory_entry& entry : fs::directory_iterator(sysfsClassDir, error)) {
    std::ifstream uevent(entry.path() / "device" / "uevent");
    std::string line;
    bool matches = false;
    while (std::getline(uevent, line)) {
      if (line == wanted) {
        matches = true;
        break;
      }
    }
    if (!matches) continue;
    const fs::path node = fs::path(devDir) / entry.path().filename();
    // The sysfs entry can show up a moment before the device node.
    if (fs::exists(node, error)) return node.string();
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace kestrova::sim
