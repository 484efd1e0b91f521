#include "sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "privileges.h"

namespace kestrova::e2e {
namespace {

using Clock = std::chrono::steady_clock;

std::string SimPath() {
  const char* path = std::getenv("KESTROVA_SIM");
  return path != nullptr && *path != '\0' ? path : "kestrova-sim";
}

// "output 0 vendor output 00 AA ..." -> {"0", "vendor", "output", "00 AA ..."}
bool SplitOutputLine(const std::string& line, std::string& index, std::string& type, std::string& bytes) {
  constexpr std::string_view kPrefix = "output ";
  if (line.rfind(kPrefix, 0) != 0) return false;
  std::size_t start = kPrefix.size();
  std::string fields[3];
  for (std::string& field : fields) {
    const std::size_t space = line.find(' ', start);
    if (space == std::string::npos) return false;
    field = line.substr(start, space - start);
    start = space + 1;
  }
  index = fields[0];
  type = fields[2];
  bytes = line.substr(start);
  return true;
}

}  // namespace

SimProcess::SimProcess(const std::vector<std::string>& args) {
  // A simulator that died must fail the test, not kill it with SIGPIPE.
  ::signal(SIGPIPE, SIG_IGN);

  int input[2], output[2];
  if (::pipe2(input, O_CLOEXEC) != 0) return;
  if (::pipe2(output, O_CLOEXEC) != 0) {
    ::close(input[0]);
    ::close(input[1]);
    return;
  }
  const std::string path = SimPath();
  std::vector<std::string> argvText{path, "--commands"};
  argvText.insert(argvText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  argv.reserve(argvText.size() + 1);
  for (std::string& arg : argvText) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid == 0) {
    // Only async-signal-safe calls from here to exec: the parent has threads.
    ::dup2(input[0], STDIN_FILENO);
    ::dup2(output[1], STDOUT_FILENO);
    // The test may run as an unprivileged user with root kept as its saved
    // ID; the simulator needs root for /dev/uhid and for the node modes.
    if (::geteuid() != 0) {
      ::syscall(SYS_setresgid, 0, 0, 0);
      ::syscall(SYS_setresuid, 0, 0, 0);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execv(path.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(input[0]);
  ::close(output[1]);
  if (pid < 0) {
    ::close(input[1]);
    ::close(output[0]);
    return;
  }
  pid_ = pid;
  toSim_ = input[1];
  fromSim_ = output[0];
}

SimProcess::~SimProcess() {
  if (pid_ <= 0) return;
  // End of its input makes the simulator remove its device and exit.
  if (toSim_ >= 0) {
    ::close(toSim_);
    toSim_ = -1;
  }
  const auto deadline = Clock::now() + kSimWait;
  while (!outputClosed_ && Clock::now() < deadline) ReadUntil(deadline);
  Reap(!outputClosed_);
}

void SimProcess::Send(const std::string& command) {
  if (toSim_ < 0) return;
  const std::string line = command + "\n";
  // A short line into an empty pipe goes in whole.
  if (::write(toSim_, line.data(), line.size()) < 0) {
    ::close(toSim_);
    toSim_ = -1;
  }
}

bool SimProcess::ReadUntil(Clock::time_point deadline) {
  if (outputClosed_) return false;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  pollfd ready{fromSim_, POLLIN, 0};
  const int polled = ::poll(&ready, 1, static_cast<int>(left > 0 ? left : 0));
  if (polled <= 0) return true;
  char buffer[8192];
  const ssize_t got = ::read(fromSim_, buffer, sizeof(buffer));
  if (got < 0 && errno == EINTR) return true;
  if (got <= 0) {
    outputClosed_ = true;
    return false;
  }
  partial_.append(buffer, static_cast<std::size_t>(got));
  std::size_t end;
  while ((end = partial_.find('\n')) != std::string::npos) {
    lines_.push_back(partial_.substr(0, end));
    partial_.erase(0, end + 1);
  }
  return true;
}

std::optional<std::string> SimProcess::WaitFor(std::string_view prefix, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    for (; cursor_ < lines_.size(); ++cursor_) {
      if (lines_[cursor_].rfind(prefix, 0) == 0) return lines_[cursor_++];
    }
    if (outputClosed_ || Clock::now() >= deadline) return std::nullopt;
    ReadUntil(deadline);
  }
}

std::vector<std::string> SimProcess::WaitForNodes(std::size_t count, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  std::vector<std::string> nodes(count);
  std::size_t found = 0;
  std::size_t lastFound = cursor_;
  for (std::size_t scanned = cursor_;;) {
    for (; scanned < lines_.size(); ++scanned) {
      const std::string& line = lines_[scanned];
      // "node I KIND /dev/hidrawN"
      if (line.rfind("node ", 0) != 0) continue;
      const std::size_t indexEnd = line.find(' ', 5);
      const std::size_t pathStart = line.rfind(' ');
      if (indexEnd == std::string::npos || pathStart <= indexEnd) continue;
      const std::size_t index = std::stoul(line.substr(5, indexEnd - 5));
      if (index < count && nodes[index].empty()) {
        nodes[index] = line.substr(pathStart + 1);
        ++found;
        lastFound = scanned + 1;
      }
    }
    if (found == count) {
      cursor_ = lastFound;
      return nodes;
    }
    if (outputClosed_ || Clock::now() >= deadline) return {};
    ReadUntil(deadline);
  }
}

std::vector<std::string> SimProcess::DumpRecords() {
  Send("dump");
  std::vector<std::string> records;
  constexpr std::string_view kRecord = "record ";
  for (;;) {
    const std::optional<std::string> line = WaitFor("record");
    if (!line || *line == "records end") break;
    // "record SLOT CMD D0 D1 D2 D3"
    records.push_back(line->substr(kRecord.size() + 3));
  }
  return records;
}

std::vector<std::string> SimProcess::OutputsOf(std::size_t index, std::size_t since) const {
  std::vector<std::string> reports;
  const std::string wanted = std::to_string(index);
  for (std::size_t i = since; i < lines_.size(); ++i) {
    std::string lineIndex, type, bytes;
    if (SplitOutputLine(lines_[i], lineIndex, type, bytes) && lineIndex == wanted && type == "output") {
      reports.push_back(bytes);
    }
  }
  return reports;
}

std::size_t SimProcess::Count(std::string_view line, std::size_t since) const {
  std::size_t count = 0;
  for (std::size_t i = since; i < lines_.size(); ++i) count += lines_[i] == line ? 1u : 0u;
  return count;
}

std::string SimProcess::Tail(std::size_t count) const {
  std::string text;
  for (std::size_t i = lines_.size() > count ? lines_.size() - count : 0; i < lines_.size(); ++i) {
    text += "  sim: " + lines_[i] + "\n";
  }
  return text;
}

bool SimProcess::Quit() {
  if (pid_ <= 0) return exitStatus_ == 0;
  Send("quit");
  const auto deadline = Clock::now() + kSimWait;
  while (!outputClosed_ && Clock::now() < deadline) ReadUntil(deadline);
  Reap(!outputClosed_);
  return exitStatus_ == 0;
}

void SimProcess::Reap(bool force) {
  if (force) {
    const EffectiveRoot root;  // the simulator runs as root
    ::kill(pid_, SIGKILL);
  }
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  pid_ = -1;
  if (toSim_ >= 0) ::close(toSim_);
  if (fromSim_ >= 0) ::close(fromSim_);
  toSim_ = fromSim_ = -1;
}

}  // namespace kestrova::e2e
