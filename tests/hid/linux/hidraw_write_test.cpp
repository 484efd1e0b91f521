#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>
#include <vector>

#include "hid/linux/bounded_writer.h"
#include "hid/linux/hidraw_port.h"
#include "temp_tree.h"

namespace kestrova::hid {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing_linux::CountOpenDescriptors;
using testing_linux::TempTree;
using testing_linux::WriteFile;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

Bytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What the FIFO holds, through a reader of its own: at least `atLeast`
// bytes if they come within two seconds, then whatever is there.
Bytes Drain(const fs::path& fifo, std::size_t atLeast = 0) {
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  const auto deadline = Clock::now() + 2s;
  Bytes bytes;
  std::uint8_t chunk[4096];
  for (;;) {
    const ssize_t got = read(reader, chunk, sizeof chunk);
    if (got > 0) {
      bytes.insert(bytes.end(), chunk, chunk + got);
    } else if (bytes.size() >= atLeast || Clock::now() > deadline) {
      break;
    } else {
      std::this_thread::sleep_for(1ms);
    }
  }
  close(reader);
  return bytes;
}

template <typename F>
std::chrono::milliseconds Timed(F&& f) {
  const auto start = Clock::now();
  f();
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

class HidrawWrite : public testing::Test {
 protected:
  TempTree tree_;
  HidrawPort port_{HidrawLocations{tree_.root().string(), tree_.root().string()}};
};

TEST_F(HidrawWrite, WholeReportArrivesInOneWrite) {
  const fs::path node = tree_.root() / "hidraw0";
  WriteFile(node, "");
  const Bytes frame = {0x00, 0xAA, 0x01, 0x04, 0x01, 0x3A, 0x00, 0x00, 0x00};
  const Bytes second = {0x00, 0xAA, 0x01, 0x7C, 0x79, 0x01, 0x00, 0x00, 0x00};
  {
    const DeviceHandle handle = port_.Open(node.string(), OpenMode::ReadWrite);
    ASSERT_TRUE(handle.valid());
    EXPECT_TRUE(port_.Write(handle, frame));
    EXPECT_TRUE(port_.Write(handle, second));
  }
  Bytes both = frame;
  both.insert(both.end(), second.begin(), second.end());
  EXPECT_EQ(ReadAll(node), both);
}

// The write works on a duplicate of the handle's descriptor; once Write has
// answered, the duplicate must be gone, or a device would see its last close
// later than the handle's.
TEST_F(HidrawWrite, AnsweredWriteHoldsNoDescriptor) {
  const fs::path node = tree_.root() / "hidraw0";
  WriteFile(node, "");
  const DeviceHandle handle = port_.Open(node.string(), OpenMode::ReadWrite);
  const Bytes report(9, 0x11);
  ASSERT_TRUE(port_.Write(handle, report));
  const std::size_t open = CountOpenDescriptors();
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(port_.Write(handle, report));
    ASSERT_EQ(CountOpenDescriptors(), open) << "after write " << i;
  }
}

TEST_F(HidrawWrite, ReportThroughAFifoKeepsItsBytes) {
  const fs::path fifo = tree_.root() / "hidraw0";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const DeviceHandle handle = port_.Open(fifo.string(), OpenMode::ReadWrite);
  ASSERT_TRUE(handle.valid());
  Bytes report(65, 0x00);
  for (std::size_t i = 1; i < report.size(); ++i) report[i] = static_cast<std::uint8_t>(i * 7);
  ASSERT_TRUE(port_.Write(handle, report));
  EXPECT_EQ(Drain(fifo), report);
}

// The kernel refuses (here: a device that is always full); the answer is
// false and the program goes on.
TEST_F(HidrawWrite, RefusedWriteIsFalse) {
  const DeviceHandle full = port_.Open("/dev/full", OpenMode::ReadWrite);
  ASSERT_TRUE(full.valid());
  EXPECT_FALSE(port_.Write(full, Bytes(9, 0x00)));
  // Nothing written is nothing sent, too.
  EXPECT_FALSE(port_.Write(full, Bytes{}));
}

// A FIFO that nobody reads takes one page and then blocks every write, as a
// hung device does. Each caller must get its answer within the bound; a
// report still waiting its turn when its caller gave up must never go out.
TEST_F(HidrawWrite, StalledDeviceHoldsTheCallerOnlyForTheBound) {
  const fs::path fifo = tree_.root() / "hidraw0";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const DeviceHandle handle = port_.Open(fifo.string(), OpenMode::ReadWrite);
  ASSERT_TRUE(handle.valid());
  const int capacity = fcntl(static_cast<int>(handle.native()), F_SETPIPE_SZ, 4096);
  ASSERT_GT(capacity, 0);
  const std::size_t reportBytes = static_cast<std::size_t>(capacity);
  const Bytes fills(reportBytes, 0x01), stalls(reportBytes, 0xAA), abandoned(reportBytes, 0xBB),
      later(reportBytes, 0xCC);

  EXPECT_TRUE(port_.Write(handle, fills));
  bool stalledResult = true, abandonedResult = true;
  const auto stalledTime = Timed([&] { stalledResult = port_.Write(handle, stalls); });
  const auto queuedTime = Timed([&] { abandonedResult = port_.Write(handle, abandoned); });
  EXPECT_FALSE(stalledResult);
  EXPECT_FALSE(abandonedResult);
  for (const auto elapsed : {stalledTime, queuedTime}) {
    EXPECT_GE(elapsed, 240ms);
    EXPECT_LT(elapsed, 1000ms);
  }

  // The device recovers: the stalled write finishes behind the scenes, the
  // next one queues behind it and goes out.
  Bytes received = Drain(fifo, 2 * reportBytes);
  EXPECT_TRUE(port_.Write(handle, later));
  const Bytes rest = Drain(fifo, reportBytes);
  received.insert(received.end(), rest.begin(), rest.end());

  Bytes expected = fills;
  expected.insert(expected.end(), stalls.begin(), stalls.end());
  expected.insert(expected.end(), later.begin(), later.end());
  EXPECT_EQ(received, expected);
}

// The handle may be closed while its write is stalled: the write keeps its
// own descriptor, so it can never land on a file opened later under the
// same number, and it lets go of it once the write returns.
TEST_F(HidrawWrite, ClosingDuringAStalledWriteIsSafe) {
  const fs::path fifo = tree_.root() / "hidraw0";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const fs::path other = tree_.root() / "other";
  WriteFile(other, "");
  const std::size_t before = CountOpenDescriptors();
  {
    DeviceHandle handle = port_.Open(fifo.string(), OpenMode::ReadWrite);
    const int capacity = fcntl(static_cast<int>(handle.native()), F_SETPIPE_SZ, 4096);
    ASSERT_GT(capacity, 0);
    const Bytes page(static_cast<std::size_t>(capacity), 0x01);
    ASSERT_TRUE(port_.Write(handle, page));
    EXPECT_FALSE(port_.Write(handle, page));  // stalls in the background
    const int number = static_cast<int>(handle.native());
    EXPECT_TRUE(handle.Close());
    const int reused = open(other.c_str(), O_RDWR | O_CLOEXEC);
    EXPECT_EQ(reused, number) << "the test meant to reuse the number";
    Drain(fifo);
    close(reused);
  }
  EXPECT_TRUE(ReadAll(other).empty());
  const auto deadline = Clock::now() + 2s;
  while (CountOpenDescriptors() != before && Clock::now() < deadline) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(CountOpenDescriptors(), before);
}

// Ending the port while a write hangs in the kernel must not hang the end
// of the program.
TEST(HidrawWriteLifetime, PortEndsPromptlyWhileAWriteIsStalled) {
  TempTree tree;
  const fs::path fifo = tree.root() / "hidraw0";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  auto port = std::make_unique<HidrawPort>(HidrawLocations{tree.root().string(), tree.root().string()});
  {
    const DeviceHandle handle = port->Open(fifo.string(), OpenMode::ReadWrite);
    const int capacity = fcntl(static_cast<int>(handle.native()), F_SETPIPE_SZ, 4096);
    ASSERT_GT(capacity, 0);
    const Bytes page(static_cast<std::size_t>(capacity), 0x01);
    ASSERT_TRUE(port->Write(handle, page));
    EXPECT_FALSE(port->Write(handle, page));
  }
  EXPECT_LT(Timed([&] { port.reset(); }), 100ms);
  Drain(fifo);  // lets the left-behind write finish
}

// A reader that went away makes the write fail with a broken pipe; that
// must be a false, not the end of the program by its signal.
TEST(BoundedWriter, BrokenPipeIsAFailedWrite) {
  int ends[2];
  ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
  close(ends[0]);
  linux_hidraw::BoundedWriter writer(250ms);
  EXPECT_FALSE(writer.Write(ends[1], Bytes(9, 0x00)));
  EXPECT_FALSE(writer.Write(ends[1], Bytes(9, 0x00)));
  close(ends[1]);
  EXPECT_FALSE(writer.Write(ends[1], Bytes(9, 0x00))) << "a closed descriptor";
}

}  // namespace
}  // namespace kestrova::hid
