#include "keys/key_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/control_layout.h"

namespace kestrova::keys {
namespace {

const KeySpec& Key(int index) { return KeyTable().at(static_cast<std::size_t>(index)); }

TEST(KeyTable, HasEveryIndexOnceInOrder) {
  for (int i = 0; i < kKeyButtonCount; ++i) EXPECT_EQ(Key(i).index, i);
}

TEST(KeyTable, CodeTextIsTheUsageInPlainDecimal) {
  for (const KeySpec& key : KeyTable()) {
    if (key.index == kSpareKeyIndex) continue;
    EXPECT_EQ(std::string(key.code), std::to_string(key.usage)) << "index " << key.index;
  }
}

TEST(KeyTable, GeneratedRunsFollowTheirRules) {
  for (int i = 0; i <= 11; ++i) {
    EXPECT_EQ(Key(i).caption, "F" + std::to_string(i + 1));
    EXPECT_EQ(Key(i).code, std::to_string(58 + i));
  }
  for (int j = 1; j <= 9; ++j) {
    EXPECT_EQ(Key(40 + j).caption, std::to_string(j));
    EXPECT_EQ(Key(40 + j).code, std::to_string(29 + j));
  }
  for (int k = 0; k < 26; ++k) {
    EXPECT_EQ(Key(50 + k).caption, std::string(1, static_cast<char>('A' + k)));
    EXPECT_EQ(Key(50 + k).code, std::to_string(4 + k));
  }
}

TEST(KeyTable, CodeTableHoldsTheKeysAndEmptySpareEntries) {
  const auto table = BuildKeyCodeTable();
  struct Expected {
    int index;
    const char* code;
  };
  const Expected expected[] = {{0, "58"},   {11, "69"}, {12, "73"}, {21, "83"}, {27, "50"}, {40, "39"},
                               {41, "30"},  {47, "36"}, {49, "38"}, {50, "4"},  {75, "29"}, {76, "44"},
                               {31, "101"}, {80, "40"}, {81, "83"}, {85, "95"}, {96, "98"}, {97, "99"}};
  for (const auto& e : expected) EXPECT_EQ(table[static_cast<std::size_t>(e.index)], e.code) << e.index;
  for (int empty : {79, 98, 99, 100}) EXPECT_EQ(table[static_cast<std::size_t>(empty)], "") << empty;
  EXPECT_EQ(Key(76).caption, " ");
  EXPECT_EQ(Key(27).caption, "\\");
  EXPECT_EQ(Key(79).caption, "enter");
}

TEST(KeyTable, OnlyTheTwoSpareButtonsAreHidden) {
  for (const KeySpec& key : KeyTable()) EXPECT_EQ(key.shown, key.index != 21 && key.index != 79) << key.index;
}

TEST(KeyTable, ShownKeysLieInsideThePanelWithoutOverlap) {
  const auto panel = std::find_if(WindowControls().begin(), WindowControls().end(),
                                  [](const ControlSpec& c) { return c.name == "FrameKeyBoard"; });
  ASSERT_NE(panel, WindowControls().end());
  std::vector<TwipsRect> placed;
  for (const KeySpec& key : KeyTable()) {
    if (!key.shown) continue;
    placed.push_back(key.rect);
  }
  // The modifier toggles share the panel with the keys.
  for (const ControlSpec& c : WindowControls()) {
    if (c.parent == "FrameKeyBoard" && c.name != "Label11") placed.push_back(c.rect);
  }
  for (const TwipsRect& r : placed) {
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.left + r.width, panel->rect.width) << r.left << "," << r.top;
    EXPECT_LE(r.top + r.height, panel->rect.height) << r.left << "," << r.top;
  }
  for (std::size_t a = 0; a < placed.size(); ++a) {
    for (std::size_t b = a + 1; b < placed.size(); ++b) {
      const TwipsRect& p = placed[a];
      const TwipsRect& q = placed[b];
      const bool overlap = p.left < q.left + q.width && q.left < p.left + p.width && p.top < q.top + q.height &&
                           q.top < p.top + p.height;
      EXPECT_FALSE(overlap) << "(" << p.left << "," << p.top << ") and (" << q.left << "," << q.top << ")";
    }
  }
}

}  // namespace
}  // namespace kestrova::keys
