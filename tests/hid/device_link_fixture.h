#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_hid_port.h"
#include "hid/device_link.h"
#include "simulated_foot_switch.h"

namespace kestrova::hid {

// A device link over a fake port, with the start-up IDs "2704" / "2018".
// Every test ends by unloading (closing both handles) and checking that no
// handle was left open, closed twice or used after its close.
class DeviceLinkTest : public ::testing::Test {
 protected:
  DeviceLinkTest() { link.SetWantedIds("2704", "2018"); }

  void TearDown() override {
    link.CloseHidHandle();
    link.CloseReadHandle();
    EXPECT_EQ(port.openHandleCount(), 0u);
    EXPECT_THAT(port.misuse(), ::testing::IsEmpty());
  }

  // An interface of some other device that the system names the IDs of.
  testing::FakeInterface& PlugOtherDevice(const std::string& path, DeviceIds ids) {
    return port.Plug({.path = path, .ids = ids, .idsWithoutOpening = ids});
  }

  // An interface whose IDs can only be learnt by opening it.
  testing::FakeInterface& PlugUnnamed(const std::string& path, DeviceIds ids) {
    return port.Plug({.path = path, .ids = ids});
  }

  testing::FakeHidPort port;
  testing::SimulatedFootSwitch footSwitch;
  std::vector<bool> discoveryResults;
  DeviceLink link{port, [this](bool found) { discoveryResults.push_back(found); }};
};

}  // namespace kestrova::hid
