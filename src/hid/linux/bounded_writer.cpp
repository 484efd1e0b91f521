#include "hid/linux/bounded_writer.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <ctime>
#include <deque>
#include <system_error>
#include <vector>

namespace kestrova::hid::linux_hidraw {
namespace {

enum class JobState { Waiting, Running, Succeeded, Failed };

struct Job {
  Job(int ownFd, std::span<const std::uint8_t> source) : fd(ownFd), bytes(source.begin(), source.end()) {}
  Job(const Job&) = delete;
  Job& operator=(const Job&) = delete;
  // Whoever lets go of the job last, the caller or the writer thread, closes
  // the duplicate; so it lives exactly as long as the write may still use it.
  ~Job() { close(fd); }

  const int fd;
  const std::vector<std::uint8_t> bytes;
  JobState state = JobState::Waiting;
};

bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
  for (;;) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    return written >= 0 && static_cast<std::size_t>(written) == bytes.size();
  }
}

// A reader that went away must fail the write, not end the program.
void BlockBrokenPipeSignal() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

// The blocked signal stays pending on this thread; take it so it cannot reach
// anyone once it is unblocked.
void DiscardPendingBrokenPipeSignal() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGPIPE);
  const timespec noWait{};
  while (sigtimedwait(&set, nullptr, &noWait) == SIGPIPE) {
  }
}

}  // namespace

struct BoundedWriter::Shared {
  std::mutex mutex;
  std::condition_variable workArrived;
  std::condition_variable jobFinished;
  std::deque<std::shared_ptr<Job>> queue;
  bool writing = false;
  bool stopping = false;

  void Run() {
    BlockBrokenPipeSignal();
    std::unique_lock lock(mutex);
    for (;;) {
      workArrived.wait(lock, [this] { return stopping || !queue.empty(); });
      if (stopping) break;
      std::shared_ptr<Job> job = std::move(queue.front());
      queue.pop_front();
      job->state = JobState::Running;
      writing = true;
      lock.unlock();

      const bool ok = WriteAll(job->fd, job->bytes);
      if (!ok && errno == EPIPE) DiscardPendingBrokenPipeSignal();

      lock.lock();
      job->state = ok ? JobState::Succeeded : JobState::Failed;
      writing = false;
      // Let go before the caller wakes: a caller that got its answer holds
      // the last reference, so the duplicate is closed when Write returns.
      job.reset();
      jobFinished.notify_all();
    }
    queue.clear();
  }
};

BoundedWriter::BoundedWriter(std::chrono::milliseconds waitBound)
    : waitBound_(waitBound), shared_(std::make_shared<Shared>()) {}

BoundedWriter::~BoundedWriter() {
  bool writing = false;
  {
    std::lock_guard lock(shared_->mutex);
    shared_->stopping = true;
    writing = shared_->writing;
  }
  shared_->workArrived.notify_all();
  std::lock_guard threadLock(threadMutex_);
  if (!thread_.joinable()) return;
  // A write stuck in the kernel must not hold up the program's end either;
  // the thread owns what it touches and finishes by itself.
  if (writing) {
    thread_.detach();
  } else {
    thread_.join();
  }
}

bool BoundedWriter::Write(int fd, std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return false;
  const int ownFd = fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (ownFd < 0) return false;
  auto job = std::make_shared<Job>(ownFd, bytes);
  {
    std::lock_guard threadLock(threadMutex_);
    if (!thread_.joinable()) {
      try {
        thread_ = std::thread([shared = shared_] { shared->Run(); });
      } catch (const std::system_error&) {
        return false;  // no thread to write on: the report does not go out
      }
    }
  }

  std::unique_lock lock(shared_->mutex);
  shared_->queue.push_back(job);
  shared_->workArrived.notify_one();
  const bool finished = shared_->jobFinished.wait_for(
      lock, waitBound_, [&job] { return job->state == JobState::Succeeded || job->state == JobState::Failed; });
  if (!finished) {
    auto& queue = shared_->queue;
    queue.erase(std::remove(queue.begin(), queue.end(), job), queue.end());
    return false;
  }
  return job->state == JobState::Succeeded;
}

}  // namespace kestrova::hid::linux_hidraw
