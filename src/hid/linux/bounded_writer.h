#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

namespace kestrova::hid::linux_hidraw {

// Writes reports on a thread of its own, so a device that stalls a write in
// the kernel (a hung USB device can for seconds) holds the caller no longer
// than the wait bound. Writes run one at a time in the order they came.
class BoundedWriter {
 public:
  explicit BoundedWriter(std::chrono::milliseconds waitBound);
  BoundedWriter(const BoundedWriter&) = delete;
  BoundedWriter& operator=(const BoundedWriter&) = delete;
  ~BoundedWriter();

  // One write() of all of `bytes` to `fd`. True only when the whole of it
  // went out within the bound. Works on a copy of the bytes and a duplicate
  // of the descriptor, so the caller may close its own at once; a write that
  // is still waiting its turn when the bound passes is dropped, one that has
  // started finishes in the background.
  bool Write(int fd, std::span<const std::uint8_t> bytes);

 private:
  struct Shared;

  std::chrono::milliseconds waitBound_;
  std::shared_ptr<Shared> shared_;
  std::mutex threadMutex_;
  std::thread thread_;  // started by the first write
};

}  // namespace kestrova::hid::linux_hidraw
