// The Windows backend against the real Win32 calls. No HID device is needed:
// a named pipe stands in for a device file where one must open.

#include "hid/win/win_hid_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "hid/platform_port.h"
#include "pipe_server.h"

namespace kestrova::hid::win {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr BoundedWriter::Timing kShortWrites{milliseconds(300), milliseconds(300)};
// Scheduling under a loaded emulator adds to the bound, never doubles it.
constexpr milliseconds kWriteBoundWithSlack{1500};

// Set by the CI for the wine prefix it runs in: whether HID devices are
// there (wine's own virtual ones) or were kept out.
bool MachineExpects(const char* variable) { return std::getenv(variable) != nullptr; }

TEST(WinHidPortEnumeration, EndsCleanlyAndListsTheSameInterfacesEachTime) {
  const auto port = MakePlatformPort();
  const std::vector<HidInterface> first = port->EnumerateInterfaces();
  const std::vector<HidInterface> second = port->EnumerateInterfaces();
  ASSERT_EQ(first.size(), second.size());
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_FALSE(first[i].path.empty()) << "interface " << i;
    EXPECT_EQ(first[i].path, second[i].path);
    EXPECT_FALSE(first[i].keyboardOrMouseOnly);
  }
  if (MachineExpects("KESTROVA_EXPECT_NO_HID")) {
    EXPECT_TRUE(first.empty());
  }
}

TEST(WinHidPortEnumeration, EveryInterfaceThatOpensReadsAsAHidDevice) {
  WinHidPort port;
  int opened = 0;
  for (const HidInterface& candidate : port.EnumerateInterfaces()) {
    DeviceHandle handle = port.Open(candidate.path, OpenMode::ReadWrite);
    if (!handle.valid()) continue;  // Windows keeps keyboards and mice to itself
    ++opened;
    EXPECT_TRUE(port.ReadAttributes(handle)) << candidate.path;
    EXPECT_TRUE(port.ReadOutputReportLength(handle)) << candidate.path;
    EXPECT_TRUE(port.Open(candidate.path, OpenMode::Overlapped).valid()) << candidate.path;
  }
  if (MachineExpects("KESTROVA_EXPECT_HID")) {
    EXPECT_GT(opened, 0);
  }
  if (opened == 0) GTEST_SKIP() << "no HID interface here opens for reading and writing";
}

struct OpenCase {
  std::string name;
  std::string path;
  OpenMode mode;
  OpenFailure expected;
};

void PrintTo(const OpenCase& openCase, std::ostream* out) { *out << openCase.name; }

// Each path in both modes: the read handle fails the same way as the other.
std::vector<OpenCase> InBothModes(std::vector<OpenCase> cases) {
  std::vector<OpenCase> both;
  for (const OpenCase& openCase : cases) {
    for (const auto& [suffix, mode] :
         {std::pair{"ReadWrite", OpenMode::ReadWrite}, std::pair{"Overlapped", OpenMode::Overlapped}}) {
      both.push_back({openCase.name + suffix, openCase.path, mode, openCase.expected});
    }
  }
  return both;
}

class WinHidPortOpenFails : public testing::TestWithParam<OpenCase> {};

TEST_P(WinHidPortOpenFails, GivesAnInvalidHandleWithTheReason) {
  const OpenCase& openCase = GetParam();
  WinHidPort port;
  const DWORD handlesBefore = OpenHandleCount();
  DeviceHandle handle = port.Open(openCase.path, openCase.mode);
  EXPECT_FALSE(handle.valid());
  EXPECT_EQ(handle.failure(), openCase.expected);
  EXPECT_FALSE(handle.Close());
  EXPECT_FALSE(port.ReadAttributes(handle));
  EXPECT_FALSE(port.ReadOutputReportLength(handle));
  const std::uint8_t report[] = {0x00, 0xAA};
  EXPECT_FALSE(port.Write(handle, report));
  EXPECT_EQ(OpenHandleCount(), handlesBefore);
}

INSTANTIATE_TEST_SUITE_P(Paths, WinHidPortOpenFails,
                         testing::ValuesIn(InBothModes({
                             {"Empty", "", {}, OpenFailure::Other},
                             {"AbsentHidInterface",
                              "\\\\?\\hid#vid_2704&pid_2018#0&0&0&0#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                              {},
                              OpenFailure::Other},
                             {"AbsentFile", "C:\\kestrova-no-such-dir\\device", {}, OpenFailure::Other},
                             // Windows answers a read-write open of a directory with access
                             // denied, as it does for keyboards and mice.
                             {"Directory", "C:\\windows", {}, OpenFailure::AccessDenied},
                         })),
                         [](const auto& caseInfo) { return caseInfo.param.name; });

class WinHidPortOnPipe : public testing::Test {
 protected:
  WinHidPortOnPipe() : port_(kShortWrites), pipe_(4096) {}

  WinHidPort port_;
  PipeServer pipe_;
};

TEST_F(WinHidPortOnPipe, OpensInBothModesAndClosesOnceOnly) {
  ASSERT_TRUE(pipe_.ready());
  const DWORD handlesBefore = OpenHandleCount();
  {
    DeviceHandle handle = port_.Open(pipe_.path(), OpenMode::ReadWrite);
    ASSERT_TRUE(handle.valid());
    EXPECT_EQ(handle.failure(), OpenFailure::None);
    // Proves the count sees our handles, so the equalities below mean something.
    EXPECT_GT(OpenHandleCount(), handlesBefore);
    EXPECT_TRUE(handle.Close());
    EXPECT_FALSE(handle.valid());
    EXPECT_FALSE(handle.Close());
  }
  EXPECT_EQ(OpenHandleCount(), handlesBefore);

  PipeServer second(4096);
  DeviceHandle overlapped = port_.Open(second.path(), OpenMode::Overlapped);
  ASSERT_TRUE(overlapped.valid());
  DeviceHandle moved = std::move(overlapped);
  EXPECT_FALSE(overlapped.valid());
  EXPECT_TRUE(moved.valid());
  moved = DeviceHandle::Failed(OpenFailure::Other);  // closes the open one
  EXPECT_EQ(OpenHandleCount(), handlesBefore + 1);   // `second`'s server end only
}

TEST_F(WinHidPortOnPipe, ANonHidFileHasNoAttributesAndNoReportLength) {
  DeviceHandle handle = port_.Open(pipe_.path(), OpenMode::ReadWrite);
  ASSERT_TRUE(handle.valid());
  const DWORD handlesBefore = OpenHandleCount();
  EXPECT_FALSE(port_.ReadAttributes(handle));
  EXPECT_FALSE(port_.ReadOutputReportLength(handle));
  EXPECT_EQ(OpenHandleCount(), handlesBefore);
}

TEST_F(WinHidPortOnPipe, WriteDeliversTheWholeReport) {
  DeviceHandle handle = port_.Open(pipe_.path(), OpenMode::ReadWrite);
  ASSERT_TRUE(handle.valid());
  const std::vector<std::uint8_t> report = {0x00, 0xAA, 0x01, 0x04, 0x01, 0x3A, 0x00, 0x00, 0x00};
  EXPECT_TRUE(port_.Write(handle, report));
  EXPECT_EQ(pipe_.Read(64), report);
}

struct StalledWriteCase {
  const char* name;
  BoundedWriter::Timing timing;
};

void PrintTo(const StalledWriteCase& stalledCase, std::ostream* out) { *out << stalledCase.name; }

class WinHidPortStalledWrite : public testing::TestWithParam<StalledWriteCase> {};

TEST_P(WinHidPortStalledWrite, IsBoundedAndLeaksNothing) {
  WinHidPort port(GetParam().timing);
  PipeServer pipe(4096);
  const DWORD handlesBefore = OpenHandleCount();
  {
    DeviceHandle handle = port.Open(pipe.path(), OpenMode::ReadWrite);
    ASSERT_TRUE(handle.valid());
    // Far more than the pipe buffers: the write waits for a reader that
    // never comes, as it would for a device that stops taking reports.
    const std::vector<std::uint8_t> report(1 << 20, 0x5A);
    for (int attempt = 0; attempt < 3; ++attempt) {
      const auto start = Clock::now();
      EXPECT_FALSE(port.Write(handle, report)) << "attempt " << attempt;
      EXPECT_LT(Clock::now() - start, kWriteBoundWithSlack) << "attempt " << attempt;
    }
    const auto closeStart = Clock::now();
    EXPECT_TRUE(handle.Close());
    EXPECT_LT(Clock::now() - closeStart, milliseconds(500));
  }
  // Ending the pipe fails any write still waiting, and its helper then
  // gives back its thread and its duplicate handle.
  pipe.Close();
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (OpenHandleCount() >= handlesBefore && Clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(20));
  }
  EXPECT_EQ(OpenHandleCount(), handlesBefore - 1);  // all but the closed server end
}

INSTANTIATE_TEST_SUITE_P(Timings, WinHidPortStalledWrite,
                         testing::Values(StalledWriteCase{"CancelledInTime", kShortWrites},
                                         // No wait after the cancel: the write outlives the call
                                         // and is left to its helper thread.
                                         StalledWriteCase{"OutlivesTheCall", {milliseconds(300), milliseconds(0)}}),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(WinHidPortLeaks, RepeatedUseOnEveryPathKeepsTheHandleCount) {
  WinHidPort port(kShortWrites);
  const std::vector<std::uint8_t> report = {0x00, 0xAA, 0x01};
  // Warm-up: the first calls load DLLs and may keep handles for good.
  port.EnumerateInterfaces();
  const DWORD handlesBefore = OpenHandleCount();
  for (int round = 0; round < 20; ++round) {
    port.EnumerateInterfaces();
    DeviceHandle absent = port.Open("C:\\kestrova-no-such-dir\\device", OpenMode::ReadWrite);
    PipeServer pipe(4096);
    DeviceHandle handle = port.Open(pipe.path(), OpenMode::ReadWrite);
    ASSERT_TRUE(handle.valid());
    port.ReadAttributes(handle);
    port.ReadOutputReportLength(handle);
    EXPECT_TRUE(port.Write(handle, report));
    EXPECT_EQ(pipe.Read(16), report);
  }
  EXPECT_EQ(OpenHandleCount(), handlesBefore);
}

}  // namespace
}  // namespace kestrova::hid::win
