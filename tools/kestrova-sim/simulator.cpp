#include "simulator.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

#include "event_log.h"
#include "hidraw_node.h"
#include "report_descriptors.h"

namespace kestrova::sim {
namespace {

// uhid announces the device before hid core has made its hidraw node; the
// node normally follows within milliseconds, even in an emulated machine.
constexpr std::chrono::milliseconds kNodeWaitLimit{10'000};
constexpr int kNodePollMs = 2;
constexpr std::chrono::milliseconds kKeepModeFor{3'000};
constexpr int kModePollMs = 50;

std::string Hex2(unsigned value) {
  return HexBytes(std::span<const std::uint8_t>(std::array{static_cast<std::uint8_t>(value)}));
}

const char* ReportTypeName(std::uint8_t type) {
  switch (type) {
    case UHID_FEATURE_REPORT: return "feature";
    case UHID_OUTPUT_REPORT: return "output";
    case UHID_INPUT_REPORT: return "input";
    default: return "unknown";
  }
}

}  // namespace

Simulator::Simulator(SimOptions options) : options_(std::move(options)) {
  for (std::size_t i = 0; i < options_.interfaces.size(); ++i) {
    Interface entry;
    entry.spec = options_.interfaces[i];
    entry.uniq = "kestrova-sim-" + std::to_string(::getpid()) + "-" + std::to_string(i);
    interfaces_.push_back(std::move(entry));
  }
}

Simulator::~Simulator() {
  if (signalFd_ >= 0) ::close(signalFd_);
}

int Simulator::Run() {
  if (!Start()) return 1;
  while (!quit_) {
    std::vector<pollfd> fds;
    fds.push_back({signalFd_, POLLIN, 0});
    fds.push_back({commandsOpen_ ? STDIN_FILENO : -1, POLLIN, 0});
    for (const Interface& entry : interfaces_) fds.push_back({entry.uhid.fd(), POLLIN, 0});

    const int ready = ::poll(fds.data(), fds.size(), PollTimeout(Clock::now()));
    if (ready < 0 && errno != EINTR) {
      PrintProblem(std::string("poll: ") + std::strerror(errno));
      exitCode_ = 1;
      break;
    }
    if (ready > 0) {
      // The kernel's events first, all that are queued: a command such as
      // "dump" then reflects every report written before it was sent.
      for (std::size_t i = 0; i < interfaces_.size(); ++i) {
        if (fds[i + 2].revents & POLLIN) DrainUhidEvents(i);
      }
      if (fds[0].revents & POLLIN) HandleSignal();
      if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) HandleCommandInput();
    }
    const Clock::time_point now = Clock::now();
    LookForNodes(now);
    KeepNodeModes(now);
    RunDueTimers(now);
  }
  Stop();
  return exitCode_;
}

bool Simulator::Start() {
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signo : {SIGUSR1, SIGUSR2, SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, signo);
  if (::sigprocmask(SIG_BLOCK, &signals, nullptr) != 0 || (signalFd_ = ::signalfd(-1, &signals, SFD_CLOEXEC)) < 0) {
    PrintProblem(std::string("signals: ") + std::strerror(errno));
    return false;
  }
  commandsOpen_ = options_.commands;

  for (Interface& entry : interfaces_) {
    std::string error;
    if (!entry.uhid.Open(options_.uhidPath, error)) {
      PrintProblem(error + " (the simulator needs read and write access to " + options_.uhidPath + ")");
      return false;
    }
  }
  PlugInAll();
  if (quit_) return false;
  const Clock::time_point now = Clock::now();
  if (options_.runTime) runEnd_ = now + *options_.runTime;
  if (options_.pluggedTime) scheduledUnplug_ = now + *options_.pluggedTime;
  return true;
}

bool Simulator::PlugIn(std::size_t index) {
  Interface& entry = interfaces_[index];
  entry.plugPending = false;
  if (entry.uhid.created()) return true;
  DeviceIdentity identity;
  identity.name = options_.name;
  identity.phys = "kestrova-sim-" + std::to_string(::getpid()) + "/input" + std::to_string(index);
  identity.uniq = entry.uniq;
  identity.vendorId = options_.vendorId;
  identity.productId = options_.productId;
  const auto descriptor =
      entry.spec.kind == InterfaceKind::Vendor ? VendorReportDescriptor() : BootKeyboardReportDescriptor();
  std::string error;
  if (!entry.uhid.Create(identity, descriptor, error)) {
    // A switch that cannot appear is of no use to whoever started it.
    PrintProblem("interface " + std::to_string(index) + ": " + error);
    exitCode_ = 1;
    quit_ = true;
    return false;
  }
  entry.awaitingNode = true;
  entry.nodeDeadline = Clock::now() + kNodeWaitLimit;
  PrintEvent("plugged " + std::to_string(index) + " " + KindName(entry.spec.kind));
  return true;
}

void Simulator::Unplug(std::size_t index) {
  Interface& entry = interfaces_[index];
  entry.plugPending = false;
  if (!entry.uhid.created()) return;
  std::string error;
  if (!entry.uhid.Destroy(error)) {
    PrintProblem("interface " + std::to_string(index) + ": " + error);
    return;
  }
  entry.awaitingNode = false;
  entry.keepModeUntil.reset();
  PrintEvent("unplugged " + std::to_string(index));
}

void Simulator::PlugInAll() {
  for (Interface& entry : interfaces_) entry.plugPending = !entry.uhid.created();
  PlugInNextPending();
}

void Simulator::PlugInNextPending() {
  // One interface at a time, each once the previous one has its node: the
  // kernel then numbers the nodes in creation order, as a real device's
  // interfaces come up one after the other.
  for (const Interface& entry : interfaces_) {
    if (entry.awaitingNode) return;
  }
  for (std::size_t i = 0; i < interfaces_.size(); ++i) {
    if (interfaces_[i].plugPending) {
      PlugIn(i);
      return;
    }
  }
}

void Simulator::UnplugAll() {
  for (std::size_t i = 0; i < interfaces_.size(); ++i) Unplug(i);
}

bool Simulator::AnyPlugged() const {
  return std::any_of(interfaces_.begin(), interfaces_.end(),
                     [](const Interface& entry) { return entry.uhid.created() || entry.plugPending; });
}

void Simulator::DrainUhidEvents(std::size_t index) {
  pollfd pending{interfaces_[index].uhid.fd(), POLLIN, 0};
  while (HandleUhidEvent(index) && ::poll(&pending, 1, 0) > 0 && (pending.revents & POLLIN)) {
  }
}

bool Simulator::HandleUhidEvent(std::size_t index) {
  Interface& entry = interfaces_[index];
  uhid_event event{};
  std::string error;
  if (!entry.uhid.ReadEvent(event, error)) {
    PrintProblem("interface " + std::to_string(index) + ": " + error);
    return false;
  }
  const std::string which = std::to_string(index);
  switch (event.type) {
    case UHID_START: PrintEvent("start " + which); break;
    case UHID_STOP: PrintEvent("stop " + which); break;
    case UHID_OPEN: PrintEvent("open " + which); break;
    case UHID_CLOSE: PrintEvent("close " + which); break;
    case UHID_OUTPUT: HandleOutput(index, event.u.output); break;
    case UHID_GET_REPORT:
      PrintEvent("get-report " + which + " " + ReportTypeName(event.u.get_report.rtype) + " " +
                 Hex2(event.u.get_report.rnum));
      if (!entry.uhid.RefuseGetReport(event.u.get_report.id, error)) PrintProblem(error);
      break;
    case UHID_SET_REPORT: {
      const std::size_t size = std::min<std::size_t>(event.u.set_report.size, UHID_DATA_MAX);
      PrintEvent("set-report " + which + " " + ReportTypeName(event.u.set_report.rtype) + " " +
                 HexBytes(std::span<const std::uint8_t>(event.u.set_report.data, size)));
      if (!entry.uhid.RefuseSetReport(event.u.set_report.id, error)) PrintProblem(error);
      break;
    }
    default: break;
  }
  return true;
}

void Simulator::HandleOutput(std::size_t index, const uhid_output_req& output) {
  const Interface& entry = interfaces_[index];
  const std::size_t size = std::min<std::size_t>(output.size, UHID_DATA_MAX);
  const std::span<const std::uint8_t> report(output.data, size);
  PrintEvent("output " + std::to_string(index) + " " + KindName(entry.spec.kind) + " " + ReportTypeName(output.rtype) +
             " " + HexBytes(report));

  // Only the configuration interface takes frames; a keyboard's output
  // report is its LEDs.
  if (entry.spec.kind == InterfaceKind::Vendor && output.rtype == UHID_OUTPUT_REPORT) {
    if (model_.ApplyReport(report)) {
      const std::size_t record = report[3] / 4u;
      PrintEvent("stored " + Hex2(report[3]) + " " + Hex2(model_.command(record)) + " " +
                 HexBytes(model_.record(record)));
    } else {
      PrintEvent("ignored " + std::to_string(index));
    }
  }

  ++outputsSeen_;
  if (options_.unplugAtOutput && outputsSeen_ == *options_.unplugAtOutput) {
    UnplugAll();
    if (options_.replugDelay) replugAt_ = Clock::now() + *options_.replugDelay;
  }
}

void Simulator::LookForNodes(Clock::time_point now) {
  for (std::size_t i = 0; i < interfaces_.size(); ++i) {
    Interface& entry = interfaces_[i];
    if (!entry.awaitingNode) continue;
    const std::optional<std::string> node = FindHidrawNode(entry.uniq);
    if (!node) {
      if (now > entry.nodeDeadline) {
        PrintProblem("interface " + std::to_string(i) + ": no hidraw node appeared (is hid-generic loaded?)");
        entry.awaitingNode = false;
      }
      continue;
    }
    entry.awaitingNode = false;
    entry.node = *node;
    if (entry.spec.nodeMode) {
      if (::chmod(node->c_str(), *entry.spec.nodeMode) == 0) {
        entry.keepModeUntil = now + kKeepModeFor;
      } else {
        PrintProblem("chmod " + *node + ": " + std::strerror(errno));
      }
    }
    PrintEvent("node " + std::to_string(i) + " " + KindName(entry.spec.kind) + " " + *node);
  }
  PlugInNextPending();
}

void Simulator::KeepNodeModes(Clock::time_point now) {
  for (Interface& entry : interfaces_) {
    if (!entry.keepModeUntil) continue;
    if (now > *entry.keepModeUntil) {
      entry.keepModeUntil.reset();
      continue;
    }
    struct stat status {};
    const mode_t wanted = *entry.spec.nodeMode;
    if (::stat(entry.node.c_str(), &status) == 0 && (status.st_mode & 07777) != wanted) {
      if (::chmod(entry.node.c_str(), wanted) != 0) entry.keepModeUntil.reset();
    }
  }
}

void Simulator::HandleSignal() {
  signalfd_siginfo info{};
  if (::read(signalFd_, &info, sizeof(info)) != static_cast<ssize_t>(sizeof(info))) return;
  switch (info.ssi_signo) {
    case SIGUSR1:
      if (AnyPlugged()) {
        UnplugAll();
      } else {
        PlugInAll();
      }
      break;
    case SIGUSR2: PrintRecords(); break;
    default: quit_ = true; break;
  }
}

void Simulator::HandleCommandInput() {
  char buffer[4096];
  const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof(buffer));
  if (got <= 0) {
    // Whoever drove the simulator is gone: do not linger as a stray device.
    commandsOpen_ = false;
    quit_ = true;
    return;
  }
  commandBuffer_.append(buffer, static_cast<std::size_t>(got));
  std::size_t end;
  while ((end = commandBuffer_.find('\n')) != std::string::npos) {
    const std::string line = commandBuffer_.substr(0, end);
    commandBuffer_.erase(0, end + 1);
    RunCommand(line);
  }
}

void Simulator::RunCommand(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  if (line == "plug") {
    PlugInAll();
  } else if (line == "unplug") {
    UnplugAll();
  } else if (line == "dump") {
    PrintRecords();
  } else if (line == "quit") {
    quit_ = true;
  } else if (!line.empty()) {
    PrintProblem("unknown command: " + std::string(line));
  }
}

void Simulator::RunDueTimers(Clock::time_point now) {
  if (runEnd_ && now >= *runEnd_) quit_ = true;
  if (replugAt_ && now >= *replugAt_) {
    replugAt_.reset();
    PlugInAll();
  }
  if (scheduledUnplug_ && now >= *scheduledUnplug_) {
    scheduledUnplug_.reset();
    UnplugAll();
    scheduledPlug_ = now + options_.unpluggedTime;
  }
  if (scheduledPlug_ && now >= *scheduledPlug_) {
    scheduledPlug_.reset();
    PlugInAll();
    ++cyclesDone_;
    if (!options_.cycles || cyclesDone_ < *options_.cycles) scheduledUnplug_ = now + *options_.pluggedTime;
  }
}

int Simulator::PollTimeout(Clock::time_point now) const {
  std::optional<Clock::time_point> next;
  for (const auto& when : {runEnd_, replugAt_, scheduledUnplug_, scheduledPlug_}) {
    if (when && (!next || *when < *next)) next = when;
  }
  int timeout = -1;
  if (next) {
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - now).count();
    timeout = static_cast<int>(std::clamp<long long>(wait, 0, 60'000));
  }
  const bool awaitingNode =
      std::any_of(interfaces_.begin(), interfaces_.end(), [](const Interface& entry) { return entry.awaitingNode; });
  if (awaitingNode && (timeout < 0 || timeout > kNodePollMs)) timeout = kNodePollMs;
  const bool keepingModes = std::any_of(interfaces_.begin(), interfaces_.end(),
                                        [](const Interface& entry) { return entry.keepModeUntil.has_value(); });
  if (keepingModes && (timeout < 0 || timeout > kModePollMs)) timeout = kModePollMs;
  return timeout;
}

void Simulator::PrintRecords() const {
  for (std::size_t i = 0; i < device::SwitchModel::kRecordCount; ++i) {
    PrintEvent("record " + Hex2(static_cast<unsigned>(i * 4)) + " " + Hex2(model_.command(i)) + " " +
               HexBytes(model_.record(i)));
  }
  PrintEvent("records end");
}

void Simulator::Stop() {
  PrintRecords();
  UnplugAll();
  PrintEvent("bye");
}

}  // namespace kestrova::sim
