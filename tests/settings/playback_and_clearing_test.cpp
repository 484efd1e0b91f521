#include <gtest/gtest.h>

#include "settings/clearing.h"
#include "settings/playback.h"

namespace kestrova::settings {
namespace {

TEST(PlaybackFrame, CombinesPowerOnRunAndPlayMode) {
  EXPECT_EQ(PlaybackFrameText(true, true), "AA 01 7C 79 01 00 00");
  EXPECT_EQ(PlaybackFrameText(true, false), "AA 01 7C 79 00 00 00");
  EXPECT_EQ(PlaybackFrameText(false, true), "AA 01 7C 00 01 00 00");
  EXPECT_EQ(PlaybackFrameText(false, false), "AA 01 7C 00 00 00 00");
}

TEST(ClearFrame, AddressesEveryRecordInUpperCase) {
  EXPECT_EQ(ClearFrameText(0), "AA 01 00 FF FF FF FF");
  EXPECT_EQ(ClearFrameText(3), "AA 01 0C FF FF FF FF");
  EXPECT_EQ(ClearFrameText(30), "AA 01 78 FF FF FF FF");
  EXPECT_EQ(ClearFrameText(kRecordCount - 1), "AA 01 7C FF FF FF FF");
}

}  // namespace
}  // namespace kestrova::settings
