#include "hid/linux/sysfs_hidraw.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>

namespace kestrova::hid::linux_hidraw {
namespace {

constexpr std::string_view kHidrawPrefix = "hidraw";
constexpr std::string_view kHidIdKey = "HID_ID=";
// The kernel prints each field with eight digits; more would not be an ID.
constexpr std::size_t kMaxHexDigits = 8;

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// One hexadecimal field of 1 to 8 digits; advances `text` past it.
std::optional<std::uint32_t> TakeHexField(std::string_view& text) {
  const std::size_t digits =
      static_cast<std::size_t>(std::find_if_not(text.begin(), text.end(), IsHexDigit) - text.begin());
  if (digits == 0 || digits > kMaxHexDigits) return std::nullopt;
  std::uint32_t value = 0;
  std::from_chars(text.data(), text.data() + digits, value, 16);
  text.remove_prefix(digits);
  return value;
}

bool TakeChar(std::string_view& text, char expected) {
  if (text.empty() || text.front() != expected) return false;
  text.remove_prefix(1);
  return true;
}

std::optional<std::string_view> FindLine(std::string_view text, std::string_view key) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    if (line.starts_with(key)) return line.substr(key.size());
    start = end + 1;
  }
  return std::nullopt;
}

}  // namespace

std::optional<unsigned> HidrawNumber(std::string_view entryName) {
  if (!entryName.starts_with(kHidrawPrefix)) return std::nullopt;
  const std::string_view digits = entryName.substr(kHidrawPrefix.size());
  if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) return std::nullopt;
  unsigned number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return number;
}

std::vector<unsigned> ListHidrawNumbers(int classDirFd) {
  std::vector<unsigned> numbers;
  // fdopendir takes the descriptor over; the caller keeps its own.
  const int listingFd = fcntl(classDirFd, F_DUPFD_CLOEXEC, 0);
  if (listingFd < 0) return numbers;
  DIR* dir = fdopendir(listingFd);
  if (dir == nullptr) {
    close(listingFd);
    return numbers;
  }
  while (const dirent* entry = readdir(dir)) {
    if (const auto number = HidrawNumber(entry->d_name)) numbers.push_back(*number);
  }
  closedir(dir);
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

std::optional<DeviceIds> ParseHidIdLine(std::string_view ueventText) {
  auto fields = FindLine(ueventText, kHidIdKey);
  if (!fields) return std::nullopt;
  std::string_view rest = *fields;
  const auto bus = TakeHexField(rest);
  if (!bus || !TakeChar(rest, ':')) return std::nullopt;
  const auto vendor = TakeHexField(rest);
  if (!vendor || !TakeChar(rest, ':')) return std::nullopt;
  const auto product = TakeHexField(rest);
  if (!product || !rest.empty()) return std::nullopt;
  if (*vendor > 0xFFFFu || *product > 0xFFFFu) return std::nullopt;
  return DeviceIds{static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product)};
}

std::optional<std::size_t> ReadSmallFile(int dirFd, const char* relativePath, std::span<std::uint8_t> buffer) {
  const int fd = openat(dirFd, relativePath, O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  std::size_t filled = 0;
  bool failed = false;
  while (filled < buffer.size()) {
    const ssize_t got = read(fd, buffer.data() + filled, buffer.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      failed = true;
      break;
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  close(fd);
  if (failed) return std::nullopt;
  return filled;
}

}  // namespace kestrova::hid::linux_hidraw
