// The character check of the frame-text box, run the way the window runs
// it: find the first offending character, remove every occurrence of it,
// again until none is left. Checks: the loop ends after at most one round
// per distinct character; the result holds only the 23 allowed characters,
// every allowed character of the text in its order; one message per
// distinct offending character, in the order of first appearance.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "settings/hex_filter.h"

namespace {

constexpr std::u32string_view kAllowed = U"0123456789abcdefABCDEF ";

bool Allowed(char32_t c) { return kAllowed.find(c) != std::u32string_view::npos; }

// Bytes below 0x80 are one character each; a byte from 0x80 starts a wider
// one built from the next three bytes, up to beyond the Unicode range, so
// every 32-bit value a conversion could produce is covered.
std::u32string Characters(const std::uint8_t* data, std::size_t size) {
  std::u32string text;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] < 0x80 || i + 3 >= size) {
      text += static_cast<char32_t>(data[i]);
      continue;
    }
    const char32_t wide = (char32_t{data[i]} << 24) | (char32_t{data[i + 1]} << 16) | (char32_t{data[i + 2]} << 8) |
                          char32_t{data[i + 3]};
    text += (data[i] & 0x40) != 0 ? wide : wide & 0x1FFFFF;
    i += 3;
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace settings = kestrova::settings;
  const std::u32string original = Characters(data, size);

  std::u32string expectedText;
  std::u32string expectedMessages;  // offending characters, first appearance order
  for (const char32_t c : original) {
    FUZZ_CHECK(settings::IsFrameTextCharacter(c) == Allowed(c));
    if (Allowed(c)) {
      expectedText += c;
    } else if (expectedMessages.find(c) == std::u32string::npos) {
      expectedMessages += c;
    }
  }

  std::u32string text = original;
  std::u32string messages;
  while (const auto offending = settings::FirstOffendingCharacter(text)) {
    FUZZ_CHECK(!Allowed(*offending));
    FUZZ_CHECK(messages.size() < expectedMessages.size());  // else the loop would not end
    messages += *offending;
    const std::size_t before = text.size();
    text = settings::RemoveCharacter(text, *offending);
    FUZZ_CHECK(text.size() < before);
  }
  FUZZ_CHECK(text == expectedText);
  FUZZ_CHECK(messages == expectedMessages);
  FUZZ_CHECK(settings::RemoveCharacter(text, U'x') == text);
  return 0;
}
