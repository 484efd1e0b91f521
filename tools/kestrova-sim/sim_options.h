#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrova::sim {

enum class InterfaceKind {
  Vendor,    // the foot switch's configuration interface: 8-byte output report
  Keyboard,  // a boot keyboard, as the switch shows itself to play its keys
};

struct InterfaceSpec {
  InterfaceKind kind = InterfaceKind::Vendor;
  // Applied to the interface's hidraw node once it appears (needs the right
  // to change the node, normally root); nullopt leaves the node as it is.
  std::optional<mode_t> nodeMode;
};

struct SimOptions {
  std::uint16_t vendorId = 0x2704;
  std::uint16_t productId = 0x2018;
  std::string name = "Kestrova foot switch (simulated)";
  std::string uhidPath = "/dev/uhid";
  // In creation order; one vendor interface when none is given.
  std::vector<InterfaceSpec> interfaces;

  // End after this long; none: until a signal or the quit command.
  std::optional<std::chrono::milliseconds> runTime;
  // Plug and unplug by themselves: plugged for pluggedTime, then unplugged
  // for unpluggedTime, for `cycles` rounds (none: for ever).
  std::optional<std::chrono::milliseconds> pluggedTime;
  std::chrono::milliseconds unpluggedTime{0};
  std::optional<unsigned> cycles;
  // Unplug as soon as the nth output report (counted from 1) arrives, and
  // plug in again after replugDelay when one is given.
  std::optional<unsigned> unplugAtOutput;
  std::optional<std::chrono::milliseconds> replugDelay;
  // Read line commands from standard input.
  bool commands = false;
};

struct ParsedOptions {
  std::optional<SimOptions> options;  // none: print `message` and exit
  std::string message;
  int exitCode = 0;
};

ParsedOptions ParseSimOptions(const std::vector<std::string>& args);

const char* KindName(InterfaceKind kind);

}  // namespace kestrova::sim
