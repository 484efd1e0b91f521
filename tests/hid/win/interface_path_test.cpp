// Reading the device path out of an interface detail record stays inside
// the buffer, whatever size the system reports.

#include "hid/win/interface_path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace kestrova::hid::win {
namespace {

constexpr std::size_t kHeader = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);

TEST(DetailBufferSize, NoBufferForASizeThatCannotHoldTheSizeField) {
  for (DWORD required = 0; required < 4; ++required) {
    EXPECT_FALSE(DetailBufferSize(required)) << required;
  }
}

TEST(DetailBufferSize, AlwaysHoldsTheRecordHeaderAndAClosingZero) {
  EXPECT_EQ(DetailBufferSize(4), kHeader + 1);
  EXPECT_EQ(DetailBufferSize(static_cast<DWORD>(kHeader)), kHeader + 1);
  EXPECT_EQ(DetailBufferSize(200), 201u);
}

std::vector<char> Record(std::string_view path, bool terminated) {
  std::vector<char> record(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath), '\x7f');
  record.insert(record.end(), path.begin(), path.end());
  if (terminated) record.insert(record.end(), {'\0', 'x', 'y'});
  return record;
}

TEST(PathFromDetailRecord, StopsAtTheFirstZeroOrAtTheEndOfTheBuffer) {
  const std::string path = "\\\\?\\hid#vid_2704&pid_2018#7&1a2b&0&0000#{4d1e55b2}";
  EXPECT_EQ(PathFromDetailRecord(Record(path, true)), path);
  EXPECT_EQ(PathFromDetailRecord(Record(path, false)), path);
  EXPECT_EQ(PathFromDetailRecord(Record("", true)), "");
}

TEST(PathFromDetailRecord, ARecordNoLongerThanItsSizeFieldHasNoPath) {
  EXPECT_EQ(PathFromDetailRecord({}), "");
  const std::vector<char> header(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath), 'a');
  EXPECT_EQ(PathFromDetailRecord(header), "");
}

}  // namespace
}  // namespace kestrova::hid::win
