#include "app/numeric_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace kestrova {
namespace {

struct NumericCase {
  const char* text;
  double value;
};
void PrintTo(const NumericCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class NumericValueTest : public ::testing::TestWithParam<NumericCase> {};

TEST_P(NumericValueTest, ReadsTheLeadingNumber) {
  EXPECT_DOUBLE_EQ(NumericValue(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, NumericValueTest,
                         ::testing::Values(NumericCase{"2", 2}, NumericCase{" 3", 3}, NumericCase{"4x", 4},
                                           NumericCase{"", 0}, NumericCase{"abc", 0},
                                           // blanks, tabs and line feeds vanish even inside the number
                                           NumericCase{"1 2", 12}, NumericCase{"\t1\n2 .5", 12.5},
                                           NumericCase{"- 7", -7}, NumericCase{"+8", 8}, NumericCase{"1.5", 1.5},
                                           NumericCase{".25", 0.25}, NumericCase{"1.", 1}, NumericCase{"1.125", 1.125},
                                           NumericCase{"1e3", 1000}, NumericCase{"2.5E-1", 0.25}, NumericCase{"1e", 1},
                                           NumericCase{"1e+", 1}, NumericCase{"3 e 2", 300}, NumericCase{"12abc", 12},
                                           NumericCase{"1,5", 1}, NumericCase{"&H1F", 31}, NumericCase{"&hff", 255},
                                           NumericCase{"&O17", 15}, NumericCase{"&o8", 0}, NumericCase{"&H", 0},
                                           NumericCase{"&X1", 0},
                                           NumericCase{"\r5", 0},  // a carriage return is not skipped
                                           NumericCase{"-", 0}, NumericCase{".", 0},
                                           NumericCase{"１２", 0}));  // full-width digits are not digits

TEST(LeadingNumber, TellsANumberFromNoNumber) {
  EXPECT_FALSE(LeadingNumber("").has_value());
  EXPECT_FALSE(LeadingNumber("abc").has_value());
  EXPECT_FALSE(LeadingNumber("  - ").has_value());
  ASSERT_TRUE(LeadingNumber("0").has_value());
  EXPECT_EQ(*LeadingNumber("0"), 0);
}

TEST(LeadingNumber, HugeTextsStayFiniteOrBecomeInfinityWithoutUndefinedBehaviour) {
  const std::string manyDigits(100000, '9');
  EXPECT_TRUE(std::isinf(NumericValue(manyDigits)));
  EXPECT_TRUE(std::isinf(NumericValue("-" + manyDigits)));
  EXPECT_LT(NumericValue("-" + manyDigits), 0);
  EXPECT_TRUE(std::isinf(NumericValue("1e99999999999999999999")));
  EXPECT_EQ(NumericValue("1e-99999999999999999999"), 0);
  EXPECT_EQ(NumericValue("0." + std::string(5000, '0') + "1"), 0);
  EXPECT_TRUE(std::isinf(NumericValue("&H" + std::string(400, 'F'))));
  EXPECT_DOUBLE_EQ(NumericValue("4294967296"), 4294967296.0);  // past 32 bits, still exact
}

TEST(ShortestDecimal, WritesTheNumberAsAUserReadsIt) {
  EXPECT_EQ(ShortestDecimal(1), "1");
  EXPECT_EQ(ShortestDecimal(3), "3");
  EXPECT_EQ(ShortestDecimal(0), "0");
  EXPECT_EQ(ShortestDecimal(-0.0), "0");
  EXPECT_EQ(ShortestDecimal(1.5), "1.5");
  EXPECT_EQ(ShortestDecimal(-2), "-2");
  EXPECT_EQ(ShortestDecimal(65535), "65535");
}

}  // namespace
}  // namespace kestrova
