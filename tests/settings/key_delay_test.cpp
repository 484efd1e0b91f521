#include "settings/key_delay.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kestrova::settings {
namespace {

struct DelayCase {
  const char* text;
  const char* frame;
  bool logged;
  const char* logText;  // when logged
};
void PrintTo(const DelayCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class KeyDelayTest : public ::testing::TestWithParam<DelayCase> {};

TEST_P(KeyDelayTest, FrameAndLogLineFollowTheText) {
  const DelayCase& c = GetParam();
  const double delay = KeyDelayMilliseconds(c.text);
  EXPECT_EQ(KeyDelayFrameText(delay), c.frame) << '"' << c.text << '"';
  EXPECT_EQ(ShouldLogKeyDelay(c.text), c.logged) << '"' << c.text << '"';
  if (c.logged) {
    EXPECT_EQ(KeyDelayMessage(delay), c.logText);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, KeyDelayTest,
    ::testing::Values(DelayCase{"0", "AA 01 7C 79 01 00 00", false, ""},
                      DelayCase{"300", "AA 01 7C 79 01 01 2C", true, "按键延时响应时间：300 ms"},
                      DelayCase{"65535", "AA 01 7C 79 01 FF FF", true, "按键延时响应时间：65535 ms"},
                      DelayCase{"40000", "AA 01 7C 79 01 9C 40", true, "按键延时响应时间：40000 ms"},
                      DelayCase{"abc", "AA 01 7C 79 01 00 00", false, ""},
                      DelayCase{"", "AA 01 7C 79 01 00 00", false, ""},
                      DelayCase{"12abc", "AA 01 7C 79 01 00 0C", true, "按键延时响应时间：12 ms"},
                      DelayCase{"2.5", "AA 01 7C 79 01 00 02", true, "按键延时响应时间：2 ms"},
                      DelayCase{"3.5", "AA 01 7C 79 01 00 04", true, "按键延时响应时间：4 ms"},
                      DelayCase{"0.4", "AA 01 7C 79 01 00 00", true, "按键延时响应时间：0 ms"},
                      DelayCase{"-5", "AA 01 7C 79 01 FF FB", false, ""},
                      DelayCase{"-32768", "AA 01 7C 79 01 80 00", false, ""},
                      // below -32768 there is no 16-bit form: held at the lowest one
                      DelayCase{"-40000", "AA 01 7C 79 01 80 00", false, ""}));

TEST(KeyDelayCap, CapsOnlyAbove65535) {
  EXPECT_EQ(CappedKeyDelayText("70000"), "65535");
  EXPECT_EQ(CappedKeyDelayText("65535.5"), "65535");
  EXPECT_EQ(CappedKeyDelayText(std::string(1000, '9')), "65535");
  EXPECT_FALSE(CappedKeyDelayText("65535").has_value());
  EXPECT_FALSE(CappedKeyDelayText("abc").has_value());
  EXPECT_FALSE(CappedKeyDelayText("-70000").has_value());
}

TEST(LongPress, CarriesTheCheckBoxValue) {
  EXPECT_EQ(LongPressFrameText(false), "AA 01 78 79 01 00 00");
  EXPECT_EQ(LongPressFrameText(true), "AA 01 78 79 01 01 00");
}

}  // namespace
}  // namespace kestrova::settings
