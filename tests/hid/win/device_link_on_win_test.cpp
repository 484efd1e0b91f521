// Discovery over the real Windows port: finding a present HID device by its
// IDs, losing it when other IDs are wanted, and giving every handle back.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "hid/device_link.h"
#include "hid/win/win_hid_port.h"
#include "pipe_server.h"

namespace kestrova::hid::win {
namespace {

struct PresentDevice {
  std::string path;
  DeviceIds ids;
  std::uint16_t outputReportLength = 0;
};

// The first interface that opens for reading and writing and reads as HID:
// the one discovery must settle on when its IDs are wanted.
std::optional<PresentDevice> FirstOpenableDevice(WinHidPort& port) {
  for (const HidInterface& candidate : port.EnumerateInterfaces()) {
    DeviceHandle handle = port.Open(candidate.path, OpenMode::ReadWrite);
    const auto ids = port.ReadAttributes(handle);
    const auto length = port.ReadOutputReportLength(handle);
    if (ids && length) return PresentDevice{candidate.path, *ids, *length};
  }
  return std::nullopt;
}

std::string Hex(std::uint16_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(id));
  return text;
}

TEST(DeviceLinkOnWinHidPort, FindsAPresentDeviceByItsIdsAndGivesEveryHandleBack) {
  WinHidPort port;
  const std::optional<PresentDevice> device = FirstOpenableDevice(port);
  if (!device) {
    if (std::getenv("KESTROVA_EXPECT_HID") != nullptr) FAIL() << "no HID interface opens";
    GTEST_SKIP() << "no HID interface here opens for reading and writing";
  }
  const DWORD handlesBefore = OpenHandleCount();
  {
    std::vector<bool> runs;
    DeviceLink link(port, [&runs](bool found) { runs.push_back(found); });
    link.SetWantedIds(Hex(device->ids.vendor), Hex(device->ids.product));
    EXPECT_TRUE(link.FindTheHid());
    EXPECT_EQ(link.interfacePath(), device->path);
    EXPECT_TRUE(link.hidHandleOpen());
    EXPECT_TRUE(link.readHandleOpen());
    EXPECT_EQ(link.outputReportLength(), device->outputReportLength);
    // Found again while connected: the pair is replaced, not added to.
    EXPECT_TRUE(link.FindTheHid());
    const DWORD handlesConnected = OpenHandleCount();
    EXPECT_EQ(handlesConnected, handlesBefore + 2);

    link.SetWantedIds(Hex(static_cast<std::uint16_t>(device->ids.vendor ^ 0x5A5A)),
                      Hex(static_cast<std::uint16_t>(device->ids.product ^ 0xA5A5)));
    EXPECT_FALSE(link.FindTheHid());
    EXPECT_FALSE(link.deviceConnected());
    EXPECT_TRUE(link.deviceFoundOnce());
    EXPECT_EQ(runs, (std::vector<bool>{true, true, false}));
  }
  EXPECT_EQ(OpenHandleCount(), handlesBefore);
}

}  // namespace
}  // namespace kestrova::hid::win
