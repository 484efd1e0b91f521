#include "keys/key_frame.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

#include "app/numeric_value.h"

namespace kestrova::keys {
namespace {

struct FrameCase {
  const char* switchText;
  std::uint8_t mask;
  KeyCodeValue code;
  const char* frame;
};
void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.frame; }

class KeyFrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(KeyFrameTest, ComposesSlotModifiersAndKey) {
  const FrameCase& c = GetParam();
  EXPECT_EQ(KeyFrameText(NumericValue(c.switchText), c.mask, c.code), c.frame) << '"' << c.switchText << '"';
}

INSTANTIATE_TEST_SUITE_P(Frames, KeyFrameTest,
                         ::testing::Values(FrameCase{"1", 0x00, 0.0, "aa 01 00 00 00 00 00"},
                                           FrameCase{"2", 0x03, std::string("58"), "aa 01 04 03 3A 00 00"},
                                           FrameCase{"2", 0x83, 0.0, "aa 01 04 83 00 00 00"},
                                           FrameCase{"3", 0x00, std::string("4"), "aa 01 08 00 04 00 00"},
                                           FrameCase{"4", 0xFF, std::string("44"), "aa 01 0C FF 2C 00 00"},
                                           FrameCase{"1", 0x00, std::string("101"), "aa 01 00 00 65 00 00"},
                                           // switch numbers outside 1..4 wrap to their low 8 bits
                                           FrameCase{"0", 0x00, 0.0, "aa 01 FC 00 00 00 00"},
                                           FrameCase{"abc", 0x00, 0.0, "aa 01 FC 00 00 00 00"},
                                           FrameCase{"5", 0x00, 0.0, "aa 01 10 00 00 00 00"},
                                           FrameCase{"65", 0x00, 0.0, "aa 01 00 00 00 00 00"},
                                           FrameCase{"1.5", 0x00, 0.0, "aa 01 02 00 00 00 00"},
                                           FrameCase{"1.125", 0x00, 0.0, "aa 01 00 00 00 00 00"},
                                           FrameCase{" 2", 0x00, 0.0, "aa 01 04 00 00 00 00"},
                                           FrameCase{"99999999999", 0x00, 0.0, "aa 01 F8 00 00 00 00"}));

TEST(KeyFrame, RefusesWhatHasNoByte) {
  const double huge = NumericValue(std::string(400, '9'));
  EXPECT_FALSE(KeyFrameText(huge, 0, 0.0).has_value());
  EXPECT_EQ(KeyFrameRefusal(huge), kInvalidSwitchMessage);
  EXPECT_FALSE(KeyFrameText(1, 0, std::string()).has_value());  // the spare key's empty code
  EXPECT_EQ(KeyFrameRefusal(1), kNoKeyCodeMessage);
}

TEST(KeyAssignedMessage, NamesSwitchModifiersAndCaption) {
  EXPECT_EQ(KeyAssignedMessage(2, 0x01, "F1"), "成功在开关 <2> 中写入< Ctrl + F1 >");
  EXPECT_EQ(KeyAssignedMessage(1, 0x00, "F1"), "成功在开关 <1> 中写入< F1 >");
  EXPECT_EQ(KeyAssignedMessage(2, 0x03, "F1"), "成功在开关 <2> 中写入< Ctrl + Shift + F1 >");
  EXPECT_EQ(KeyAssignedMessage(0, 0x00, "A"), "成功在开关 <0> 中写入< A >");
  EXPECT_EQ(KeyAssignedMessage(1.5, 0x00, " "), "成功在开关 <1.5> 中写入<   >");
}

}  // namespace
}  // namespace kestrova::keys
