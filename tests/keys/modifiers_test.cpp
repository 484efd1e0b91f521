#include "keys/modifiers.h"

#include <gtest/gtest.h>

namespace kestrova::keys {
namespace {

std::array<ColourValue, 8> AllOff() {
  std::array<ColourValue, 8> colours{};
  colours.fill(kButtonFaceColour);
  return colours;
}

TEST(ModifierMask, OnlyExactGreenCountsAsOn) {
  auto colours = AllOff();
  EXPECT_EQ(ModifierMaskFromColours(colours), 0x00);
  colours[4] = kToggleOnColour;  // right Ctrl
  EXPECT_EQ(ModifierMaskFromColours(colours), 0x10);
  colours[3] = kToggleOnColour;  // left Win
  EXPECT_EQ(ModifierMaskFromColours(colours), 0x18);
  colours[0] = 0x008000;  // a darker green is not on
  colours[1] = 0x00FF01;
  EXPECT_EQ(ModifierMaskFromColours(colours), 0x18);
  colours.fill(kToggleOnColour);
  EXPECT_EQ(ModifierMaskFromColours(colours), 0xFF);
}

TEST(ToggledColour, TurnsButtonFaceOnAndAnythingElseOff) {
  EXPECT_EQ(ToggledColour(kButtonFaceColour), kToggleOnColour);
  EXPECT_EQ(ToggledColour(kToggleOnColour), kButtonFaceColour);
  EXPECT_EQ(ToggledColour(0x0000FF), kButtonFaceColour);
  EXPECT_EQ(ToggledColour(ToggledColour(kButtonFaceColour)), kButtonFaceColour);
}

TEST(ModifierLogText, NamesAltBeforeShiftOnBothSides) {
  struct Case {
    std::uint8_t mask;
    const char* text;
  };
  const Case cases[] = {
      {0x00, ""},
      {0x01, "Ctrl + "},
      {0x06, "Alt + Shift + "},
      {0x11, "Ctrl + Ctrl_R + "},
      {0x60, "Alt_R + Shift_R + "},
      {0xFF, "Ctrl + Alt + Shift + Win + Ctrl_R + Alt_R + Shift_R + Win_R + "},
  };
  for (const Case& c : cases) EXPECT_EQ(ModifierLogText(c.mask), c.text) << int{c.mask};
}

}  // namespace
}  // namespace kestrova::keys
