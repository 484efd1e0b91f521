#include "hid/linux/hidraw_port.h"

#include <fcntl.h>
#include <linux/hid.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <string>
#include <string_view>
#include <utility>

#include "hid/linux/sysfs_hidraw.h"
#include "hid/report_descriptor.h"

namespace kestrova::hid {
namespace {

using linux_hidraw::ListHidrawNumbers;
using linux_hidraw::ParseHidIdLine;
using linux_hidraw::ReadSmallFile;

// Holds a uevent text and a report descriptor, which the kernel caps at this.
using SysfsBuffer = std::array<std::uint8_t, HID_MAX_DESCRIPTOR_SIZE>;

// "hidrawN/device/<leaf>", relative to the class directory.
class DeviceAttributePath {
 public:
  DeviceAttributePath(unsigned number, std::string_view leaf) {
    constexpr std::string_view kPrefix = "hidraw";
    constexpr std::string_view kDevice = "/device/";
    char* out = std::copy(kPrefix.begin(), kPrefix.end(), text_.data());
    out = std::to_chars(out, out + 10, number).ptr;
    out = std::copy(kDevice.begin(), kDevice.end(), out);
    out = std::copy(leaf.begin(), leaf.end(), out);
    *out = '\0';
  }
  const char* c_str() const { return text_.data(); }

 private:
  std::array<char, 48> text_{};  // longest: hidraw4294967295/device/report_descriptor
};

// The key of a node's device in the known devices: the node's number and
// the target of its device link; nullopt when the link cannot be read.
std::optional<std::string> DeviceKey(int classDirFd, unsigned number) {
  const std::string link = "hidraw" + std::to_string(number) + "/device";
  std::array<char, 512> target{};
  const ssize_t length = readlinkat(classDirFd, link.c_str(), target.data(), target.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return std::nullopt;
  return std::to_string(number) + " " + std::string(target.data(), static_cast<std::size_t>(length));
}

std::optional<DeviceIds> ReadIdsFromUevent(int classDirFd, unsigned number, SysfsBuffer& buffer) {
  const auto size = ReadSmallFile(classDirFd, DeviceAttributePath(number, "uevent").c_str(), buffer);
  if (!size) return std::nullopt;
  std::string_view text(reinterpret_cast<const char*>(buffer.data()), *size);
  // A text that filled the buffer may end inside a line; keep whole lines only.
  if (*size == buffer.size()) text = text.substr(0, text.rfind('\n') + 1);
  return ParseHidIdLine(text);
}

// nullopt when the descriptor cannot be read.
std::optional<bool> DescriptorIsKeyboardOrMouseOnly(int classDirFd, unsigned number, SysfsBuffer& buffer) {
  const auto size = ReadSmallFile(classDirFd, DeviceAttributePath(number, "report_descriptor").c_str(), buffer);
  if (!size) return std::nullopt;
  const auto summary = ParseReportDescriptor(std::span<const std::uint8_t>(buffer.data(), *size));
  return AllTopLevelCollectionsAreKeyboardOrMouse(summary.applicationCollections);
}

int FdOf(const DeviceHandle& handle) { return static_cast<int>(handle.native()); }

}  // namespace

HidrawPort::HidrawPort(HidrawLocations locations, std::chrono::milliseconds writeBound)
    : locations_(std::move(locations)), writer_(writeBound) {}

std::vector<HidInterface> HidrawPort::EnumerateInterfaces() {
  std::vector<HidInterface> interfaces;
  const int classDirFd = open(locations_.sysfsClassDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (classDirFd < 0) return interfaces;
  const std::vector<unsigned> numbers = ListHidrawNumbers(classDirFd);
  interfaces.reserve(numbers.size());
  SysfsBuffer buffer;
  std::unordered_map<std::string, KnownDevice> listedNow;
  for (const unsigned number : numbers) {
    HidInterface& listed = interfaces.emplace_back();
    listed.path = locations_.deviceDir + "/hidraw" + std::to_string(number);
    std::optional<std::string> key = DeviceKey(classDirFd, number);
    const auto known = key ? known_.find(*key) : known_.end();
    KnownDevice device;
    if (known != known_.end()) {
      device = known->second;
    } else {
      device.ids = ReadIdsFromUevent(classDirFd, number, buffer);
      const std::optional<bool> keyboardOrMouseOnly = DescriptorIsKeyboardOrMouseOnly(classDirFd, number, buffer);
      device.keyboardOrMouseOnly = keyboardOrMouseOnly.value_or(false);
      // A read that failed is tried again at the next listing.
      if (!device.ids || !keyboardOrMouseOnly) key.reset();
    }
    if (key) listedNow.emplace(*key, device);
    listed.idsWithoutOpening = device.ids;
    listed.keyboardOrMouseOnly = device.keyboardOrMouseOnly;
  }
  close(classDirFd);
  // Devices gone since are forgotten.
  known_ = std::move(listedNow);
  return interfaces;
}

DeviceHandle HidrawPort::Open(const std::string& path, OpenMode mode) {
  if (path.empty()) return DeviceHandle::Failed(OpenFailure::Other);
  int flags = O_RDWR | O_CLOEXEC;
  if (mode == OpenMode::Overlapped) flags |= O_NONBLOCK;
  int fd = -1;
  do {
    fd = open(path.c_str(), flags);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    return DeviceHandle::Failed(errno == EACCES || errno == EPERM ? OpenFailure::AccessDenied : OpenFailure::Other);
  }
  return AdoptHandle(fd);
}

std::optional<DeviceIds> HidrawPort::ReadAttributes(const DeviceHandle& handle) {
  if (!handle.valid()) return std::nullopt;
  hidraw_devinfo info{};
  if (ioctl(FdOf(handle), HIDIOCGRAWINFO, &info) < 0) return std::nullopt;
  return DeviceIds{static_cast<std::uint16_t>(info.vendor), static_cast<std::uint16_t>(info.product)};
}

std::optional<std::uint16_t> HidrawPort::ReadOutputReportLength(const DeviceHandle& handle) {
  if (!handle.valid()) return std::nullopt;
  int size = 0;
  if (ioctl(FdOf(handle), HIDIOCGRDESCSIZE, &size) < 0) return std::nullopt;
  if (size < 0 || size > HID_MAX_DESCRIPTOR_SIZE) return std::nullopt;
  hidraw_report_descriptor descriptor{};
  descriptor.size = static_cast<std::uint32_t>(size);
  if (ioctl(FdOf(handle), HIDIOCGRDESC, &descriptor) < 0) return std::nullopt;
  const std::size_t length = std::min<std::size_t>(descriptor.size, sizeof descriptor.value);
  return ParseReportDescriptor(std::span<const std::uint8_t>(descriptor.value, length)).outputReportByteLength;
}

bool HidrawPort::Write(const DeviceHandle& handle, std::span<const std::uint8_t> report) {
  if (!handle.valid()) return false;
  return writer_.Write(FdOf(handle), report);
}

bool HidrawPort::CloseNative(std::intptr_t native) {
  // Not retried on EINTR: Linux has released the descriptor either way.
  return close(static_cast<int>(native)) == 0;
}

}  // namespace kestrova::hid
