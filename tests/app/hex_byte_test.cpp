#include "app/hex_byte.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace kestrova {
namespace {

struct HexCase {
  double value;
  const char* hex;
};
void PrintTo(const HexCase& c, std::ostream* os) { *os << c.value; }

class HexByteTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexByteTest, RoundsKeepsLowBitsAndWritesTwoUpperCaseDigits) {
  EXPECT_EQ(HexByte(GetParam().value), GetParam().hex) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, HexByteTest,
                         ::testing::Values(HexCase{0, "00"}, HexCase{12, "0C"}, HexCase{58, "3A"}, HexCase{255, "FF"},
                                           HexCase{256, "00"}, HexCase{260, "04"}, HexCase{-1, "FF"}, HexCase{-4, "FC"},
                                           HexCase{-256, "00"}, HexCase{-257, "FF"},
                                           // halves go to the even neighbour
                                           HexCase{2.5, "02"}, HexCase{3.5, "04"}, HexCase{0.5, "00"},
                                           HexCase{1.5, "02"}, HexCase{-2.5, "FE"}, HexCase{-0.5, "00"},
                                           HexCase{2.4999, "02"}, HexCase{2.5001, "03"},
                                           // far beyond any integer type: the true low 8 bits
                                           HexCase{4294967296.0 + 5, "05"}, HexCase{-4294967296.0 - 1, "FF"},
                                           HexCase{1e20, "00"}, HexCase{std::numeric_limits<double>::max(), "00"}));

TEST(HexByte, ReadsADecimalTextAsTheNumberItSpells) {
  EXPECT_EQ(HexByte(std::string_view("58")), "3A");
  EXPECT_EQ(HexByte(std::string_view("4")), "04");
  EXPECT_EQ(HexByte(std::string_view("101")), "65");
  EXPECT_FALSE(HexByte(std::string_view("")).has_value());
  EXPECT_FALSE(HexByte(std::string_view("x")).has_value());
}

TEST(HexByte, RefusesValuesWithoutAnInteger) {
  EXPECT_FALSE(HexByte(std::numeric_limits<double>::infinity()).has_value());
  EXPECT_FALSE(HexByte(-std::numeric_limits<double>::infinity()).has_value());
  EXPECT_FALSE(HexByte(std::numeric_limits<double>::quiet_NaN()).has_value());
}

TEST(LowWord, KeepsSixteenBitsInTwosComplement) {
  EXPECT_EQ(LowWord(300), 0x012C);
  EXPECT_EQ(LowWord(-5), 0xFFFB);
  EXPECT_EQ(LowWord(65535), 0xFFFF);
  EXPECT_EQ(LowWord(65536), 0);
  EXPECT_EQ(LowWord(-32768), 0x8000);
}

}  // namespace
}  // namespace kestrova
