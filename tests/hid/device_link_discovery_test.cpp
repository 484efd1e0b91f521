#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device_link_fixture.h"

namespace kestrova::hid {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr DeviceIds kSwitchIds{0x2704, 0x2018};

TEST_F(DeviceLinkTest, FirstRunOpensBothHandlesAndReadsTheReportLength) {
  PlugUnnamed("hid-0", kSwitchIds);

  EXPECT_TRUE(link.FindTheHid());

  EXPECT_THAT(port.TakeCalls(),
              ElementsAre("enumerate", "open hid-0 rw #1", "attributes #1", "caps #1", "open hid-0 overlapped #2"));
  EXPECT_TRUE(link.deviceConnected());
  EXPECT_TRUE(link.deviceFoundOnce());
  EXPECT_EQ(link.interfacePath(), "hid-0");
  EXPECT_EQ(link.outputReportLength(), 9);
  EXPECT_EQ(link.hidHandle().native(), 1);
  EXPECT_EQ(link.readHandle().native(), 2);
  EXPECT_THAT(discoveryResults, ElementsAre(true));
}

TEST_F(DeviceLinkTest, FirstMatchingInterfaceWinsAndOthersAreClosedAtOnce) {
  PlugUnnamed("mouse", {0x046D, 0xC077});
  PlugUnnamed("switch-a", kSwitchIds).outputReportLength = 9;
  PlugUnnamed("switch-b", kSwitchIds).outputReportLength = 65;

  EXPECT_TRUE(link.FindTheHid());

  EXPECT_THAT(port.TakeCalls(),
              ElementsAre("enumerate", "open mouse rw #1", "attributes #1", "close #1", "open switch-a rw #2",
                          "attributes #2", "caps #2", "open switch-a overlapped #3"));
  EXPECT_EQ(link.interfacePath(), "switch-a");
  EXPECT_EQ(link.outputReportLength(), 9);
}

TEST_F(DeviceLinkTest, InterfaceThatDoesNotOpenOrReadCountsAsZeroAndIsPassedOver) {
  PlugUnnamed("busy", kSwitchIds).openFailure = OpenFailure::Other;
  PlugUnnamed("mute", kSwitchIds).attributesReadable = false;
  PlugUnnamed("good", kSwitchIds);

  EXPECT_TRUE(link.FindTheHid());

  EXPECT_THAT(port.TakeCalls(),
              ElementsAre("enumerate", "open busy rw failed", "open mute rw #1", "attributes #1", "close #1",
                          "open good rw #2", "attributes #2", "caps #2", "open good overlapped #3"));
  EXPECT_EQ(link.interfacePath(), "good");
}

TEST_F(DeviceLinkTest, NothingPresentMeansNotFound) {
  EXPECT_FALSE(link.FindTheHid());

  EXPECT_THAT(port.TakeCalls(), ElementsAre("enumerate"));
  EXPECT_FALSE(link.deviceConnected());
  EXPECT_FALSE(link.deviceFoundOnce());
  EXPECT_FALSE(link.hidHandleOpen());
  EXPECT_THAT(discoveryResults, ElementsAre(false));
}

TEST_F(DeviceLinkTest, EditedIdsLoseTheDeviceAtTheNextRunAndCloseItsPair) {
  footSwitch.PlugInto(port);
  ASSERT_TRUE(link.FindTheHid());
  port.TakeCalls();

  link.SetWantedIds("2704", "2019");
  EXPECT_FALSE(link.FindTheHid());

  // The system names the IDs, so the switch is not even opened.
  EXPECT_THAT(port.TakeCalls(), ElementsAre("enumerate", "close #1", "close #2"));
  EXPECT_FALSE(link.deviceConnected());
  EXPECT_TRUE(link.deviceFoundOnce());
  EXPECT_EQ(port.openHandleCount(), 0u);
  EXPECT_THAT(discoveryResults, ElementsAre(true, false));

  link.SetWantedIds("2704", "2018");
  EXPECT_TRUE(link.FindTheHid());
}

TEST_F(DeviceLinkTest, FollowsUnplugAndReplug) {
  footSwitch.PlugInto(port);
  ASSERT_TRUE(link.FindTheHid());

  footSwitch.UnplugFrom(port);
  EXPECT_FALSE(link.FindTheHid());
  EXPECT_FALSE(link.deviceConnected());
  EXPECT_TRUE(link.deviceFoundOnce());
  EXPECT_FALSE(link.hidHandleOpen());
  EXPECT_FALSE(link.readHandleOpen());
  EXPECT_EQ(port.openHandleCount(), 0u);

  footSwitch.PlugInto(port);
  port.TakeCalls();
  EXPECT_TRUE(link.FindTheHid());
  EXPECT_THAT(port.TakeCalls(), ElementsAre("enumerate", "open footswitch/vendor rw #3", "attributes #3", "caps #3",
                                            "open footswitch/vendor overlapped #4"));
  EXPECT_TRUE(link.deviceConnected());
  EXPECT_THAT(discoveryResults, ElementsAre(true, false, true));
}

TEST_F(DeviceLinkTest, StayingConnectedOpensTheNewPairBeforeClosingTheOld) {
  footSwitch.PlugInto(port);
  ASSERT_TRUE(link.FindTheHid());
  port.TakeCalls();

  ASSERT_TRUE(link.FindTheHid());

  EXPECT_THAT(port.TakeCalls(), ElementsAre("enumerate", "open footswitch/vendor rw #3", "attributes #3", "caps #3",
                                            "open footswitch/vendor overlapped #4", "close #1", "close #2"));
  EXPECT_EQ(link.hidHandle().native(), 3);
  EXPECT_EQ(link.readHandle().native(), 4);
}

TEST_F(DeviceLinkTest, ManyTicksWithPluggingKeepAtMostOnePairOpen) {
  PlugUnnamed("unnamed-other", {0x1111, 0x2222});
  bool plugged = false;
  for (int tick = 1; tick <= 2000; ++tick) {
    // Unplugged for a few ticks now and then, as a user would.
    const bool shouldBePlugged = tick % 50 < 45;
    if (shouldBePlugged != plugged) {
      if (shouldBePlugged)
        footSwitch.PlugInto(port);
      else
        footSwitch.UnplugFrom(port);
      plugged = shouldBePlugged;
    }
    ASSERT_EQ(link.FindTheHid(), plugged) << "tick " << tick;
    // The unnamed interface is only open while its IDs are read.
    ASSERT_EQ(port.openHandleCount(), plugged ? 2u : 0u) << "tick " << tick;
  }
  EXPECT_THAT(port.misuse(), IsEmpty());
}

TEST_F(DeviceLinkTest, OtherDevicesWhoseIdsAreKnownAreNeverOpened) {
  PlugOtherDevice("keyboard", {0x046D, 0xC31C});
  PlugOtherDevice("same-vendor", {0x2704, 0x0001});
  PlugOtherDevice("same-product", {0x0001, 0x2018});
  footSwitch.PlugInto(port);

  EXPECT_TRUE(link.FindTheHid());

  EXPECT_THAT(port.TakeCalls(), ElementsAre("enumerate", "open footswitch/vendor rw #1", "attributes #1", "caps #1",
                                            "open footswitch/vendor overlapped #2"));
}

TEST_F(DeviceLinkTest, KnownIdsAreStillCheckedByOpening) {
  // The name the system gives is a hint; the attributes decide.
  port.Plug({.path = "liar", .ids = {0x1234, 0x5678}, .idsWithoutOpening = kSwitchIds});
  footSwitch.PlugInto(port);

  EXPECT_TRUE(link.FindTheHid());

  EXPECT_THAT(port.calls(), Contains("close #1"));
  EXPECT_EQ(link.interfacePath(), footSwitch.vendorPath());
}

TEST_F(DeviceLinkTest, KeyboardInterfaceOfTheSwitchIsSkippedForItsVendorInterface) {
  footSwitch.PlugInto(port);

  EXPECT_TRUE(link.FindTheHid());

  EXPECT_THAT(port.calls(), Not(Contains(HasSubstr(footSwitch.keyboardPath()))));
  EXPECT_EQ(link.interfacePath(), footSwitch.vendorPath());
  EXPECT_EQ(link.outputReportLength(), testing::SimulatedFootSwitch::kOutputReportLength);
}

TEST_F(DeviceLinkTest, UnreadableCapabilitiesKeepTheLengthReadBefore) {
  footSwitch.PlugInto(port);
  ASSERT_TRUE(link.FindTheHid());
  ASSERT_EQ(link.outputReportLength(), 9);

  port.interfaceAt(footSwitch.vendorPath()).outputReportLength = std::nullopt;
  EXPECT_TRUE(link.FindTheHid());
  EXPECT_EQ(link.outputReportLength(), 9);

  port.interfaceAt(footSwitch.vendorPath()).outputReportLength = 33;
  EXPECT_TRUE(link.FindTheHid());
  EXPECT_EQ(link.outputReportLength(), 33);
}

TEST_F(DeviceLinkTest, FailedReadHandleOpenStillConnects) {
  footSwitch.PlugInto(port);
  ASSERT_TRUE(link.FindTheHid());
  port.interfaceAt(footSwitch.vendorPath()).overlappedOpenFailure = OpenFailure::Other;
  port.TakeCalls();

  // Nothing reads through the second handle, so its loss goes unnoticed; the
  // read handle it replaces is closed all the same.
  EXPECT_TRUE(link.FindTheHid());
  EXPECT_THAT(port.TakeCalls(), ElementsAre("enumerate", "open footswitch/vendor rw #3", "attributes #3", "caps #3",
                                            "open footswitch/vendor overlapped failed", "close #1", "close #2"));
  EXPECT_TRUE(link.hidHandleOpen());
  EXPECT_FALSE(link.readHandleOpen());
}

TEST_F(DeviceLinkTest, IdTextsThatNameNoIdMatchNothingAndOpenNothing) {
  PlugUnnamed("unnamed", {0, 0});
  PlugUnnamed("unopenable", kSwitchIds).openFailure = OpenFailure::Other;
  footSwitch.PlugInto(port);

  for (const auto& [vendor, product] :
       {std::pair{"", ""}, std::pair{"12704", "2018"}, std::pair{"2704", "zz"}, std::pair{"0", ""}}) {
    link.SetWantedIds(vendor, product);
    port.TakeCalls();
    EXPECT_FALSE(link.FindTheHid()) << vendor << " / " << product;
    EXPECT_THAT(port.TakeCalls(), ElementsAre("enumerate")) << vendor << " / " << product;
  }
  // And the next tick with good IDs finds the device as ever.
  link.SetWantedIds("2704", "2018");
  EXPECT_TRUE(link.FindTheHid());
}

TEST_F(DeviceLinkTest, BothIdsZeroOpenEveryCandidateAndTakeTheFirstReadingZero) {
  PlugOtherDevice("named-other", {0x1234, 0x5678});
  PlugUnnamed("zero-ids", {0, 0});
  PlugUnnamed("after", {0, 0});
  link.SetWantedIds("0", "0000");

  EXPECT_TRUE(link.FindTheHid());

  EXPECT_THAT(port.TakeCalls(),
              ElementsAre("enumerate", "open named-other rw #1", "attributes #1", "close #1", "open zero-ids rw #2",
                          "attributes #2", "caps #2", "open zero-ids overlapped #3"));
  EXPECT_EQ(link.hidHandle().native(), 2);
}

// Connected to the switch through an unnamed interface listed first, which
// then stops opening while the wanted IDs become 0 / 0.
class FallbackTest : public DeviceLinkTest {
 protected:
  void SetUp() override {
    PlugUnnamed("flaky", {0x1111, 0x2222});
    footSwitch.PlugInto(port);
    ASSERT_TRUE(link.FindTheHid());
    ASSERT_EQ(link.hidHandle().native(), 2);
    port.interfaceAt("flaky").openFailure = OpenFailure::Other;
    link.SetWantedIds("0", "0");
    port.TakeCalls();
  }
};

TEST_F(FallbackTest, UnopenableMatchKeepsTheLastGoodWriteHandle) {
  EXPECT_TRUE(link.FindTheHid());

  // The write handle of the earlier match stays open and in use; the read
  // handle is replaced by the failed second open.
  EXPECT_THAT(port.TakeCalls(),
              ElementsAre("enumerate", "open flaky rw failed", "open flaky overlapped failed", "close #3"));
  EXPECT_TRUE(link.deviceConnected());
  EXPECT_EQ(link.interfacePath(), "flaky");
  EXPECT_EQ(link.hidHandle().native(), 2);
  EXPECT_EQ(link.outputReportLength(), 9);
  EXPECT_THAT(discoveryResults, ElementsAre(true, true));

  link.WriteFrame("aa 01 08 00 04 00 00");
  EXPECT_EQ(footSwitch.model().record(2), (device::SwitchModel::Record{0x00, 0x04, 0x00, 0x00}));
}

TEST_F(FallbackTest, LostAfterwardsClosesTheKeptHandleOnce) {
  ASSERT_TRUE(link.FindTheHid());
  footSwitch.UnplugFrom(port);
  port.Unplug("flaky");
  port.TakeCalls();

  EXPECT_FALSE(link.FindTheHid());

  EXPECT_THAT(port.TakeCalls(), ElementsAre("enumerate", "close #2"));
  EXPECT_EQ(port.openHandleCount(), 0u);
}

TEST_F(DeviceLinkTest, BothIdsZeroWithNoEarlierGoodHandleConnectWithoutAWriteHandle) {
  port.Plug({.path = "keyboard-only", .ids = {0x046D, 0xC31C}, .keyboardOrMouseOnly = true});
  link.SetWantedIds("0", "0");

  EXPECT_TRUE(link.FindTheHid());

  // Treated as an interface that does not open: never opened at all.
  EXPECT_THAT(port.TakeCalls(), ElementsAre("enumerate"));
  EXPECT_TRUE(link.deviceConnected());
  EXPECT_FALSE(link.hidHandleOpen());
  EXPECT_FALSE(link.readHandleOpen());
  EXPECT_EQ(link.outputReportLength(), 0);
}

TEST_F(DeviceLinkTest, RecordsWhenTheWantedDeviceRefusedToOpen) {
  footSwitch.PlugInto(port);
  auto& denied = port.interfaceAt(footSwitch.vendorPath());
  denied.openFailure = OpenFailure::AccessDenied;

  EXPECT_FALSE(link.FindTheHid());
  EXPECT_TRUE(link.accessDeniedThisRun());

  denied.openFailure = OpenFailure::None;
  EXPECT_TRUE(link.FindTheHid());
  EXPECT_FALSE(link.accessDeniedThisRun());
}

TEST_F(DeviceLinkTest, RefusalsOfOtherInterfacesAreNotTheWantedDevicesOwn) {
  PlugOtherDevice("other", {0x1234, 0x5678}).openFailure = OpenFailure::AccessDenied;
  PlugUnnamed("unnamed", kSwitchIds).openFailure = OpenFailure::AccessDenied;
  PlugOtherDevice("broken-switch", kSwitchIds).openFailure = OpenFailure::Other;

  EXPECT_FALSE(link.FindTheHid());
  EXPECT_FALSE(link.accessDeniedThisRun());
}

TEST_F(DeviceLinkTest, UnloadClosesThePairOnceAndNothingWhenNeverConnected) {
  link.CloseHidHandle();
  link.CloseReadHandle();
  EXPECT_THAT(port.TakeCalls(), IsEmpty());

  footSwitch.PlugInto(port);
  ASSERT_TRUE(link.FindTheHid());
  port.TakeCalls();
  link.CloseHidHandle();
  link.CloseReadHandle();
  link.CloseHidHandle();
  link.CloseReadHandle();
  EXPECT_THAT(port.TakeCalls(), ElementsAre("close #1", "close #2"));
}

}  // namespace
}  // namespace kestrova::hid
