#include "settings/hex_filter.h"

#include <gtest/gtest.h>

namespace kestrova::settings {
namespace {

TEST(HexFilter, AllowsHexDigitsOfEitherCaseAndBlanks) {
  EXPECT_FALSE(FirstOffendingCharacter(U"").has_value());
  EXPECT_FALSE(FirstOffendingCharacter(U"aa 01 0C FF 2C 00 00").has_value());
  EXPECT_FALSE(FirstOffendingCharacter(U"  0123456789abcdefABCDEF  ").has_value());
}

TEST(HexFilter, FindsTheFirstOffendingCharacter) {
  struct Case {
    std::u32string text;
    char32_t offending;
  };
  const Case cases[] = {{U"aa 01x", U'x'}, {U"axbyc", U'x'}, {U"a\tb", U'\t'}, {U"１", U'１'},
                        {U"aa-01", U'-'},  {U"g", U'g'},     {U"X x", U'X'},   {U"a😀", U'😀'}};
  for (const Case& c : cases) EXPECT_EQ(FirstOffendingCharacter(c.text), c.offending);
}

TEST(HexFilter, RemovesEveryOccurrenceOfOneCharacterOnly) {
  EXPECT_EQ(RemoveCharacter(U"x1x", U'x'), U"1");
  EXPECT_EQ(RemoveCharacter(U"axbyc", U'x'), U"abyc");
  EXPECT_EQ(RemoveCharacter(U"Xx", U'x'), U"X");  // case-sensitive
}

}  // namespace
}  // namespace kestrova::settings
