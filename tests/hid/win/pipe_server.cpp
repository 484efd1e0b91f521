#include "pipe_server.h"

#include <atomic>
#include <cstdint>

namespace kestrova::hid::win {

namespace {

std::string UniquePipePath() {
  static std::atomic<unsigned> counter{0};
  return "\\\\.\\pipe\\kestrova-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
}

}  // namespace

PipeServer::PipeServer(DWORD bufferSize)
    : path_(UniquePipePath()),
      server_(CreateNamedPipeA(path_.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1, bufferSize, bufferSize,
                               0, nullptr)) {}

std::vector<std::uint8_t> PipeServer::Read(std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  DWORD read = 0;
  if (ReadFile(server_.get(), bytes.data(), static_cast<DWORD>(count), &read, nullptr) == FALSE) {
    read = 0;
  }
  bytes.resize(read);
  return bytes;
}

DWORD OpenHandleCount() {
  // Counted one by one: wine answers GetProcessHandleCount with 0. Handle
  // values are multiples of 4 and handed out densely from the bottom, so
  // the first 4096 values cover every handle a test process holds.
  DWORD count = 0;
  for (std::uintptr_t value = 4; value < 0x4000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != FALSE) ++count;
  }
  return count;
}

}  // namespace kestrova::hid::win
