#include "uhid_access.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kestrova::e2e {

const std::optional<std::string>& UhidUnavailableReason() {
  static const std::optional<std::string> reason = []() -> std::optional<std::string> {
    if (::access("/dev/uhid", R_OK | W_OK) == 0) return std::nullopt;
    return std::string("/dev/uhid is not usable here (") + std::strerror(errno) +
           "): these tests need to create HID devices";
  }();
  return reason;
}

bool UhidRequired() {
  const char* value = std::getenv("KESTROVA_E2E_REQUIRED");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

}  // namespace kestrova::e2e
