// The window scenarios run as a plain user, as the tool does on a desktop:
// the hidraw nodes it may open are those the scenario grants.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "privileges.h"
#include "uhid_access.h"

int main(int argc, char** argv) {
  // Decided while still root: the simulator runs as root.
  kestrova::e2e::UhidUnavailableReason();
  if (const char* user = std::getenv("KESTROVA_E2E_USER"); user != nullptr && ::geteuid() == 0) {
    const auto id = static_cast<uid_t>(std::strtoul(user, nullptr, 10));
    std::string error;
    if (id == 0 || !kestrova::e2e::DropToUser(id, static_cast<gid_t>(id), error)) {
      std::fprintf(stderr, "window e2e: %s\n", id == 0 ? "KESTROVA_E2E_USER must not be root" : error.c_str());
      return 1;
    }
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
