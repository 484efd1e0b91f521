#pragma once

// Owners for the Win32 resources the HID backend holds for a while: a kernel
// handle, a device information set and HID preparsed data. Each releases its
// resource exactly once, on every path out of the scope that holds it.

#include "hid/win/win32_api.h"

#include <utility>

namespace kestrova::hid::win {

// A kernel object handle (file, thread) closed with CloseHandle.
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(HANDLE handle) : handle_(IsValid(handle) ? handle : nullptr) {}
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.release()) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~OwnedHandle() { reset(); }

  explicit operator bool() const { return handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  HANDLE release() { return std::exchange(handle_, nullptr); }
  // Closes the held handle; true when there was one and the close succeeded.
  bool reset(HANDLE replacement = nullptr) {
    const HANDLE old = std::exchange(handle_, IsValid(replacement) ? replacement : nullptr);
    return old != nullptr && CloseHandle(old) != FALSE;
  }

 private:
  // CreateFile reports failure as INVALID_HANDLE_VALUE, CreateThread as null.
  static bool IsValid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

  HANDLE handle_ = nullptr;
};

// A device information set from SetupDiGetClassDevs.
class DeviceInfoSet {
 public:
  explicit DeviceInfoSet(HDEVINFO set) : set_(set) {}
  DeviceInfoSet(const DeviceInfoSet&) = delete;
  DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;
  ~DeviceInfoSet() {
    if (*this) SetupDiDestroyDeviceInfoList(set_);
  }

  explicit operator bool() const { return set_ != INVALID_HANDLE_VALUE && set_ != nullptr; }
  HDEVINFO get() const { return set_; }

 private:
  HDEVINFO set_;
};

// The preparsed report descriptor of an open HID device.
class PreparsedData {
 public:
  // Empty when the handle is no HID device (or no longer one): the caller
  // then has no data at all, never stale data from an earlier read.
  static PreparsedData Read(HANDLE device) {
    PHIDP_PREPARSED_DATA data = nullptr;
    if (HidD_GetPreparsedData(device, &data) == FALSE) return PreparsedData(nullptr);
    return PreparsedData(data);
  }
  PreparsedData(const PreparsedData&) = delete;
  PreparsedData& operator=(const PreparsedData&) = delete;
  PreparsedData(PreparsedData&& other) noexcept : data_(std::exchange(other.data_, nullptr)) {}
  PreparsedData& operator=(PreparsedData&&) = delete;
  ~PreparsedData() {
    if (data_ != nullptr) HidD_FreePreparsedData(data_);
  }

  explicit operator bool() const { return data_ != nullptr; }
  PHIDP_PREPARSED_DATA get() const { return data_; }

 private:
  explicit PreparsedData(PHIDP_PREPARSED_DATA data) : data_(data) {}

  PHIDP_PREPARSED_DATA data_;
};

}  // namespace kestrova::hid::win
