#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hid/win/win32_handles.h"

namespace kestrova::hid::win {

// The server end of a fresh named pipe: a file the backend can open by
// path, write to, and that blocks a writer while nobody reads it.
class PipeServer {
 public:
  explicit PipeServer(DWORD bufferSize);

  const std::string& path() const { return path_; }
  bool ready() const { return static_cast<bool>(server_); }
  // Reads up to `count` bytes already written by the client.
  std::vector<std::uint8_t> Read(std::size_t count);
  // Ends the pipe; a client write still waiting then fails.
  void Close() { server_.reset(); }

 private:
  std::string path_;
  OwnedHandle server_;
};

// Handles this process holds now.
DWORD OpenHandleCount();

}  // namespace kestrova::hid::win
