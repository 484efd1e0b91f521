// The Linux HID port against kestrova-sim on the real kernel: what sysfs and
// hidraw tell about the simulated switch, and what reaches it.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hid/hid_port.h"
#include "hid/platform_port.h"
#include "sim_process.h"
#include "uhid_access.h"

namespace kestrova::e2e {
namespace {

using hid::DeviceIds;
using hid::HidInterface;
using hid::OpenMode;

constexpr DeviceIds kSwitchIds{0x2704, 0x2018};

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (const int value : values) bytes.push_back(static_cast<std::uint8_t>(value));
  return bytes;
}

// The switch with its configuration interface (0) and a keyboard (1) under
// the same IDs, as the real one shows itself.
class HidrawPortOnSimulatedSwitch : public ::testing::Test {
 protected:
  void SetUp() override {
    KESTROVA_REQUIRE_UHID();
    sim_ = std::make_unique<SimProcess>(std::vector<std::string>{"--interface", "vendor", "--interface", "keyboard"});
    nodes_ = sim_->WaitForNodes(2);
    ASSERT_EQ(nodes_.size(), 2u) << "the simulator did not announce its nodes\n" << sim_->Tail(20);
    port_ = hid::MakePlatformPort();
    ASSERT_NE(port_, nullptr);
  }

  void TearDown() override {
    if (HasFailure() && sim_) std::cerr << "last simulator events:\n" << sim_->Tail(30);
  }

  std::optional<HidInterface> Listed(const std::string& node) {
    for (const HidInterface& entry : port_->EnumerateInterfaces()) {
      if (entry.path == node) return entry;
    }
    return std::nullopt;
  }

  std::unique_ptr<SimProcess> sim_;
  std::vector<std::string> nodes_;
  std::unique_ptr<hid::HidPort> port_;
};

TEST_F(HidrawPortOnSimulatedSwitch, ListsBothInterfacesWithTheirIdsAndTellsTheKeyboardApart) {
  const auto vendor = Listed(nodes_[0]);
  const auto keyboard = Listed(nodes_[1]);
  ASSERT_TRUE(vendor.has_value()) << nodes_[0] << " not listed";
  ASSERT_TRUE(keyboard.has_value()) << nodes_[1] << " not listed";
  EXPECT_EQ(vendor->idsWithoutOpening, kSwitchIds);
  EXPECT_EQ(keyboard->idsWithoutOpening, kSwitchIds);
  EXPECT_FALSE(vendor->keyboardOrMouseOnly);
  EXPECT_TRUE(keyboard->keyboardOrMouseOnly);
}

TEST_F(HidrawPortOnSimulatedSwitch, OpenedInterfacesReportTheirIdsAndOutputReportLengths) {
  struct Case {
    std::size_t interface;
    std::uint16_t outputReportLength;  // the report ID byte included
  };
  // Vendor: 8 data bytes; keyboard: one byte of LEDs.
  for (const Case& c : {Case{0, 9}, Case{1, 2}}) {
    SCOPED_TRACE(nodes_[c.interface]);
    hid::DeviceHandle handle = port_->Open(nodes_[c.interface], OpenMode::ReadWrite);
    ASSERT_TRUE(handle.valid());
    EXPECT_EQ(port_->ReadAttributes(handle), std::optional<DeviceIds>(kSwitchIds));
    EXPECT_EQ(port_->ReadOutputReportLength(handle), std::optional<std::uint16_t>(c.outputReportLength));
  }
}

TEST_F(HidrawPortOnSimulatedSwitch, WrittenReportsReachTheDeviceByteForByteAndAreStored) {
  hid::DeviceHandle handle = port_->Open(nodes_[0], OpenMode::ReadWrite);
  ASSERT_TRUE(handle.valid());
  const std::size_t mark = sim_->Mark();
  EXPECT_TRUE(port_->Write(handle, Bytes({0x00, 0xAA, 0x01, 0x00, 0x00, 0x3C, 0x00, 0x00, 0x00})));
  EXPECT_TRUE(port_->Write(handle, Bytes({0x00, 0xAA, 0x02, 0x0C, 0x00, 0x01, 0x00, 0x00, 0x00})));
  // Not a frame (no lead byte): delivered, but the device keeps nothing.
  EXPECT_TRUE(port_->Write(handle, Bytes({0x00, 0x55, 0x01, 0x08, 0x01, 0x02, 0x03, 0x04, 0x00})));

  const std::vector<std::string> records = sim_->DumpRecords();
  EXPECT_EQ(sim_->OutputsOf(0, mark),
            (std::vector<std::string>{"00 AA 01 00 00 3C 00 00 00", "00 AA 02 0C 00 01 00 00 00",
                                      "00 55 01 08 01 02 03 04 00"}));
  EXPECT_TRUE(sim_->OutputsOf(1, mark).empty());
  ASSERT_EQ(records.size(), 32u);
  EXPECT_EQ(records[0], "01 00 3C 00 00");
  EXPECT_EQ(records[2], "00 00 00 00 00");
  EXPECT_EQ(records[3], "02 00 01 00 00");
}

TEST_F(HidrawPortOnSimulatedSwitch, DeviceSeesOneOpenAndItsLastCloseOnlyWhenBothHandlesAreClosed) {
  hid::DeviceHandle writeHandle = port_->Open(nodes_[0], OpenMode::ReadWrite);
  hid::DeviceHandle readHandle = port_->Open(nodes_[0], OpenMode::Overlapped);
  ASSERT_TRUE(writeHandle.valid());
  ASSERT_TRUE(readHandle.valid());
  ASSERT_TRUE(sim_->WaitFor("open 0"));
  const std::size_t mark = sim_->Mark();

  EXPECT_TRUE(writeHandle.Close());
  sim_->DumpRecords();  // the simulator has read all the kernel's events by now
  EXPECT_EQ(sim_->Count("close 0", mark), 0u) << "closed while a handle was still open";

  EXPECT_TRUE(readHandle.Close());
  EXPECT_TRUE(sim_->WaitFor("close 0"));
}

TEST_F(HidrawPortOnSimulatedSwitch, WriteToAnUnpluggedDeviceFailsPromptlyAndItIsNoLongerListed) {
  hid::DeviceHandle handle = port_->Open(nodes_[0], OpenMode::ReadWrite);
  ASSERT_TRUE(handle.valid());
  sim_->Send("unplug");
  ASSERT_TRUE(sim_->WaitFor("unplugged 0"));
  ASSERT_TRUE(sim_->WaitFor("unplugged 1"));

  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(port_->Write(handle, Bytes({0x00, 0xAA, 0x01, 0x00, 0x00, 0x3C, 0x00, 0x00, 0x00})));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_FALSE(Listed(nodes_[0]).has_value());
  EXPECT_FALSE(Listed(nodes_[1]).has_value());
  EXPECT_TRUE(handle.Close());
}

}  // namespace
}  // namespace kestrova::e2e
