#pragma once

#include <optional>
#include <string>

namespace kestrova::e2e {

// Why the simulator cannot create devices here, or nullopt when it can.
// Decided at the first call: make that call before giving up root.
const std::optional<std::string>& UhidUnavailableReason();

// Set (KESTROVA_E2E_REQUIRED=1) in the test machine, where a missing uhid
// is a failure; elsewhere the device tests skip.
bool UhidRequired();

}  // namespace kestrova::e2e

// In a fixture's SetUp: skip, or fail where uhid is required, when the
// simulator cannot run.
#define KESTROVA_REQUIRE_UHID()                                       \
  do {                                                                \
    if (const auto& why = ::kestrova::e2e::UhidUnavailableReason()) { \
      if (::kestrova::e2e::UhidRequired()) FAIL() << *why;            \
      GTEST_SKIP() << *why;                                           \
    }                                                                 \
  } while (false)
