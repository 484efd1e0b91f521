#include "sim_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <string_view>

namespace kestrova::sim {
namespace {

constexpr const char* kUsage = R"(usage: kestrova-sim [options]

Creates a simulated foot switch on the kernel's uhid interface and prints
what the host sends to it, one line per event:
  plugged I KIND | node I KIND /dev/hidrawN | open I | close I
  output I KIND TYPE BYTES...  | stored SLOT CMD D0 D1 D2 D3 | ignored I
  unplugged I | record SLOT CMD D0 D1 D2 D3 (32 lines, then "records end")
I counts the interfaces from 0 in creation order.

options:
  --vid HEX, --pid HEX    USB IDs (default 2704 and 2018)
  --name TEXT             device name
  --interface KIND[:MODE] add an interface, KIND vendor or keyboard, in this
                          order; MODE (octal) is set on its hidraw node when
                          it appears; default: one vendor interface
  --run-time SECONDS      end after this time (default: run until stopped)
  --schedule ON,OFF       plugged ON ms, unplugged OFF ms, repeatedly
  --cycles N              with --schedule: N unplug/plug rounds, then stay
  --unplug-at-output N    unplug when the Nth output report arrives
  --replug-after MS       with --unplug-at-output: plug in again after MS
  --commands              read commands from standard input:
                          plug, unplug, dump, quit
  --uhid PATH             the uhid device (default /dev/uhid)
  --help

signals: SIGUSR1 unplugs or plugs in again, SIGUSR2 prints the records,
SIGINT and SIGTERM print the records and end.
)";

bool ParseUnsigned(std::string_view text, unsigned long& value, int base = 10) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseHexId(std::string_view text, std::uint16_t& id) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
  unsigned long value = 0;
  if (!ParseUnsigned(text, value, 16) || value > 0xFFFF) return false;
  id = static_cast<std::uint16_t>(value);
  return true;
}

bool ParseMilliseconds(std::string_view text, std::chrono::milliseconds& time) {
  unsigned long value = 0;
  if (!ParseUnsigned(text, value)) return false;
  time = std::chrono::milliseconds(value);
  return true;
}

bool ParseSeconds(const std::string& text, std::chrono::milliseconds& time) {
  std::size_t used = 0;
  double seconds = 0;
  try {
    seconds = std::stod(text, &used);
  } catch (...) {
    return false;
  }
  if (used != text.size() || !(seconds >= 0) || seconds > 1e9) return false;
  time = std::chrono::milliseconds(std::llround(seconds * 1000));
  return true;
}

bool ParseInterface(std::string_view text, InterfaceSpec& spec) {
  const std::size_t colon = text.find(':');
  const std::string_view kind = text.substr(0, colon);
  if (kind == "vendor") {
    spec.kind = InterfaceKind::Vendor;
  } else if (kind == "keyboard") {
    spec.kind = InterfaceKind::Keyboard;
  } else {
    return false;
  }
  if (colon == std::string_view::npos) return true;
  unsigned long mode = 0;
  if (!ParseUnsigned(text.substr(colon + 1), mode, 8) || mode > 07777) return false;
  spec.nodeMode = static_cast<mode_t>(mode);
  return true;
}

ParsedOptions Fail(const std::string& message) {
  return ParsedOptions{std::nullopt, "kestrova-sim: " + message + " (see --help)", 2};
}

}  // namespace

const char* KindName(InterfaceKind kind) { return kind == InterfaceKind::Vendor ? "vendor" : "keyboard"; }

ParsedOptions ParseSimOptions(const std::vector<std::string>& args) {
  SimOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--help" || option == "-h") return ParsedOptions{std::nullopt, kUsage, 0};
    if (option == "--commands") {
      options.commands = true;
      continue;
    }
    static constexpr std::string_view kWithValue[] = {"--vid",         "--pid",       "--name",
                                                      "--uhid",        "--interface", "--run-time",
                                                      "--schedule",    "--cycles",    "--unplug-at-output",
                                                      "--replug-after"};
    if (std::find(std::begin(kWithValue), std::end(kWithValue), option) == std::end(kWithValue)) {
      return Fail("unknown option " + option);
    }
    if (i + 1 >= args.size()) return Fail(option + " needs a value");
    const std::string& value = args[++i];
    bool ok = true;
    if (option == "--vid") {
      ok = ParseHexId(value, options.vendorId);
    } else if (option == "--pid") {
      ok = ParseHexId(value, options.productId);
    } else if (option == "--name") {
      options.name = value;
    } else if (option == "--uhid") {
      options.uhidPath = value;
    } else if (option == "--interface") {
      InterfaceSpec spec;
      ok = ParseInterface(value, spec);
      options.interfaces.push_back(spec);
    } else if (option == "--run-time") {
      std::chrono::milliseconds time{};
      ok = ParseSeconds(value, time);
      options.runTime = time;
    } else if (option == "--schedule") {
      const std::size_t comma = value.find(',');
      std::chrono::milliseconds on{}, off{};
      ok = comma != std::string::npos && ParseMilliseconds(std::string_view(value).substr(0, comma), on) &&
           ParseMilliseconds(std::string_view(value).substr(comma + 1), off) && on.count() > 0;
      options.pluggedTime = on;
      options.unpluggedTime = off;
    } else if (option == "--cycles") {
      unsigned long count = 0;
      ok = ParseUnsigned(value, count) && count <= 1'000'000;
      options.cycles = static_cast<unsigned>(count);
    } else if (option == "--unplug-at-output") {
      unsigned long count = 0;
      ok = ParseUnsigned(value, count) && count > 0 && count <= 1'000'000;
      options.unplugAtOutput = static_cast<unsigned>(count);
    } else if (option == "--replug-after") {
      std::chrono::milliseconds delay{};
      ok = ParseMilliseconds(value, delay);
      options.replugDelay = delay;
    }
    // NOLINTNEXTLINE(performance-inefficient-string-concatenation): built once, on the way out
    if (!ok) return Fail("bad value for " + option + ": " + value);
  }
  if (options.cycles && !options.pluggedTime) return Fail("--cycles needs --schedule");
  if (options.replugDelay && !options.unplugAtOutput) return Fail("--replug-after needs --unplug-at-output");
  if (options.interfaces.empty()) options.interfaces.push_back(InterfaceSpec{});
  return ParsedOptions{options, "", 0};
}

}  // namespace kestrova::sim
