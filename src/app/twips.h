#pragma once

#include <cmath>

namespace kestrova {

// Positions and sizes in the layout tables are in twips (1440 to the inch).
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// 15 twips make one pixel at 96 dots per inch; the toolkit scales logical
// pixels by the screen's device pixel ratio.
constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(int twips) {
  return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

}  // namespace kestrova
