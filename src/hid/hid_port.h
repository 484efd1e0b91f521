#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kestrova::hid {

struct DeviceIds {
  std::uint16_t vendor = 0;
  std::uint16_t product = 0;
  friend bool operator==(const DeviceIds&, const DeviceIds&) = default;
};

// One HID interface as the system lists it.
struct HidInterface {
  // Empty when the system could not tell the path; opening it then fails.
  std::string path;
  // The IDs when the system tells them without opening the interface, so
  // discovery can pass over other devices without waking them.
  std::optional<DeviceIds> idsWithoutOpening;
  // Every top-level collection is a keyboard, keypad or mouse. Such an
  // interface takes no configuration reports, and on platforms that allow
  // opening it anyway it is treated as one that does not open.
  bool keyboardOrMouseOnly = false;
};

enum class OpenMode {
  ReadWrite,   // blocking handle that reports are written to
  Overlapped,  // second handle for asynchronous reading
};

enum class OpenFailure {
  None,
  AccessDenied,  // present, but the user may not open it (permissions)
  Other,
};

class HidPort;

// Owns one open device handle; closes it when destroyed. Validity comes from
// a successful open, never from the value of the native handle.
class DeviceHandle {
 public:
  DeviceHandle() = default;
  DeviceHandle(const DeviceHandle&) = delete;
  DeviceHandle& operator=(const DeviceHandle&) = delete;
  DeviceHandle(DeviceHandle&& other) noexcept;
  DeviceHandle& operator=(DeviceHandle&& other) noexcept;
  ~DeviceHandle();

  bool valid() const { return port_ != nullptr; }
  std::intptr_t native() const { return native_; }
  OpenFailure failure() const { return failure_; }

  // Closes now; returns the platform's answer. Closing an invalid handle
  // does nothing and returns false.
  bool Close();

  static DeviceHandle Failed(OpenFailure why) {
    DeviceHandle handle;
    handle.failure_ = why;
    return handle;
  }

 private:
  friend class HidPort;
  DeviceHandle(HidPort* port, std::intptr_t native) : port_(port), native_(native), failure_(OpenFailure::None) {}

  HidPort* port_ = nullptr;
  std::intptr_t native_ = 0;
  OpenFailure failure_ = OpenFailure::Other;
};

// What device discovery and frame writing need from the operating system.
// Handles must not outlive the port that opened them.
class HidPort {
 public:
  virtual ~HidPort() = default;

  // The HID interfaces present, in a stable order.
  virtual std::vector<HidInterface> EnumerateInterfaces() = 0;
  // An invalid handle (with the reason) when the path does not open.
  virtual DeviceHandle Open(const std::string& path, OpenMode mode) = 0;
  // Vendor and product ID; nullopt when they cannot be read.
  virtual std::optional<DeviceIds> ReadAttributes(const DeviceHandle& handle) = 0;
  // Output report length in bytes, the report ID byte included (0 when the
  // device declares no output report); nullopt when it cannot be read.
  virtual std::optional<std::uint16_t> ReadOutputReportLength(const DeviceHandle& handle) = 0;
  // One synchronous write of a whole report; false when it did not go out.
  // Must return within a short bounded time even if the device hangs.
  virtual bool Write(const DeviceHandle& handle, std::span<const std::uint8_t> report) = 0;

 protected:
  DeviceHandle AdoptHandle(std::intptr_t native) { return DeviceHandle(this, native); }

 private:
  friend class DeviceHandle;
  virtual bool CloseNative(std::intptr_t native) = 0;
};

}  // namespace kestrova::hid
