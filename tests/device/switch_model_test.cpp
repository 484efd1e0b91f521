#include "device/switch_model.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kestrova::device {
namespace {

using Report = std::vector<std::uint8_t>;
using Record = SwitchModel::Record;

// The report a device with a 9-byte output report receives for a frame.
Report FrameReport(std::uint8_t command, std::uint8_t slot, Record data) {
  return {0x00, 0xAA, command, slot, data[0], data[1], data[2], data[3], 0x00};
}

TEST(SwitchModel, StartsWithEveryRecordZero) {
  const SwitchModel model;
  std::string expected;
  for (const char* slot :
       {"00", "04", "08", "0C", "10", "14", "18", "1C", "20", "24", "28", "2C", "30", "34", "38", "3C",
        "40", "44", "48", "4C", "50", "54", "58", "5C", "60", "64", "68", "6C", "70", "74", "78", "7C"}) {
    expected += std::string(slot) + ": 00 00 00 00\n";
  }
  EXPECT_EQ(model.Dump(), expected);
}

TEST(SwitchModel, StoresKeyAndMouseFramesInTheAddressedRecord) {
  SwitchModel model;

  EXPECT_TRUE(model.ApplyReport(FrameReport(0x01, 0x04, {0x01, 0x3A, 0x00, 0x00})));
  EXPECT_TRUE(model.ApplyReport(FrameReport(0x02, 0x0C, {0xFE, 0x04, 0x00, 0x00})));
  EXPECT_TRUE(model.ApplyReport(FrameReport(0x01, 0x7C, {0x79, 0x01, 0x01, 0x2C})));

  EXPECT_EQ(model.record(1), (Record{0x01, 0x3A, 0x00, 0x00}));
  EXPECT_EQ(model.command(1), 0x01);
  EXPECT_EQ(model.record(3), (Record{0xFE, 0x04, 0x00, 0x00}));
  EXPECT_EQ(model.command(3), 0x02);
  EXPECT_EQ(model.record(31), (Record{0x79, 0x01, 0x01, 0x2C}));
  EXPECT_EQ(model.command(0), 0x00);
  const std::string dump = model.Dump();
  EXPECT_NE(dump.find("04: 01 3A 00 00\n"), std::string::npos);
  EXPECT_NE(dump.find("0C: FE 04 00 00\n"), std::string::npos);
  EXPECT_NE(dump.find("7C: 79 01 01 2C\n"), std::string::npos);
}

TEST(SwitchModel, LaterFrameReplacesTheRecord) {
  SwitchModel model;
  ASSERT_TRUE(model.ApplyReport(FrameReport(0x01, 0x00, {0x01, 0x3A, 0x00, 0x00})));
  ASSERT_TRUE(model.ApplyReport(FrameReport(0x02, 0x00, {0xFE, 0x01, 0x00, 0x00})));
  EXPECT_EQ(model.record(0), (Record{0xFE, 0x01, 0x00, 0x00}));
  EXPECT_EQ(model.command(0), 0x02);
}

TEST(SwitchModel, ZeroFillAfterTheFrameIsNotLookedAt) {
  SwitchModel model;
  Report wide(65, 0x00);
  Report frame = FrameReport(0x01, 0x08, {0x02, 0x04, 0x00, 0x00});
  std::copy(frame.begin(), frame.end(), wide.begin());
  wide[64] = 0x55;
  EXPECT_TRUE(model.ApplyReport(wide));
  // Exactly the frame, nothing after it.
  EXPECT_TRUE(model.ApplyReport(Report(frame.begin(), frame.begin() + 8)));
  EXPECT_EQ(model.record(2), (Record{0x02, 0x04, 0x00, 0x00}));
}

struct MalformedCase {
  const char* what;
  Report report;
};

class SwitchModelRejects : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(SwitchModelRejects, ReportAndChangesNothing) {
  SwitchModel model;
  ASSERT_TRUE(model.ApplyReport(FrameReport(0x01, 0x04, {0x01, 0x3A, 0x00, 0x00})));
  const std::string before = model.Dump();

  EXPECT_FALSE(model.ApplyReport(GetParam().report)) << GetParam().what;
  EXPECT_EQ(model.Dump(), before) << GetParam().what;
  EXPECT_EQ(model.command(1), 0x01);
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, SwitchModelRejects,
    ::testing::Values(MalformedCase{"empty", {}}, MalformedCase{"only the report ID", {0x00}},
                      MalformedCase{"frame cut short", {0x00, 0xAA, 0x01, 0x04, 0xFF, 0xFF, 0xFF}},
                      MalformedCase{"report ID 1", {0x01, 0xAA, 0x01, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}},
                      MalformedCase{"no lead byte", {0x00, 0xAB, 0x01, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}},
                      MalformedCase{"no report ID, frame first",
                                    {0xAA, 0x01, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
                      MalformedCase{"command 00", FrameReport(0x00, 0x04, {0xFF, 0xFF, 0xFF, 0xFF})},
                      MalformedCase{"command 03", FrameReport(0x03, 0x04, {0xFF, 0xFF, 0xFF, 0xFF})},
                      MalformedCase{"slot between records", FrameReport(0x01, 0x06, {0xFF, 0xFF, 0xFF, 0xFF})},
                      MalformedCase{"slot past the last record", FrameReport(0x01, 0x80, {0xFF, 0xFF, 0xFF, 0xFF})},
                      MalformedCase{"slot FC", FrameReport(0x01, 0xFC, {0xFF, 0xFF, 0xFF, 0xFF})}));

TEST(SwitchModel, ClearingEverySlotFillsEveryRecord) {
  SwitchModel model;
  for (std::uint8_t slot = 0; slot <= 0x7C; slot = static_cast<std::uint8_t>(slot + 4)) {
    ASSERT_TRUE(model.ApplyReport(FrameReport(0x01, slot, {0xFF, 0xFF, 0xFF, 0xFF}))) << int{slot};
  }
  for (std::size_t index = 0; index < SwitchModel::kRecordCount; ++index) {
    EXPECT_EQ(model.record(index), (Record{0xFF, 0xFF, 0xFF, 0xFF})) << index;
  }
}

}  // namespace
}  // namespace kestrova::device
