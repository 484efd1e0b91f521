#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "device/switch_model.h"
#include "hid/hid_port.h"

namespace kestrova::testing {

// One scripted HID interface. Edit it between discovery runs through
// FakeHidPort::interfaceAt.
struct FakeInterface {
  std::string path{};
  // What reading the attributes of an open handle gives.
  hid::DeviceIds ids{};
  bool attributesReadable = true;
  // None: it opens; otherwise every open fails this way.
  hid::OpenFailure openFailure = hid::OpenFailure::None;
  // Makes only the opens for overlapped reading fail.
  hid::OpenFailure overlappedOpenFailure = hid::OpenFailure::None;
  std::optional<hid::DeviceIds> idsWithoutOpening{};
  bool keyboardOrMouseOnly = false;
  // nullopt: the capabilities cannot be read. A write of another length
  // than the one declared fails, as the system's HID driver refuses it.
  std::optional<std::uint16_t> outputReportLength = 9;
  bool writesFail = false;
  // Receives every report written to the interface that goes out. Not owned;
  // must outlive the writes.
  device::SwitchModel* device = nullptr;
};

// A HID port that serves scripted interfaces and records every call, so
// tests can check exact call sequences and handle bookkeeping.
//
// Calls are logged as text, one entry each:
//   "enumerate"
//   "open <path> rw #3", "open <path> overlapped #4", "open <path> rw denied",
//   "open <path> rw failed"
//   "attributes #3", "caps #3", "write #3 00 AA 01 ...", "close #3"
// Handles are numbered from 1 in the order they are opened.
class FakeHidPort : public hid::HidPort {
 public:
  struct WrittenReport {
    std::string path;
    std::vector<std::uint8_t> report;
  };

  // Appends to the enumeration order. The reference stays valid until the
  // interface is unplugged. Handles opened before an unplug stay dead after
  // the same path is plugged again, as on a real system.
  FakeInterface& Plug(FakeInterface scripted);
  void Unplug(const std::string& path);
  FakeInterface& interfaceAt(const std::string& path);

  const std::vector<std::string>& calls() const { return calls_; }
  // The calls so far, and forgets them: convenient for checking one run.
  std::vector<std::string> TakeCalls();
  // Every write on an open handle, gone through or not.
  const std::vector<WrittenReport>& writes() const { return writes_; }

  std::size_t openHandleCount() const { return open_.size(); }
  std::size_t handlesOpenedSoFar() const { return static_cast<std::size_t>(nextNative_ - 1); }
  // Handles used after being closed, closed twice, or passed while invalid;
  // empty when the caller kept its handles right.
  const std::vector<std::string>& misuse() const { return misuse_; }

  std::vector<hid::HidInterface> EnumerateInterfaces() override;
  hid::DeviceHandle Open(const std::string& path, hid::OpenMode mode) override;
  std::optional<hid::DeviceIds> ReadAttributes(const hid::DeviceHandle& handle) override;
  std::optional<std::uint16_t> ReadOutputReportLength(const hid::DeviceHandle& handle) override;
  bool Write(const hid::DeviceHandle& handle, std::span<const std::uint8_t> report) override;

 private:
  struct Plugged {
    int plugId;
    FakeInterface scripted;
  };
  struct OpenHandle {
    int plugId;
    std::string path;
  };

  bool CloseNative(std::intptr_t native) override;
  // The interface behind an open handle; nullptr when the handle is not
  // open (logged as misuse) or its interface has been unplugged since.
  const FakeInterface* Resolve(const hid::DeviceHandle& handle, const char* what);
  Plugged* Find(const std::string& path);

  std::list<Plugged> plugged_;
  int nextPlugId_ = 1;
  std::intptr_t nextNative_ = 1;
  std::map<std::intptr_t, OpenHandle> open_;
  std::set<std::intptr_t> closed_;
  std::vector<std::string> calls_;
  std::vector<WrittenReport> writes_;
  std::vector<std::string> misuse_;
};

// "00 AA 01": how reports are written in the call log and in test messages.
std::string HexBytes(std::span<const std::uint8_t> bytes);

}  // namespace kestrova::testing
