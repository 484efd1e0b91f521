// One discovery run (DeviceLink::FindTheHid) with 1 to 128 HID interfaces
// present, over the in-memory lean port (DeviceLink alone) and over the test
// fake (which logs every call, as the tests need).
#include <benchmark/benchmark.h>

#include <cstddef>
#include <memory>
#include <string>

#include "bench_registry.h"
#include "fake_hid_port.h"
#include "hid/device_link.h"
#include "lean_hid_port.h"

namespace kestrova::bench {
namespace {

constexpr hid::DeviceIds kFootSwitch{0x2704, 0x2018};

// How the system lists the interfaces: Linux names the IDs of each one from
// sysfs, so the others are passed over unopened; a system that only gives
// paths makes discovery open every interface to read its IDs.
enum class Listing { IdsListed, PathsOnly };
// Where the foot switch is: not plugged in, or the last interface listed
// (the most work a run that finds it can do).
enum class Placement { Absent, Last };

struct Scenario {
  const char* name;
  Listing listing;
  Placement placement;
};

constexpr Scenario kScenarios[] = {
    {"ids_listed/device_absent", Listing::IdsListed, Placement::Absent},
    {"ids_listed/device_last", Listing::IdsListed, Placement::Last},
    {"paths_only/device_absent", Listing::PathsOnly, Placement::Absent},
    {"paths_only/device_last", Listing::PathsOnly, Placement::Last},
};

struct InterfaceSpec {
  std::string path;
  hid::DeviceIds ids;
  bool idsListed;
};

// Interface i of a crowd of n: other devices, then the foot switch if placed.
InterfaceSpec Interface(std::size_t i, std::size_t n, const Scenario& scenario) {
  const bool isFootSwitch = scenario.placement == Placement::Last && i + 1 == n;
  const hid::DeviceIds ids =
      isFootSwitch ? kFootSwitch : hid::DeviceIds{static_cast<std::uint16_t>(0x1000 + i), 0x0001};
  return {"/dev/hidraw" + std::to_string(i), ids, scenario.listing == Listing::IdsListed};
}

void PlugInto(LeanHidPort& port, const InterfaceSpec& spec) {
  LeanHidPort::Scripted scripted;
  scripted.listed.path = spec.path;
  if (spec.idsListed) scripted.listed.idsWithoutOpening = spec.ids;
  scripted.ids = spec.ids;
  port.Plug(std::move(scripted));
}

void PlugInto(testing::FakeHidPort& port, const InterfaceSpec& spec) {
  testing::FakeInterface scripted;
  scripted.path = spec.path;
  scripted.ids = spec.ids;
  if (spec.idsListed) scripted.idsWithoutOpening = spec.ids;
  port.Plug(std::move(scripted));
}

std::size_t OpensSoFar(const LeanHidPort& port) { return port.opensSoFar(); }
std::size_t OpensSoFar(const testing::FakeHidPort& port) { return port.handlesOpenedSoFar(); }

// The port and a link over it, as the window holds them: the link lives
// across runs, so a connected device keeps its pair of handles between them.
template <typename Port>
struct Rig {
  Rig(std::size_t n, const Scenario& scenario) {
    for (std::size_t i = 0; i < n; ++i) PlugInto(port, Interface(i, n, scenario));
    link.SetWantedIds("2704", "2018");
    link.FindTheHid();  // a connected device is then connected before the first timed run
  }
  Port port;
  hid::DeviceLink link{port, nullptr};
};

template <typename Port>
void FindTheHidRun(benchmark::State& state, const Scenario& scenario) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const bool expectFound = scenario.placement == Placement::Last;
  auto rig = std::make_unique<Rig<Port>>(n, scenario);
  // The test fake keeps a log of every call and every handle it closed;
  // starting afresh now and then keeps that from growing without bound.
  constexpr std::size_t kRunsPerRig = 1024;
  std::size_t runs = 0;
  for ([[maybe_unused]] auto _ : state) {
    const bool found = rig->link.FindTheHid();
    benchmark::DoNotOptimize(found);
    if (found != expectFound) {
      state.SkipWithError("discovery gave the wrong result");
      break;
    }
    if (++runs % kRunsPerRig == 0) {
      state.PauseTiming();
      rig = std::make_unique<Rig<Port>>(n, scenario);
      state.ResumeTiming();
    }
  }
  const std::size_t opensBefore = OpensSoFar(rig->port);
  rig->link.FindTheHid();
  state.counters["opens_per_run"] = static_cast<double>(OpensSoFar(rig->port) - opensBefore);
  state.SetComplexityN(state.range(0));
}

void Register() {
  for (const Scenario& scenario : kScenarios) {
    const auto add = [&](const std::string& portName, auto run) {
      benchmark::RegisterBenchmark(("FindTheHid/" + portName + "/" + scenario.name).c_str(), run, scenario)
          ->Arg(1)
          ->Arg(8)
          ->Arg(32)
          ->Arg(128)
          ->Complexity(benchmark::oN)
          ->Unit(benchmark::kMicrosecond);
    };
    add("lean_port", FindTheHidRun<LeanHidPort>);
    add("test_fake", FindTheHidRun<testing::FakeHidPort>);
  }
}

const Registration kRegistration{Register};

}  // namespace
}  // namespace kestrova::bench
