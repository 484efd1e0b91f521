#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/switch_model.h"
#include "sim_options.h"
#include "uhid_interface.h"

namespace kestrova::sim {

// The simulated foot switch: its interfaces on uhid, its stored records, and
// the loop that answers the kernel, the signals, the commands and the
// plugging schedule.
class Simulator {
 public:
  explicit Simulator(SimOptions options);
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;
  ~Simulator();

  // Plugs the device in and runs until the end; returns the exit status.
  int Run();

 private:
  using Clock = std::chrono::steady_clock;

  struct Interface {
    InterfaceSpec spec;
    UhidInterface uhid;
    std::string uniq;
    bool plugPending = false;  // to be plugged in after the ones before it
    bool awaitingNode = false;
    Clock::time_point nodeDeadline{};
    std::string node;
    // A desktop's udev sets the node's mode after it appears; the wanted
    // mode is kept up for a while so the simulator's choice stands.
    std::optional<Clock::time_point> keepModeUntil;
  };

  bool Start();
  bool PlugIn(std::size_t index);
  void Unplug(std::size_t index);
  void PlugInAll();
  void PlugInNextPending();
  void UnplugAll();
  bool AnyPlugged() const;

  void DrainUhidEvents(std::size_t index);
  bool HandleUhidEvent(std::size_t index);
  void HandleOutput(std::size_t index, const uhid_output_req& output);
  void LookForNodes(Clock::time_point now);
  void KeepNodeModes(Clock::time_point now);
  void HandleSignal();
  void HandleCommandInput();
  void RunCommand(std::string_view line);
  void RunDueTimers(Clock::time_point now);
  int PollTimeout(Clock::time_point now) const;
  void PrintRecords() const;
  void Stop();

  SimOptions options_;
  device::SwitchModel model_;
  std::vector<Interface> interfaces_;
  int signalFd_ = -1;
  bool commandsOpen_ = false;
  std::string commandBuffer_;
  bool quit_ = false;
  int exitCode_ = 0;
  unsigned outputsSeen_ = 0;
  unsigned cyclesDone_ = 0;
  std::optional<Clock::time_point> runEnd_;
  std::optional<Clock::time_point> scheduledUnplug_;
  std::optional<Clock::time_point> scheduledPlug_;
  std::optional<Clock::time_point> replugAt_;
};

}  // namespace kestrova::sim
