#include "hid/wanted_id.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace kestrova::hid {
namespace {

struct IdCase {
  std::string text;
  std::optional<std::uint16_t> expected;
  friend void PrintTo(const IdCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }
};

class WantedIdTest : public ::testing::TestWithParam<IdCase> {};

TEST_P(WantedIdTest, ReadsTypedText) {
  EXPECT_EQ(ParseWantedId(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(HexadecimalIds, WantedIdTest,
                         ::testing::Values(IdCase{"2704", 0x2704}, IdCase{"2018", 0x2018}, IdCase{"abcd", 0xABCD},
                                           IdCase{"ABCD", 0xABCD}, IdCase{"aBcD", 0xABCD}, IdCase{"ffff", 0xFFFF},
                                           IdCase{"0", 0}, IdCase{"0000", 0}, IdCase{"7", 7},
                                           // Leading zeros are not significant digits.
                                           IdCase{"02704", 0x2704}, IdCase{"00000000FFFF", 0xFFFF},
                                           // The caller trims, but a stray blank or tab must not matter.
                                           IdCase{" 2704", 0x2704}, IdCase{"2704 ", 0x2704},
                                           IdCase{"\t2704\t", 0x2704}));

// None of these names an ID: they match no interface at all.
INSTANTIATE_TEST_SUITE_P(TextsThatNameNoId, WantedIdTest,
                         ::testing::Values(IdCase{"", std::nullopt}, IdCase{"   ", std::nullopt},
                                           IdCase{"12345", std::nullopt}, IdCase{"10000", std::nullopt},
                                           IdCase{"FFFFFFFFFFFFFFFFFFFFFFFF", std::nullopt},
                                           IdCase{"27 04", std::nullopt}, IdCase{"270G", std::nullopt},
                                           IdCase{"0x2704", std::nullopt}, IdCase{"&H2704", std::nullopt},
                                           IdCase{"-1", std::nullopt}, IdCase{"+2704", std::nullopt},
                                           IdCase{"\xEF\xBC\x92\xEF\xBC\x97", std::nullopt}));

TEST(WantedId, LongRunOfLeadingZerosIsStillOneId) { EXPECT_EQ(ParseWantedId(std::string(100'000, '0') + "1"), 1); }

TEST(WantedIds, MatchOnlyWhenBothAreUnderstoodAndEqual) {
  const auto wanted = WantedIds::Parse("2704", "2018");
  EXPECT_TRUE(wanted.Matches({0x2704, 0x2018}));
  EXPECT_FALSE(wanted.Matches({0x2704, 0x2019}));
  EXPECT_FALSE(wanted.Matches({0x2018, 0x2704}));
  EXPECT_FALSE(wanted.bothZero());

  // An empty text is not zero: otherwise every unopenable interface would
  // pass for the device.
  EXPECT_FALSE(WantedIds::Parse("", "").Matches({0, 0}));
  EXPECT_FALSE(WantedIds::Parse("", "").bothZero());
  EXPECT_FALSE(WantedIds::Parse("0", "").Matches({0, 0}));
  EXPECT_FALSE(WantedIds::Parse("12704", "2018").Matches({0x2704, 0x2018}));
  EXPECT_FALSE(WantedIds::Parse("12704", "2018").usable());

  EXPECT_TRUE(WantedIds::Parse("0", "0000").bothZero());
  EXPECT_TRUE(WantedIds::Parse("0", "0000").Matches({0, 0}));
}

}  // namespace
}  // namespace kestrova::hid
