#include <gtest/gtest.h>

#include "keys/mouse_buttons.h"

namespace kestrova::keys {
namespace {

TEST(MouseFrame, CarriesFeAndTheButtonBit) {
  EXPECT_EQ(MouseFrameText(1, kMouseButtons[0].code), "aa 02 00 FE 01 00 00");
  EXPECT_EQ(MouseFrameText(4, kMouseButtons[1].code), "aa 02 0C FE 04 00 00");
  EXPECT_EQ(MouseFrameText(2, kMouseButtons[2].code), "aa 02 04 FE 02 00 00");
  EXPECT_EQ(MouseFrameText(0, kMouseButtons[0].code), "aa 02 FC FE 01 00 00");
  EXPECT_FALSE(MouseFrameText(std::numeric_limits<double>::infinity(), 1).has_value());
}

TEST(MouseAssignedMessage, KeepsItsOwnBlanks) {
  EXPECT_EQ(MouseAssignedMessage(1, kMouseButtons[0]), "成功在开关 < 1 > 写入鼠标 < 左键单击 > ");
  EXPECT_EQ(MouseAssignedMessage(2, kMouseButtons[2]), "成功在开关 < 2 > 写入鼠标 < 右键单击 > ");
  EXPECT_EQ(MouseAssignedMessage(4, kMouseButtons[1]), "成功在开关 < 4 > 写入鼠标 < 中键单击 > ");
}

}  // namespace
}  // namespace kestrova::keys
