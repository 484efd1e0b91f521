// The window's whole life, twice: over the fake port with the simulated
// foot switch coming and going, and over the real Linux backend on a fake
// sysfs tree. Fails when a descriptor or a device handle is left open; run
// under valgrind or LeakSanitizer it also fails on leaked memory.
#include <QApplication>
#include <cstdio>
#include <string>

#include "fake_hid_port.h"
#include "fake_sysfs_tree.h"
#include "fd_snapshot.h"
#include "hid/linux/hidraw_port.h"
#include "simulated_foot_switch.h"
#include "window_run.h"

namespace {

using kestrova::leak::DescribeNewDescriptors;
using kestrova::leak::TakeFdSnapshot;

constexpr std::size_t kTicks = 300;
// Long enough for a few commands on each side of a plug or unplug.
constexpr std::size_t kTicksPerPlugState = 40;

bool Plugged(std::size_t tick) { return (tick / kTicksPerPlugState) % 2 == 1; }

bool CheckDescriptors(const char* run, const kestrova::leak::FdSnapshot& before) {
  const std::string leaked = DescribeNewDescriptors(before, TakeFdSnapshot());
  if (leaked.empty()) return true;
  std::fprintf(stderr, "%s: descriptors left open:\n%s", run, leaked.c_str());
  return false;
}

bool RunOverFakePort() {
  const auto before = TakeFdSnapshot();
  kestrova::testing::FakeHidPort port;
  kestrova::testing::SimulatedFootSwitch footSwitch;
  bool plugged = false;
  const auto counts = kestrova::leak::RunWindowLife(port, kTicks, [&](std::size_t tick) {
    if (Plugged(tick) == plugged) return;
    plugged = !plugged;
    if (plugged) {
      footSwitch.PlugInto(port);
    } else {
      footSwitch.UnplugFrom(port);
    }
  });
  bool ok = CheckDescriptors("fake port", before);
  if (port.openHandleCount() != 0) {
    std::fprintf(stderr, "fake port: %zu device handles left open\n", port.openHandleCount());
    ok = false;
  }
  for (const std::string& misuse : port.misuse()) {
    std::fprintf(stderr, "fake port: handle misuse: %s\n", misuse.c_str());
    ok = false;
  }
  std::printf("fake port: %zu ticks, %zu commands, %zu handles opened, %zu reports written\n", counts.ticks,
              counts.commands, port.handlesOpenedSoFar(), port.writes().size());
  return ok;
}

bool RunOverHidrawBackend() {
  const auto before = TakeFdSnapshot();
  bool ok = true;
  {
    kestrova::leak::FakeSysfsTree tree;
    // Another device that is always there, and the wanted one coming and going.
    tree.Plug(0, "0003:0000046D:0000C52B");
    kestrova::hid::HidrawPort port(tree.locations());
    bool plugged = false;
    const auto counts = kestrova::leak::RunWindowLife(port, kTicks, [&](std::size_t tick) {
      if (Plugged(tick) == plugged) return;
      plugged = !plugged;
      if (plugged) {
        tree.Plug(3, "0003:00002704:00002018");
      } else {
        tree.Unplug(3);
      }
    });
    std::printf("hidraw backend: %zu ticks, %zu commands\n", counts.ticks, counts.commands);
  }
  ok = CheckDescriptors("hidraw backend", before) && ok;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The event dispatcher opens its wake-up descriptors on the first pass of
  // the event loop and keeps them for the application's life.
  QCoreApplication::processEvents();
  const bool fakeOk = RunOverFakePort();
  const bool hidrawOk = RunOverHidrawBackend();
  if (!fakeOk || !hidrawOk) {
    std::fprintf(stderr, "leak check: FAILED\n");
    return 1;
  }
  std::printf("leak check: no descriptors or device handles left open\n");
  return 0;
}
