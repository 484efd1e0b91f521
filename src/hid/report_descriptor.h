#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kestrova::hid {

struct TopLevelCollection {
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  friend bool operator==(const TopLevelCollection&, const TopLevelCollection&) = default;
};

// What the rest of the system needs to know about a HID report descriptor.
struct ReportDescriptorSummary {
  // The longest output report in bytes as the HID capability query of the
  // desktop counts it: the bits of every Output item of one report ID added
  // up, rounded up to whole bytes, plus one byte for the report ID, which is
  // counted even when the device uses no report IDs. 0 without any output
  // item. Saturates at 0xFFFF, the largest value the 16-bit count can hold.
  std::uint16_t outputReportByteLength = 0;
  // The Application collections at the outermost level, in descriptor order.
  std::vector<TopLevelCollection> applicationCollections;
  // False when the descriptor breaks the item grammar: cut inside an item,
  // Push beyond the stack or Pop from an empty one, a report ID of 0 or above
  // 255, or collections that do not balance. The summary then describes the
  // items that could be read, with the offending ones passed over.
  bool wellFormed = true;
};

// Never reads outside the given bytes; the arithmetic cannot overflow.
ReportDescriptorSummary ParseReportDescriptor(std::span<const std::uint8_t> descriptor);

// Generic Desktop keyboards (0x06), keypads (0x07) and mice (0x02) only.
// False for an empty list: nothing says what such an interface is.
bool AllTopLevelCollectionsAreKeyboardOrMouse(std::span<const TopLevelCollection> collections);

}  // namespace kestrova::hid
