#include "hid/win/win_hid_port.h"

#include "hid/platform_port.h"
#include "hid/win/interface_path.h"
#include "hid/win/win32_handles.h"

namespace kestrova::hid {

std::unique_ptr<HidPort> MakePlatformPort() { return std::make_unique<win::WinHidPort>(); }

namespace win {

namespace {

HANDLE NativeOf(const DeviceHandle& handle) { return reinterpret_cast<HANDLE>(handle.native()); }

OpenFailure FailureOf(DWORD error) {
  // Keyboards and mice, and devices held exclusively by another program,
  // answer so: present, but not to be opened for reading and writing.
  return error == ERROR_ACCESS_DENIED ? OpenFailure::AccessDenied : OpenFailure::Other;
}

}  // namespace

std::vector<HidInterface> WinHidPort::EnumerateInterfaces() {
  GUID hidGuid;
  HidD_GetHidGuid(&hidGuid);
  const DeviceInfoSet set(SetupDiGetClassDevsA(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  std::vector<HidInterface> interfaces;
  if (!set) return interfaces;

  for (DWORD index = 0;; ++index) {
    SP_DEVICE_INTERFACE_DATA interfaceData{};
    interfaceData.cbSize = sizeof interfaceData;
    if (SetupDiEnumDeviceInterfaces(set.get(), nullptr, &hidGuid, index, &interfaceData) == FALSE) {
      break;
    }
    // Windows itself refuses read-write opens of keyboard and mouse
    // collections, so they need no marking here; their IDs are only known
    // by opening.
    interfaces.push_back(HidInterface{ReadInterfacePath(set.get(), interfaceData), std::nullopt, false});
  }
  return interfaces;
}

DeviceHandle WinHidPort::Open(const std::string& path, OpenMode mode) {
  if (path.empty()) return DeviceHandle::Failed(OpenFailure::Other);
  SECURITY_ATTRIBUTES security{};
  security.nLength = sizeof security;
  security.lpSecurityDescriptor = nullptr;
  security.bInheritHandle = TRUE;
  const DWORD flags = mode == OpenMode::Overlapped ? FILE_FLAG_OVERLAPPED : 0;
  const HANDLE native = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &security, OPEN_EXISTING, flags, nullptr);
  if (native == INVALID_HANDLE_VALUE) return DeviceHandle::Failed(FailureOf(GetLastError()));
  return AdoptHandle(reinterpret_cast<std::intptr_t>(native));
}

std::optional<DeviceIds> WinHidPort::ReadAttributes(const DeviceHandle& handle) {
  if (!handle.valid()) return std::nullopt;
  HIDD_ATTRIBUTES attributes{};
  attributes.Size = sizeof attributes;
  if (HidD_GetAttributes(NativeOf(handle), &attributes) == FALSE) return std::nullopt;
  return DeviceIds{attributes.VendorID, attributes.ProductID};
}

std::optional<std::uint16_t> WinHidPort::ReadOutputReportLength(const DeviceHandle& handle) {
  if (!handle.valid()) return std::nullopt;
  const PreparsedData preparsed = PreparsedData::Read(NativeOf(handle));
  if (!preparsed) return std::nullopt;
  HIDP_CAPS caps{};
  if (HidP_GetCaps(preparsed.get(), &caps) != HIDP_STATUS_SUCCESS) return std::nullopt;
  return caps.OutputReportByteLength;
}

bool WinHidPort::Write(const DeviceHandle& handle, std::span<const std::uint8_t> report) {
  if (!handle.valid()) return false;
  return writer_.Write(NativeOf(handle), report);
}

bool WinHidPort::CloseNative(std::intptr_t native) {
  const HANDLE handle = reinterpret_cast<HANDLE>(native);
  writer_.Forget(handle);
  return CloseHandle(handle) != FALSE;
}

}  // namespace win
}  // namespace kestrova::hid
