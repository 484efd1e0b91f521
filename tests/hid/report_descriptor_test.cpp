#include "hid/report_descriptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace kestrova::hid {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The descriptors below are written item by item from the HID class
// definition; each comment names the item its bytes encode.

const Bytes kBootKeyboard = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x06,  // Usage (Keyboard)
    0xA1, 0x01,  // Collection (Application)
    0x05, 0x07,  //   Usage Page (Keyboard/Keypad)
    0x19, 0xE0,  //   Usage Minimum (Left Control)
    0x29, 0xE7,  //   Usage Maximum (Right GUI)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x01,  //   Logical Maximum (1)
    0x75, 0x01,  //   Report Size (1)
    0x95, 0x08,  //   Report Count (8)
    0x81, 0x02,  //   Input (Data, Variable, Absolute): modifier byte
    0x95, 0x01,  //   Report Count (1)
    0x75, 0x08,  //   Report Size (8)
    0x81, 0x01,  //   Input (Constant): reserved byte
    0x95, 0x05,  //   Report Count (5)
    0x75, 0x01,  //   Report Size (1)
    0x05, 0x08,  //   Usage Page (LEDs)
    0x19, 0x01,  //   Usage Minimum (Num Lock)
    0x29, 0x05,  //   Usage Maximum (Kana)
    0x91, 0x02,  //   Output (Data, Variable, Absolute): LEDs
    0x95, 0x01,  //   Report Count (1)
    0x75, 0x03,  //   Report Size (3)
    0x91, 0x01,  //   Output (Constant): LED padding
    0x95, 0x06,  //   Report Count (6)
    0x75, 0x08,  //   Report Size (8)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x65,  //   Logical Maximum (101)
    0x05, 0x07,  //   Usage Page (Keyboard/Keypad)
    0x19, 0x00,  //   Usage Minimum (0)
    0x29, 0x65,  //   Usage Maximum (101)
    0x81, 0x00,  //   Input (Data, Array): key array
    0xC0,        // End Collection
};

const Bytes kBootMouse = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x02,  // Usage (Mouse)
    0xA1, 0x01,  // Collection (Application)
    0x09, 0x01,  //   Usage (Pointer)
    0xA1, 0x00,  //   Collection (Physical)
    0x05, 0x09,  //     Usage Page (Button)
    0x19, 0x01,  //     Usage Minimum (1)
    0x29, 0x03,  //     Usage Maximum (3)
    0x15, 0x00,  //     Logical Minimum (0)
    0x25, 0x01,  //     Logical Maximum (1)
    0x95, 0x03,  //     Report Count (3)
    0x75, 0x01,  //     Report Size (1)
    0x81, 0x02,  //     Input (Data, Variable, Absolute): buttons
    0x95, 0x01,  //     Report Count (1)
    0x75, 0x05,  //     Report Size (5)
    0x81, 0x01,  //     Input (Constant): padding
    0x05, 0x01,  //     Usage Page (Generic Desktop)
    0x09, 0x30,  //     Usage (X)
    0x09, 0x31,  //     Usage (Y)
    0x15, 0x81,  //     Logical Minimum (-127)
    0x25, 0x7F,  //     Logical Maximum (127)
    0x75, 0x08,  //     Report Size (8)
    0x95, 0x02,  //     Report Count (2)
    0x81, 0x06,  //     Input (Data, Variable, Relative)
    0xC0,        //   End Collection
    0xC0,        // End Collection
};

const Bytes kVendorEightByteOutput = {
    0x06, 0x00, 0xFF,  // Usage Page (Vendor Defined 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x08,        //   Report Count (8)
    0x09, 0x02,        //   Usage (2)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0x09, 0x03,        //   Usage (3)
    0x91, 0x02,        //   Output (Data, Variable, Absolute)
    0xC0,              // End Collection
};

// Keyboard (ID 1, one LED byte), mouse (ID 2, no output) and a vendor
// collection with two output reports: ID 3 of 7 bytes in one item, ID 4 of
// 4 + 4 bytes in two items. The longest is ID 4: 8 data bytes + 1 ID byte.
const Bytes kSeveralReportIds = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x06,        // Usage (Keyboard)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x01,        //   Report ID (1)
    0x05, 0x08,        //   Usage Page (LEDs)
    0x19, 0x01,        //   Usage Minimum (1)
    0x29, 0x08,        //   Usage Maximum (8)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x08,        //   Report Count (8)
    0x91, 0x02,        //   Output
    0xC0,              // End Collection
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x02,        // Usage (Mouse)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x02,        //   Report ID (2)
    0x05, 0x09,        //   Usage Page (Button)
    0x19, 0x01,        //   Usage Minimum (1)
    0x29, 0x03,        //   Usage Maximum (3)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x08,        //   Report Count (8)
    0x81, 0x02,        //   Input
    0xC0,              // End Collection
    0x06, 0x00, 0xFF,  // Usage Page (Vendor Defined 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x75, 0x08,        //   Report Size (8)
    0x85, 0x03,        //   Report ID (3)
    0x95, 0x07,        //   Report Count (7)
    0x09, 0x02,        //   Usage (2)
    0x91, 0x02,        //   Output
    0x85, 0x04,        //   Report ID (4)
    0x95, 0x04,        //   Report Count (4)
    0x09, 0x03,        //   Usage (3)
    0x91, 0x02,        //   Output
    0x09, 0x04,        //   Usage (4)
    0x91, 0x02,        //   Output
    0xC0,              // End Collection
};

const Bytes kKeyboardAndMouseWithIds = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,  // Generic Desktop, Keyboard, Collection (Application)
    0x85, 0x01, 0x75, 0x08, 0x95, 0x08,  //   Report ID (1), Report Size (8), Report Count (8)
    0x81, 0x00, 0xC0,                    //   Input, End Collection
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01,  // Generic Desktop, Mouse, Collection (Application)
    0x85, 0x02, 0x75, 0x08, 0x95, 0x04,  //   Report ID (2), Report Size (8), Report Count (4)
    0x81, 0x06, 0xC0,                    //   Input, End Collection
};

const Bytes kKeypad = {
    0x05, 0x01, 0x09, 0x07, 0xA1, 0x01,  // Generic Desktop, Keypad, Collection (Application)
    0x75, 0x08, 0x95, 0x01, 0x81, 0x00,  //   Report Size (8), Report Count (1), Input
    0xC0,                                // End Collection
};

const Bytes kKeyboardAndConsumerControl = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,  // Generic Desktop, Keyboard, Collection (Application)
    0x85, 0x01, 0x75, 0x08, 0x95, 0x08,  //   Report ID (1), Report Size (8), Report Count (8)
    0x81, 0x00, 0xC0,                    //   Input, End Collection
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01,  // Consumer, Consumer Control, Collection (Application)
    0x85, 0x02, 0x75, 0x10, 0x95, 0x01,  //   Report ID (2), Report Size (16), Report Count (1)
    0x81, 0x00, 0xC0,                    //   Input, End Collection
};

// Push keeps Report Size 8, the 16-bit item in between must not leak past
// Pop: 4 x 16 + 4 x 8 bits = 12 bytes, + 1.
const Bytes kPushPopReportSize = {
    0x06, 0x00, 0xFF,  // Usage Page (Vendor Defined 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x04,        //   Report Count (4)
    0xA4,              //   Push
    0x75, 0x10,        //   Report Size (16)
    0x91, 0x02,        //   Output: 64 bits
    0xB4,              //   Pop
    0x91, 0x02,        //   Output: 32 bits
    0xC0,              // End Collection
};

// Pop restores the report ID as well: the item after it adds to ID 1 again.
// ID 1: 2 + 2 bytes, ID 2: 3 bytes; the longest is ID 1 with 4 + 1.
const Bytes kPushPopReportId = {
    0x06, 0x00, 0xFF,  // Usage Page (Vendor Defined 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x01,        //   Report ID (1)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x02,        //   Report Count (2)
    0x91, 0x02,        //   Output: ID 1, 2 bytes
    0xA4,              //   Push
    0x85, 0x02,        //   Report ID (2)
    0x95, 0x03,        //   Report Count (3)
    0x91, 0x02,        //   Output: ID 2, 3 bytes
    0xB4,              //   Pop
    0x91, 0x02,        //   Output: ID 1, 2 bytes
    0xC0,              // End Collection
};

// The long item's data spells Output items; skipped by its size, they must
// not count. The items around it hold 2 bytes, + 1.
const Bytes kLongItems = {
    0x06, 0x00, 0xFF,                    // Usage Page (Vendor Defined 0xFF00)
    0x09, 0x01,                          // Usage (1)
    0xA1, 0x01,                          // Collection (Application)
    0x75, 0x08,                          //   Report Size (8)
    0x95, 0x02,                          //   Report Count (2)
    0xFE, 0x04, 0xF0, 0x91, 0x02, 0x91,  //   Long item, 4 data bytes
    0x02,                                //
    0xFE, 0x00, 0xF1,                    //   Long item, no data
    0x91, 0x02,                          //   Output: 16 bits
    0xC0,                                // End Collection
};

// Four-byte data: a usage that carries its own page (Generic Desktop,
// Keyboard) while the current page is vendor-defined, and a Report Count.
const Bytes kFourByteItems = {
    0x06, 0x00, 0xFF,              // Usage Page (Vendor Defined 0xFF00)
    0x0B, 0x06, 0x00, 0x01, 0x00,  // Usage (Generic Desktop: Keyboard), 4 bytes
    0xA1, 0x01,                    // Collection (Application)
    0x75, 0x08,                    //   Report Size (8)
    0x97, 0x03, 0x00, 0x00, 0x00,  //   Report Count (3), 4 bytes
    0x91, 0x02,                    //   Output: 3 bytes
    0xC0,                          // End Collection
};

// A short usage takes the page that is current when the main item comes.
const Bytes kUsagePageAfterUsage = {
    0x09, 0x02,  // Usage (Mouse), page not yet set
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0xA1, 0x01,  // Collection (Application)
    0xC0,        // End Collection
};

// Output bits that are not a multiple of 8 round up: 12 bits -> 2 bytes.
const Bytes kOddBitCount = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,  // Vendor page, Usage (1), Collection (Application)
    0x75, 0x03, 0x95, 0x04, 0x91, 0x02,        //   Report Size (3), Report Count (4), Output
    0xC0,                                      // End Collection
};

// Only Application collections at the outermost level are top-level ones.
const Bytes kNestedApplication = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x00,  // Generic Desktop, Mouse, Collection (Physical)
    0x09, 0x06, 0xA1, 0x01,              //   Usage (Keyboard), Collection (Application)
    0xC0, 0xC0,                          //   End Collection, End Collection
    0x06, 0x00, 0xFF, 0x09, 0x01,        // Vendor page, Usage (1)
    0xA1, 0x01, 0xC0,                    // Collection (Application), End Collection
};

// Each Report Size x Report Count alone is beyond 2^64 / 2^32; added up
// twice they would wrap a 64-bit count.
const Bytes kHugeCounts = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,  // Vendor page, Usage (1), Collection (Application)
    0x77, 0xFF, 0xFF, 0xFF, 0xFF,              //   Report Size (4294967295)
    0x97, 0xFF, 0xFF, 0xFF, 0xFF,              //   Report Count (4294967295)
    0x91, 0x02, 0x91, 0x02, 0x91, 0x02,        //   Output x 3
    0xC0,                                      // End Collection
};

// 65533 data bytes + 1 still fit 16 bits unclamped...
const Bytes kLongExactReport = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,  // Vendor page, Usage (1), Collection (Application)
    0x75, 0x08, 0x96, 0xFD, 0xFF,              //   Report Size (8), Report Count (65533)
    0x91, 0x02, 0xC0,                          //   Output, End Collection
};
// ...65535 + 1 do not: a plain 16-bit cast would give 0.
const Bytes kJustTooLongReport = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,  // Vendor page, Usage (1), Collection (Application)
    0x75, 0x08, 0x96, 0xFF, 0xFF,              //   Report Size (8), Report Count (65535)
    0x91, 0x02, 0xC0,                          //   Output, End Collection
};

// Pushes far beyond the stack bound; parsing goes on, so the Output counts.
Bytes DeepPush() {
  Bytes bytes = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x02};
  bytes.insert(bytes.end(), 1000, 0xA4);          // Push x 1000
  bytes.insert(bytes.end(), {0x91, 0x02, 0xC0});  // Output: 2 bytes, End Collection
  return bytes;
}

Bytes Cut(const Bytes& bytes, std::size_t keep) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(keep));
}

constexpr TopLevelCollection kKeyboard{0x01, 0x06};
constexpr TopLevelCollection kMouse{0x01, 0x02};
constexpr TopLevelCollection kVendor{0xFF00, 0x01};

struct DescriptorCase {
  std::string name;
  Bytes descriptor;
  std::uint16_t outputReportByteLength;
  std::vector<TopLevelCollection> collections;
  bool wellFormed;
  bool keyboardOrMouseOnly;
};

void PrintTo(const DescriptorCase& c, std::ostream* os) { *os << c.name; }

std::string CaseName(const testing::TestParamInfo<DescriptorCase>& row) { return row.param.name; }

class ReportDescriptorTable : public testing::TestWithParam<DescriptorCase> {};

TEST_P(ReportDescriptorTable, SummaryMatchesTheItems) {
  const DescriptorCase& c = GetParam();
  // An exact-size copy, so a read past the end lands outside the allocation.
  const Bytes descriptor = c.descriptor;
  const ReportDescriptorSummary summary = ParseReportDescriptor(descriptor);
  EXPECT_EQ(summary.outputReportByteLength, c.outputReportByteLength);
  EXPECT_EQ(summary.applicationCollections, c.collections);
  EXPECT_EQ(summary.wellFormed, c.wellFormed);
  EXPECT_EQ(AllTopLevelCollectionsAreKeyboardOrMouse(summary.applicationCollections), c.keyboardOrMouseOnly);
}

INSTANTIATE_TEST_SUITE_P(
    RealWorldShapes, ReportDescriptorTable,
    testing::Values(
        DescriptorCase{"BootKeyboardLedReport", kBootKeyboard, 2, {kKeyboard}, true, true},
        DescriptorCase{"BootMouseNoOutput", kBootMouse, 0, {kMouse}, true, true},
        DescriptorCase{"VendorEightBytes", kVendorEightByteOutput, 9, {kVendor}, true, false},
        DescriptorCase{"SeveralReportIdsLongestWins", kSeveralReportIds, 9, {kKeyboard, kMouse, kVendor}, true, false},
        DescriptorCase{"KeyboardAndMouse", kKeyboardAndMouseWithIds, 0, {kKeyboard, kMouse}, true, true},
        DescriptorCase{"Keypad", kKeypad, 0, {{0x01, 0x07}}, true, true},
        DescriptorCase{
            "KeyboardAndConsumerControl", kKeyboardAndConsumerControl, 0, {kKeyboard, {0x0C, 0x01}}, true, false},
        DescriptorCase{"PushPopRestoresReportSize", kPushPopReportSize, 13, {kVendor}, true, false},
        DescriptorCase{"PushPopRestoresReportId", kPushPopReportId, 5, {kVendor}, true, false},
        DescriptorCase{"LongItemsSkipped", kLongItems, 3, {kVendor}, true, false},
        DescriptorCase{"FourByteUsageAndCount", kFourByteItems, 4, {kKeyboard}, true, true},
        DescriptorCase{"UsagePageAfterUsage", kUsagePageAfterUsage, 0, {kMouse}, true, true},
        DescriptorCase{"OddBitCountRoundsUp", kOddBitCount, 3, {kVendor}, true, false},
        DescriptorCase{"NestedApplicationIsNotTopLevel", kNestedApplication, 0, {kVendor}, true, false},
        DescriptorCase{"Empty", {}, 0, {}, true, false},
        DescriptorCase{"LongExactReport", kLongExactReport, 0xFFFE, {kVendor}, true, false},
        DescriptorCase{"JustTooLongSaturates", kJustTooLongReport, 0xFFFF, {kVendor}, true, false}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    TruncatedAndMalicious, ReportDescriptorTable,
    testing::Values(
        // Cut inside Report Count's data: the earlier items still count.
        DescriptorCase{"CutInsideShortItem", Cut(kVendorEightByteOutput, 15), 0, {kVendor}, false, false},
        DescriptorCase{"CutInsideFourByteItem", Cut(kFourByteItems, 15), 0, {kKeyboard}, false, true},
        DescriptorCase{"CutInsideUsageBeforeCollection", Cut(kFourByteItems, 6), 0, {}, false, false},
        DescriptorCase{"LongItemDataCut", {0xFE, 0x10, 0xF0, 0x91, 0x02}, 0, {}, false, false},
        DescriptorCase{"LongItemHeaderCut", {0xFE, 0x10}, 0, {}, false, false},
        DescriptorCase{"LoneLongItemPrefix", {0xFE}, 0, {}, false, false},
        DescriptorCase{"HugeCountsSaturate", kHugeCounts, 0xFFFF, {kVendor}, true, false},
        DescriptorCase{"DeepPushIsBounded", DeepPush(), 3, {kVendor}, false, false},
        // Output after Pop on an empty stack keeps the current state.
        DescriptorCase{"PopWithoutPush",
                       {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x02, 0xB4, 0x91, 0x02, 0xC0},
                       3,
                       {kVendor},
                       false,
                       false},
        DescriptorCase{"EndCollectionWithoutCollection",
                       {0xC0, 0xC0, 0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0xC0},
                       0,
                       {kKeyboard},
                       false,
                       true},
        DescriptorCase{
            "CollectionNeverClosed", Cut(kBootKeyboard, kBootKeyboard.size() - 1), 2, {kKeyboard}, false, true},
        DescriptorCase{"ReportIdZeroRejected", {0x85, 0x00, 0x75, 0x08, 0x95, 0x01, 0x91, 0x02}, 2, {}, false, false},
        DescriptorCase{
            "ReportIdAbove255Rejected", {0x86, 0x00, 0x01, 0x75, 0x08, 0x95, 0x01, 0x91, 0x02}, 2, {}, false, false}),
    CaseName);

// Items only ever add output bits, so no cut of a descriptor may report a
// longer output report than the whole; every cut must parse in bounds.
TEST(ReportDescriptor, EveryCutOfTheTableDescriptorsStaysInBounds) {
  for (const Bytes& whole :
       {kBootKeyboard, kSeveralReportIds, kPushPopReportId, kLongItems, kFourByteItems, kHugeCounts}) {
    const std::uint16_t full = ParseReportDescriptor(whole).outputReportByteLength;
    for (std::size_t keep = 0; keep < whole.size(); ++keep) {
      const Bytes cut = Cut(whole, keep);
      EXPECT_LE(ParseReportDescriptor(cut).outputReportByteLength, full) << "cut at " << keep;
    }
  }
}

// Random bytes exercise every item type, size and tag, long-item prefixes
// with arbitrary lengths included; under a sanitizer build any read past the
// exact-size buffer fails the run.
TEST(ReportDescriptor, RandomBytesNeverCrash) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> length(0, 300);
  for (int round = 0; round < 5000; ++round) {
    Bytes descriptor(length(random));
    for (auto& b : descriptor) b = static_cast<std::uint8_t>(byte(random));
    const ReportDescriptorSummary summary = ParseReportDescriptor(descriptor);
    // At most one collection per two bytes (prefix plus data).
    EXPECT_LE(summary.applicationCollections.size(), descriptor.size() / 2);
  }
}

TEST(KeyboardOrMouseOnly, DecidesOnEveryCollection) {
  const std::vector<TopLevelCollection> none;
  EXPECT_FALSE(AllTopLevelCollectionsAreKeyboardOrMouse(none));
  const std::vector<TopLevelCollection> keyboardMousePad = {kKeyboard, kMouse, {0x01, 0x07}};
  EXPECT_TRUE(AllTopLevelCollectionsAreKeyboardOrMouse(keyboardMousePad));
  // Same usage numbers on another page, and other Generic Desktop usages.
  const std::vector<std::vector<TopLevelCollection>> notOnly = {{kKeyboard, kVendor}, {{0x0C, 0x06}}, {{0x07, 0x06}},
                                                                {{0x01, 0x04}},       {{0x01, 0x01}}, {{0x01, 0x05}},
                                                                {{0x01, 0x08}}};
  for (const auto& collections : notOnly) {
    EXPECT_FALSE(AllTopLevelCollectionsAreKeyboardOrMouse(collections))
        << collections.front().usagePage << ":" << collections.front().usage;
  }
}

}  // namespace
}  // namespace kestrova::hid
