#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "device_link_fixture.h"

namespace kestrova::hid {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Record = device::SwitchModel::Record;

constexpr const char* kKeyFrame = "aa 01 04 01 3A 00 00";

TEST_F(DeviceLinkTest, BeforeTheDeviceWasEverFoundNothingHappens) {
  footSwitch.PlugInto(port);

  link.WriteFrame(kKeyFrame);

  EXPECT_THAT(port.calls(), IsEmpty());
  EXPECT_THAT(discoveryResults, IsEmpty());
}

TEST_F(DeviceLinkTest, ConnectedWritesOneReportOfTheDeclaredLengthAtOnce) {
  footSwitch.PlugInto(port);
  ASSERT_TRUE(link.FindTheHid());
  port.TakeCalls();

  link.WriteFrame(kKeyFrame);

  EXPECT_THAT(port.TakeCalls(), ElementsAre("write #1 00 AA 01 04 01 3A 00 00 00"));
  EXPECT_EQ(footSwitch.model().record(1), (Record{0x01, 0x3A, 0x00, 0x00}));
  EXPECT_EQ(footSwitch.model().command(1), 0x01);
}

TEST_F(DeviceLinkTest, ConnectedWritesTheLengthTheDeviceDeclares) {
  PlugUnnamed("wide", {0x2704, 0x2018}).outputReportLength = 65;
  ASSERT_TRUE(link.FindTheHid());

  link.WriteFrame(kKeyFrame);
  link.WriteFrame("");

  ASSERT_EQ(port.writes().size(), 2u);
  for (const auto& written : port.writes()) {
    ASSERT_EQ(written.report.size(), 65u);
    EXPECT_EQ(written.report[0], 0x00);
  }
  EXPECT_EQ(port.writes()[0].report[1], 0xAA);
  // An empty frame text is a full report of zeros.
  EXPECT_EQ(std::count(port.writes()[1].report.begin(), port.writes()[1].report.end(), 0), 65);
}

TEST_F(DeviceLinkTest, LostRunsDiscoveryOnceThenWrites) {
  footSwitch.PlugInto(port);
  ASSERT_TRUE(link.FindTheHid());
  footSwitch.UnplugFrom(port);
  ASSERT_FALSE(link.FindTheHid());
  footSwitch.PlugInto(port);
  port.TakeCalls();

  link.WriteFrame(kKeyFrame);

  EXPECT_THAT(port.TakeCalls(),
              ElementsAre("enumerate", "open footswitch/vendor rw #3", "attributes #3", "caps #3",
                          "open footswitch/vendor overlapped #4", "write #3 00 AA 01 04 01 3A 00 00 00"));
  EXPECT_TRUE(link.deviceConnected());
  EXPECT_THAT(discoveryResults, ElementsAre(true, false, true));
  EXPECT_EQ(footSwitch.model().record(1), (Record{0x01, 0x3A, 0x00, 0x00}));
}

TEST_F(DeviceLinkTest, LostAndStillGoneRunsDiscoveryOnceInsteadOfWriting) {
  footSwitch.PlugInto(port);
  ASSERT_TRUE(link.FindTheHid());
  footSwitch.UnplugFrom(port);
  ASSERT_FALSE(link.FindTheHid());
  port.TakeCalls();

  // As the clearing command does: 32 frames back to back.
  for (int slot = 0; slot < 32; ++slot) {
    link.WriteFrame("AA 01 00 FF FF FF FF");
    ASSERT_THAT(port.TakeCalls(), ElementsAre("enumerate")) << "frame " << slot;
  }
  EXPECT_TRUE(port.writes().empty());
  EXPECT_FALSE(link.deviceConnected());
  EXPECT_TRUE(link.deviceFoundOnce());
}

TEST_F(DeviceLinkTest, UnpluggedBeforeTheNextTickTheWriteFailsSilently) {
  footSwitch.PlugInto(port);
  ASSERT_TRUE(link.FindTheHid());
  footSwitch.UnplugFrom(port);
  port.TakeCalls();

  link.WriteFrame(kKeyFrame);

  EXPECT_THAT(port.TakeCalls(), ElementsAre("write #1 00 AA 01 04 01 3A 00 00 00"));
  EXPECT_EQ(footSwitch.model().record(1), (Record{}));
  EXPECT_TRUE(link.deviceConnected());
  EXPECT_FALSE(link.FindTheHid());
}

TEST_F(DeviceLinkTest, RefusedWriteLeavesTheConnectionAsItWas) {
  footSwitch.PlugInto(port);
  ASSERT_TRUE(link.FindTheHid());
  port.interfaceAt(footSwitch.vendorPath()).writesFail = true;

  link.WriteFrame(kKeyFrame);

  EXPECT_EQ(port.writes().size(), 1u);
  EXPECT_TRUE(link.deviceConnected());
  EXPECT_EQ(footSwitch.model().record(1), (Record{}));
}

TEST_F(DeviceLinkTest, DeviceWithoutOutputReportGetsNothing) {
  PlugUnnamed("input-only", {0x2704, 0x2018}).outputReportLength = 0;
  ASSERT_TRUE(link.FindTheHid());
  ASSERT_EQ(link.outputReportLength(), 0);
  port.TakeCalls();

  link.WriteFrame(kKeyFrame);

  EXPECT_THAT(port.calls(), IsEmpty());
}

TEST_F(DeviceLinkTest, CapabilitiesNeverReadMeanNothingToWrite) {
  PlugUnnamed("no-caps", {0x2704, 0x2018}).outputReportLength = std::nullopt;
  ASSERT_TRUE(link.FindTheHid());
  port.TakeCalls();

  link.WriteFrame(kKeyFrame);

  EXPECT_THAT(port.calls(), IsEmpty());
}

TEST_F(DeviceLinkTest, ConnectedWithoutAWriteHandleWritesNothing) {
  port.Plug({.path = "dead", .openFailure = OpenFailure::Other});
  link.SetWantedIds("0", "0");
  ASSERT_TRUE(link.FindTheHid());
  port.TakeCalls();

  link.WriteFrame(kKeyFrame);

  EXPECT_THAT(port.calls(), IsEmpty());
}

TEST_F(DeviceLinkTest, AfterUnloadTheClosedHandleIsNotWrittenTo) {
  footSwitch.PlugInto(port);
  ASSERT_TRUE(link.FindTheHid());
  link.CloseHidHandle();
  link.CloseReadHandle();
  port.TakeCalls();

  link.WriteFrame(kKeyFrame);

  EXPECT_THAT(port.calls(), IsEmpty());
}

}  // namespace
}  // namespace kestrova::hid
