#include "hid/win/interface_path.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kestrova::hid::win {

namespace {

constexpr std::size_t kPathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);

}  // namespace

std::optional<std::size_t> DetailBufferSize(DWORD requiredSize) {
  if (requiredSize < sizeof(DWORD)) return std::nullopt;
  return std::max<std::size_t>(requiredSize, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) + 1;
}

std::string PathFromDetailRecord(std::span<const char> record) {
  if (record.size() <= kPathOffset) return {};
  const std::span<const char> text = record.subspan(kPathOffset);
  const auto end = std::find(text.begin(), text.end(), '\0');
  return std::string(text.begin(), end);
}

std::string ReadInterfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& interfaceData) {
  DWORD requiredSize = 0;
  // Expected to fail with ERROR_INSUFFICIENT_BUFFER; only the size counts.
  SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, nullptr, 0, &requiredSize, nullptr);
  const std::optional<std::size_t> bufferSize = DetailBufferSize(requiredSize);
  if (!bufferSize) return {};

  std::vector<char> buffer(*bufferSize, '\0');
  // The size field holds the size of the record's fixed part for this
  // build's layout, not of the buffer.
  const DWORD recordSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
  std::memcpy(buffer.data(), &recordSize, sizeof recordSize);
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
  if (SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, detail, requiredSize, &requiredSize, nullptr) == FALSE) {
    return {};
  }
  return PathFromDetailRecord(buffer);
}

}  // namespace kestrova::hid::win
