// kestrova-bench-tick: one discovery tick on the real kernel, three ways,
// interleaved in one run so they see the same machine:
//   ours    DeviceLink::FindTheHid over the Linux hidraw port, the link
//           living across ticks as in the window
//   hidapi  hid_enumerate + hid_open_path of the first match + close + free
//   bare    list /sys/class/hidraw, read each uevent, open the match, two
//           ioctls, close
// Prints one "BENCH tick ..." line per way and one "BENCH tick-ratio ..." line.
//
//   kestrova-bench-tick --device connected|absent [--rounds R] [--ticks K]
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "hid/device_link.h"
#include "hid/linux/hidraw_port.h"
#include "reference_ticks.h"

namespace {

using kestrova::hid::DeviceLink;
using kestrova::hid::HidrawPort;

constexpr std::uint16_t kVendor = 0x2704;
constexpr std::uint16_t kProduct = 0x2018;

std::int64_t Nanoseconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

// One way of ticking. A block of ticks starts from nothing, as a program
// that runs alone: `begin` before the block (untimed), `end` after it.
struct Way {
  std::string name;
  std::function<void()> begin;
  std::function<bool()> tick;
  std::function<void()> end;
  std::vector<double> wallMicroseconds;
  std::vector<double> cpuMicroseconds;
  unsigned wrongResults = 0;
};

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(std::lround(fraction * static_cast<double>(values.size() - 1)));
  return values[index];
}

std::size_t HidrawCount() {
  std::error_code error;
  std::size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/sys/class/hidraw", error)) {
    (void)entry;
    ++count;
  }
  return count;
}

struct Options {
  bool deviceConnected = true;
  unsigned rounds = 20;
  unsigned ticksPerBlock = 10;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view option = argv[i];
    const std::string_view value = argv[i + 1];
    if (option == "--device" && (value == "connected" || value == "absent")) {
      options.deviceConnected = value == "connected";
    } else if (option == "--rounds") {
      options.rounds = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
    } else if (option == "--ticks") {
      options.ticksPerBlock = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && options.rounds > 0 && options.ticksPerBlock > 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs("usage: kestrova-bench-tick --device connected|absent [--rounds R] [--ticks K]\n", stderr);
    return 2;
  }
  if (!kestrova::bench::HidLibraryInit()) {
    std::fputs("kestrova-bench-tick: hid_init failed\n", stderr);
    return 1;
  }

  std::unique_ptr<HidrawPort> port;
  std::unique_ptr<DeviceLink> link;
  std::vector<Way> ways;
  ways.push_back({"ours",
                  [&] {
                    port = std::make_unique<HidrawPort>();
                    link = std::make_unique<DeviceLink>(*port, nullptr);
                    link->SetWantedIds("2704", "2018");
                    link->FindTheHid();  // connects; the timed ticks then find it again
                  },
                  [&] { return link->FindTheHid(); },
                  [&] {
                    link.reset();
                    port.reset();
                  },
                  {},
                  {},
                  0});
  ways.push_back(
      {"hidapi", [] {}, [] { return kestrova::bench::HidLibraryTick(kVendor, kProduct); }, [] {}, {}, {}, 0});
  ways.push_back({"bare", [] {}, [] { return kestrova::bench::BareTick(kVendor, kProduct); }, [] {}, {}, {}, 0});

  for (unsigned round = 0; round < options.rounds; ++round) {
    // A different way goes first each round, so none always runs on a cold cache.
    for (std::size_t k = 0; k < ways.size(); ++k) {
      Way& way = ways[(round + k) % ways.size()];
      way.begin();
      for (unsigned t = 0; t < options.ticksPerBlock; ++t) {
        const std::int64_t wall0 = Nanoseconds(CLOCK_MONOTONIC);
        const std::int64_t cpu0 = Nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
        const bool found = way.tick();
        const std::int64_t cpu1 = Nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
        const std::int64_t wall1 = Nanoseconds(CLOCK_MONOTONIC);
        way.wallMicroseconds.push_back(static_cast<double>(wall1 - wall0) / 1000.0);
        way.cpuMicroseconds.push_back(static_cast<double>(cpu1 - cpu0) / 1000.0);
        if (found != options.deviceConnected) ++way.wrongResults;
      }
      way.end();
    }
  }
  kestrova::bench::HidLibraryExit();

  const std::size_t interfaces = HidrawCount();
  const char* device = options.deviceConnected ? "connected" : "absent";
  double median[3] = {};
  double p10[3] = {};
  unsigned wrong = 0;
  for (std::size_t i = 0; i < ways.size(); ++i) {
    const Way& way = ways[i];
    median[i] = Percentile(way.wallMicroseconds, 0.5);
    p10[i] = Percentile(way.wallMicroseconds, 0.1);
    wrong += way.wrongResults;
    std::printf(
        "BENCH tick interfaces=%zu device=%s way=%s ticks=%zu median_us=%.1f p10_us=%.1f p90_us=%.1f "
        "cpu_median_us=%.1f wrong_results=%u\n",
        interfaces, device, way.name.c_str(), way.wallMicroseconds.size(), median[i],
        Percentile(way.wallMicroseconds, 0.1), Percentile(way.wallMicroseconds, 0.9),
        Percentile(way.cpuMicroseconds, 0.5), way.wrongResults);
  }
  // The tenth percentile too: on a busy host the medians carry the waits of
  // an emulated machine for its turn on a real processor.
  std::printf(
      "BENCH tick-ratio interfaces=%zu device=%s hidapi_over_ours=%.2f ours_over_bare=%.2f "
      "p10_hidapi_over_ours=%.2f p10_ours_over_bare=%.2f\n",
      interfaces, device, median[1] / median[0], median[0] / median[2], p10[1] / p10[0], p10[0] / p10[2]);
  return wrong == 0 ? 0 : 1;
}
