// The report-descriptor parser over arbitrary bytes, as a device hands them.
// Beside memory safety (the bytes sit in a buffer of exactly their size) it
// checks the output report length against what the items could describe.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>

#include "fuzz_check.h"
#include "hid/report_descriptor.h"

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

std::uint64_t AddSaturating(std::uint64_t a, std::uint64_t b) { return b > kMax - a ? kMax : a + b; }

std::uint32_t LittleEndian(std::span<const std::uint8_t> data) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < data.size(); ++i) value |= std::uint32_t{data[i]} << (8 * i);
  return value;
}

std::uint16_t BytesForBits(std::uint64_t bits) {
  if (bits == 0) return 0;
  const std::uint64_t bytes = bits / 8 + (bits % 8 != 0 ? 1 : 0) + 1;
  return static_cast<std::uint16_t>(std::min<std::uint64_t>(bytes, 0xFFFF));
}

// What a plain walk over the items can say without the parser's state.
struct ItemFacts {
  bool cut = false;             // the last item runs past the end
  std::size_t collections = 0;  // Collection items
  std::size_t outputItems = 0;  // Output items
  // No Output item can hold more than the largest Report Size times the
  // largest Report Count seen before it (Push and Pop only bring back
  // values seen earlier), so their sum bounds every report.
  std::uint64_t boundBits = 0;
  // Without Report ID, Push and Pop items there is one report whose bits
  // are exactly the sum over the Output items.
  bool singlePlainReport = true;
  std::uint64_t exactBits = 0;
};

ItemFacts WalkItems(std::span<const std::uint8_t> bytes) {
  ItemFacts facts;
  std::uint32_t size = 0, count = 0, largestSize = 0, largestCount = 0;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::uint8_t prefix = bytes[pos];
    if (prefix == 0xFE) {  // long item: prefix, data size, tag, data
      if (bytes.size() - pos < 3 || bytes.size() - pos - 3 < bytes[pos + 1]) {
        facts.cut = true;
        break;
      }
      pos += 3 + std::size_t{bytes[pos + 1]};
      continue;
    }
    const std::size_t dataSize = (prefix & 3) == 3 ? 4 : (prefix & 3);
    if (bytes.size() - pos - 1 < dataSize) {
      facts.cut = true;
      break;
    }
    const std::uint32_t value = LittleEndian(bytes.subspan(pos + 1, dataSize));
    pos += 1 + dataSize;
    const std::uint8_t typeAndTag = prefix & 0xFC;
    switch (typeAndTag) {
      case 0x90:  // Output
        ++facts.outputItems;
        facts.boundBits = AddSaturating(facts.boundBits, std::uint64_t{largestSize} * largestCount);
        facts.exactBits = AddSaturating(facts.exactBits, std::uint64_t{size} * count);
        break;
      case 0xA0: ++facts.collections; break;
      case 0x74:  // Report Size
        size = value;
        largestSize = std::max(largestSize, value);
        break;
      case 0x94:  // Report Count
        count = value;
        largestCount = std::max(largestCount, value);
        break;
      case 0x84:  // Report ID
      case 0xA4:  // Push
      case 0xB4:  // Pop
        facts.singlePlainReport = false;
        break;
      default: break;
    }
  }
  return facts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const kestrova::hid::ReportDescriptorSummary summary = kestrova::hid::ParseReportDescriptor(bytes);
  const ItemFacts facts = WalkItems(bytes);

  const std::uint16_t length = summary.outputReportByteLength;
  // Either no output report, or the report ID byte and at least one more.
  FUZZ_CHECK(length == 0 || length >= 2);
  FUZZ_CHECK(length <= BytesForBits(facts.boundBits));
  if (facts.outputItems == 0) FUZZ_CHECK(length == 0);
  if (facts.singlePlainReport) FUZZ_CHECK(length == BytesForBits(facts.exactBits));

  FUZZ_CHECK(summary.applicationCollections.size() <= facts.collections);
  if (facts.cut) FUZZ_CHECK(!summary.wellFormed);

  // Same bytes, same answer: nothing depends on state left from a run.
  const auto again = kestrova::hid::ParseReportDescriptor(bytes);
  FUZZ_CHECK(again.outputReportByteLength == length && again.wellFormed == summary.wellFormed &&
             again.applicationCollections == summary.applicationCollections);

  const bool inputOnly = kestrova::hid::AllTopLevelCollectionsAreKeyboardOrMouse(summary.applicationCollections);
  if (summary.applicationCollections.empty()) FUZZ_CHECK(!inputOnly);
  return 0;
}
