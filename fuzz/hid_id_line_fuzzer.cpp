// The sysfs texts the Linux backend reads: a HID device's uevent (its
// HID_ID line) and the names in the hidraw class directory. Each answer is
// checked against a plain reading of the same text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "hid/linux/sysfs_hidraw.h"

namespace {

using kestrova::hid::DeviceIds;

// -1 for a character that is not a hexadecimal digit.
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "bus:vendor:product", each 1 to 8 hexadecimal digits, nothing else.
std::optional<DeviceIds> ReadFields(std::string_view fields) {
  std::uint64_t values[3] = {};
  std::size_t pos = 0;
  for (int field = 0; field < 3; ++field) {
    std::size_t digits = 0;
    while (pos < fields.size() && HexValue(fields[pos]) >= 0) {
      values[field] = values[field] * 16 + static_cast<std::uint64_t>(HexValue(fields[pos]));
      ++pos;
      ++digits;
    }
    if (digits == 0 || digits > 8) return std::nullopt;
    if (field < 2) {
      if (pos >= fields.size() || fields[pos] != ':') return std::nullopt;
      ++pos;
    }
  }
  if (pos != fields.size() || values[1] > 0xFFFF || values[2] > 0xFFFF) return std::nullopt;
  return DeviceIds{static_cast<std::uint16_t>(values[1]), static_cast<std::uint16_t>(values[2])};
}

// The first line that begins with HID_ID= decides.
std::optional<DeviceIds> ReferenceHidId(std::string_view text) {
  constexpr std::string_view kKey = "HID_ID=";
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    if (line.substr(0, kKey.size()) == kKey) return ReadFields(line.substr(kKey.size()));
    start = end + 1;
  }
  return std::nullopt;
}

std::optional<unsigned> ReferenceHidrawNumber(std::string_view name) {
  constexpr std::string_view kPrefix = "hidraw";
  if (name.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
  const std::string_view digits = name.substr(kPrefix.size());
  if (digits.empty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == '0')) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > std::numeric_limits<unsigned>::max()) return std::nullopt;
  return static_cast<unsigned>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  namespace sysfs = kestrova::hid::linux_hidraw;

  const auto ids = sysfs::ParseHidIdLine(text);
  FUZZ_CHECK(ids == ReferenceHidId(text));
  if (ids) {
    // What the kernel prints for these IDs reads back as the same IDs.
    char line[64];
    std::snprintf(line, sizeof line, "HID_ID=0003:%08X:%08X\n", unsigned{ids->vendor}, unsigned{ids->product});
    FUZZ_CHECK(sysfs::ParseHidIdLine(line) == ids);
  }

  const auto number = sysfs::HidrawNumber(text);
  FUZZ_CHECK(number == ReferenceHidrawNumber(text));
  if (number) FUZZ_CHECK("hidraw" + std::to_string(*number) == text);
  return 0;
}
