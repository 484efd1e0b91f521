#include "hid/win/bounded_write.h"

#include <atomic>
#include <vector>

#include "hid/win/win32_handles.h"

namespace kestrova::hid::win {

// Shared by the caller and the helper thread; whichever lets go last frees it.
struct WriteJob {
  OwnedHandle file;  // the helper's duplicate; closed by the helper
  std::vector<std::uint8_t> bytes;
  DWORD written = 0;
  bool succeeded = false;
  std::atomic<bool> finished{false};
};

namespace {

DWORD WINAPI RunWrite(LPVOID parameter) {
  // The thread's own reference, handed over by the caller.
  std::unique_ptr<std::shared_ptr<WriteJob>> reference(static_cast<std::shared_ptr<WriteJob>*>(parameter));
  WriteJob& job = **reference;
  DWORD written = 0;
  const BOOL ok = WriteFile(job.file.get(), job.bytes.data(), static_cast<DWORD>(job.bytes.size()), &written, nullptr);
  job.file.reset();
  job.written = written;
  job.succeeded = ok != FALSE;
  job.finished.store(true, std::memory_order_release);
  return 0;
}

DWORD Milliseconds(std::chrono::milliseconds duration) { return static_cast<DWORD>(duration.count()); }

}  // namespace

BoundedWriter::~BoundedWriter() = default;

bool BoundedWriter::HasStuckWrite(HANDLE handle) {
  const auto found = stuck_.find(handle);
  if (found == stuck_.end()) return false;
  if (!found->second->finished.load(std::memory_order_acquire)) return true;
  stuck_.erase(found);
  return false;
}

bool BoundedWriter::Write(HANDLE handle, std::span<const std::uint8_t> bytes) {
  if (bytes.size() > MAXDWORD || HasStuckWrite(handle)) return false;

  auto job = std::make_shared<WriteJob>();
  job->bytes.assign(bytes.begin(), bytes.end());
  HANDLE duplicate = nullptr;
  const HANDLE process = GetCurrentProcess();
  if (DuplicateHandle(process, handle, process, &duplicate, 0, FALSE, DUPLICATE_SAME_ACCESS) == FALSE) {
    return false;
  }
  job->file = OwnedHandle(duplicate);

  auto threadReference = std::make_unique<std::shared_ptr<WriteJob>>(job);
  OwnedHandle thread(CreateThread(nullptr, 0, RunWrite, threadReference.get(), 0, nullptr));
  if (!thread) return false;
  threadReference.release();  // now the thread's

  if (WaitForSingleObject(thread.get(), Milliseconds(timing_.write)) != WAIT_OBJECT_0) {
    CancelSynchronousIo(thread.get());
    if (WaitForSingleObject(thread.get(), Milliseconds(timing_.afterCancel)) != WAIT_OBJECT_0) {
      stuck_[handle] = job;
      return false;
    }
  }
  return job->succeeded && job->written == job->bytes.size();
}

void BoundedWriter::Forget(HANDLE handle) { stuck_.erase(handle); }

}  // namespace kestrova::hid::win
