#include "hid/report_encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "fake_hid_port.h"

namespace kestrova::hid {
namespace {

using kestrova::testing::HexBytes;

// " 00" count times: the zero fill at the end of a wide report.
std::string TrailingZeros(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += " 00";
  return text;
}

struct EncodingCase {
  std::string frameText;
  std::uint16_t reportLength;
  std::string expectedReport;
  friend void PrintTo(const EncodingCase& c, std::ostream* out) {
    *out << '"' << c.frameText << "\" at length " << c.reportLength;
  }
};

class ReportEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(ReportEncodingTest, EncodesFrameText) {
  const EncodingCase& c = GetParam();
  EXPECT_EQ(HexBytes(EncodeReport(c.frameText, c.reportLength)), c.expectedReport)
      << "frame text \"" << c.frameText << "\", length " << c.reportLength;
}

// The reports a device with a 9-byte output report receives.
INSTANTIATE_TEST_SUITE_P(NineByteReports, ReportEncodingTest,
                         ::testing::Values(EncodingCase{"aa 01 00 00 3C 00 00", 9, "00 AA 01 00 00 3C 00 00 00"},
                                           EncodingCase{"aa0100003c0000", 9, "00 AA 01 00 00 3C 00 00 00"},
                                           EncodingCase{"a a0 1", 9, "00 AA 01 00 00 00 00 00 00"},
                                           EncodingCase{"", 9, "00 00 00 00 00 00 00 00 00"},
                                           EncodingCase{"aa 1 00", 9, "00 AA 10 00 00 00 00 00 00"},
                                           EncodingCase{"aa1", 9, "00 AA 10 00 00 00 00 00 00"},
                                           EncodingCase{"aa 01 02 03 04 05 06 07 08 09", 9,
                                                        "00 AA 01 02 03 04 05 06 07"},
                                           EncodingCase{"aa0102030405F", 9, "00 AA 01 02 03 04 05 F0 00"},
                                           EncodingCase{"aa010203040506F", 9, "00 AA 01 02 03 04 05 06 0F"},
                                           EncodingCase{"AA 01 0C FF 2C 00 00", 9, "00 AA 01 0C FF 2C 00 00 00"},
                                           EncodingCase{"aA 0b Cc dD eE fF 00", 9, "00 AA 0B CC DD EE FF 00 00"},
                                           EncodingCase{"  aa   01  ", 9, "00 AA 01 00 00 00 00 00 00"}));

// The lone last digit at other lengths: it is read alone only where it ends
// exactly at the last byte and nothing was appended, which the rounding of
// n / 2 to even decides.
INSTANTIATE_TEST_SUITE_P(
    OtherLengths, ReportEncodingTest,
    ::testing::Values(EncodingCase{"aa 01 02", 1, "00"}, EncodingCase{"", 1, "00"}, EncodingCase{"", 2, "00 00"},
                      EncodingCase{"a", 2, "00 A0"}, EncodingCase{"abc", 2, "00 AB"}, EncodingCase{"a", 3, "00 A0 00"},
                      EncodingCase{"abc", 3, "00 AB 0C"},       // n = 3: h = 2, nothing appended
                      EncodingCase{"12345", 4, "00 12 34 50"},  // n = 5: h = 2 < 3, one 00 appended
                      EncodingCase{"1234567", 5, "00 12 34 56 07"}, EncodingCase{"123456789", 6, "00 12 34 56 78 90"},
                      EncodingCase{"aa 01 04 01 3A 00 00", 65, "00 AA 01 04 01 3A 00 00" + TrailingZeros(57)}));

// Characters other than hexadecimal digits never become bytes: they are
// dropped like blanks, so the digits around them pair up as if they were not
// there.
INSTANTIATE_TEST_SUITE_P(StrayCharacters, ReportEncodingTest,
                         ::testing::Values(EncodingCase{"aa\t01\n02", 9, "00 AA 01 02 00 00 00 00 00"},
                                           EncodingCase{"aa g1 02", 9, "00 AA 10 20 00 00 00 00 00"},
                                           EncodingCase{"zz xx", 9, "00 00 00 00 00 00 00 00 00"},
                                           EncodingCase{"aa \xE4\xB8\xAD 01", 9, "00 AA 01 00 00 00 00 00 00"}));

TEST(ReportEncoding, ZeroLengthLeavesNothingToWrite) {
  EXPECT_TRUE(EncodeReport("aa 01 00 00 3C 00 00", 0).empty());
  EXPECT_TRUE(EncodeReport("", 0).empty());
}

TEST(ReportEncoding, HugeTextIsCutToTheReportAndStillCountsForRounding) {
  // 100 001 digits: the excess is dropped, the report keeps its length.
  std::string text = "aa";
  for (int i = 0; i < 49'999; ++i) text += "01";
  text += "F";
  const auto report = EncodeReport(text, 9);
  EXPECT_EQ(HexBytes(report), "00 AA 01 01 01 01 01 01 01");

  // The widest report a device can declare, from a text of blanks only.
  const auto widest = EncodeReport(std::string(100'000, ' '), 0xFFFF);
  ASSERT_EQ(widest.size(), 0xFFFFu);
  EXPECT_EQ(std::count(widest.begin(), widest.end(), std::uint8_t{0}), 0xFFFF);
}

TEST(ReportEncoding, FillsTheWidestReportFromLongText) {
  // 2 x 65 534 digits exactly fill a report of 65 535 bytes; one more digit
  // would be dropped.
  std::string text;
  for (int i = 0; i < 65'534; ++i) text += "5A";
  text += "7";
  const auto report = EncodeReport(text, 0xFFFF);
  ASSERT_EQ(report.size(), 0xFFFFu);
  EXPECT_EQ(report.front(), 0x00);
  EXPECT_EQ(std::count(report.begin() + 1, report.end(), std::uint8_t{0x5A}), 0xFFFE);
}

}  // namespace
}  // namespace kestrova::hid
