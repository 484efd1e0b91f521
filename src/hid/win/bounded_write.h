#pragma once

#include "hid/win/win32_api.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <span>

namespace kestrova::hid::win {

struct WriteJob;

// Synchronous writes to handles opened without FILE_FLAG_OVERLAPPED that
// give up after a bounded wait. A HID device that stops taking reports
// would otherwise hold the window's thread in WriteFile for good.
//
// Each write runs WriteFile on a short-lived helper thread, through a
// duplicate of the handle that the helper owns, while the caller waits for
// the thread with a timeout. On timeout the caller cancels the helper's I/O
// (CancelSynchronousIo) and waits a little more. A write that ignores even
// the cancel is left to finish on its own: the helper keeps the buffer and
// the duplicate alive and closes them when the driver lets go, so closing
// the caller's handle neither blocks nor leaks. Until then further writes to
// that handle fail at once rather than pile up more stuck threads behind
// the first.
class BoundedWriter {
 public:
  struct Timing {
    std::chrono::milliseconds write{500};
    std::chrono::milliseconds afterCancel{500};
  };

  BoundedWriter() = default;
  explicit BoundedWriter(Timing timing) : timing_(timing) {}
  BoundedWriter(const BoundedWriter&) = delete;
  BoundedWriter& operator=(const BoundedWriter&) = delete;
  ~BoundedWriter();

  // True when all bytes were written within the time allowed.
  bool Write(HANDLE handle, std::span<const std::uint8_t> bytes);

  // The caller is about to close this handle: forget any stuck write on it
  // (the helper still closes its own duplicate).
  void Forget(HANDLE handle);

 private:
  bool HasStuckWrite(HANDLE handle);

  Timing timing_;
  std::map<HANDLE, std::shared_ptr<WriteJob>> stuck_;
};

}  // namespace kestrova::hid::win
