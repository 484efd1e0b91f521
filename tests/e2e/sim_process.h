#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::e2e {

// The guest is an emulated machine on a busy host: allow for slowness.
inline constexpr std::chrono::milliseconds kSimWait{15'000};

// kestrova-sim (path from KESTROVA_SIM) run as a child with --commands: its
// event lines are collected as they arrive and commands go to its input.
class SimProcess {
 public:
  explicit SimProcess(const std::vector<std::string>& args);
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;
  ~SimProcess();

  bool running() const { return pid_ > 0; }
  void Send(const std::string& command);

  // The next line, after the lines earlier waits consumed, that starts with
  // `prefix`; nullopt when none came in time.
  std::optional<std::string> WaitFor(std::string_view prefix, std::chrono::milliseconds timeout = kSimWait);
  // The hidraw nodes of interfaces 0..count-1 announced from now on, in
  // interface order; empty when they did not all come in time.
  std::vector<std::string> WaitForNodes(std::size_t count, std::chrono::milliseconds timeout = kSimWait);
  // Asks for the records; returns the 32 "CMD D0 D1 D2 D3" texts, indexed by
  // record. As the simulator reads all queued kernel events before a
  // command, every report written before the call is in the lines by then.
  std::vector<std::string> DumpRecords();

  // Index of the next line to arrive, for OutputsOf and Count.
  std::size_t Mark() const { return lines_.size(); }
  // The report bytes ("00 AA 01 ...") of the output reports that reached
  // interface `index`, in arrival order, from line `since` on.
  std::vector<std::string> OutputsOf(std::size_t index, std::size_t since = 0) const;
  // How many lines equal `line` exactly, from line `since` on.
  std::size_t Count(std::string_view line, std::size_t since = 0) const;
  const std::vector<std::string>& lines() const { return lines_; }
  std::string Tail(std::size_t count) const;

  // Ends the simulator; true when it ended by itself, with status 0.
  bool Quit();

 private:
  // Reads what arrives until `deadline`; false when the simulator has
  // closed its output.
  bool ReadUntil(std::chrono::steady_clock::time_point deadline);
  void Reap(bool force);

  pid_t pid_ = -1;
  int toSim_ = -1;
  int fromSim_ = -1;
  bool outputClosed_ = false;
  std::string partial_;
  std::vector<std::string> lines_;
  std::size_t cursor_ = 0;
  int exitStatus_ = -1;
};

}  // namespace kestrova::e2e
