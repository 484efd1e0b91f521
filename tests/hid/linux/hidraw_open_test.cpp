#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "hid/linux/hidraw_port.h"
#include "temp_tree.h"

namespace kestrova::hid {
namespace {

namespace fs = std::filesystem;
using testing_linux::CountOpenDescriptors;
using testing_linux::TempTree;
using testing_linux::WriteFile;

int FdOf(const DeviceHandle& handle) { return static_cast<int>(handle.native()); }

// Plain files stand in for device nodes wherever no ioctl is needed.
class HidrawOpen : public testing::Test {
 protected:
  fs::path MakeFile(const std::string& name) {
    fs::path path = tree_.root() / name;
    WriteFile(path, "");
    return path;
  }

  TempTree tree_;
  HidrawPort port_{HidrawLocations{tree_.root().string(), tree_.root().string()}};
};

TEST_F(HidrawOpen, ReadWriteHandleIsBlockingAndClosedOnExec) {
  const DeviceHandle handle = port_.Open(MakeFile("node").string(), OpenMode::ReadWrite);
  ASSERT_TRUE(handle.valid());
  EXPECT_EQ(handle.failure(), OpenFailure::None);
  const int flags = fcntl(FdOf(handle), F_GETFL);
  EXPECT_EQ(flags & O_ACCMODE, O_RDWR);
  EXPECT_EQ(flags & O_NONBLOCK, 0);
  EXPECT_NE(fcntl(FdOf(handle), F_GETFD) & FD_CLOEXEC, 0);
}

TEST_F(HidrawOpen, OverlappedHandleDoesNotBlock) {
  const DeviceHandle handle = port_.Open(MakeFile("node").string(), OpenMode::Overlapped);
  ASSERT_TRUE(handle.valid());
  const int flags = fcntl(FdOf(handle), F_GETFL);
  EXPECT_EQ(flags & O_ACCMODE, O_RDWR);
  EXPECT_NE(flags & O_NONBLOCK, 0);
  EXPECT_NE(fcntl(FdOf(handle), F_GETFD) & FD_CLOEXEC, 0);
}

TEST_F(HidrawOpen, FailuresAreInvalidHandlesWithAReason) {
  const fs::path dir = tree_.root() / "a-directory";
  fs::create_directories(dir);
  for (const std::string& path : {(tree_.root() / "absent").string(), std::string(), dir.string(),
                                  (tree_.root() / "absent" / "below").string()}) {
    const DeviceHandle handle = port_.Open(path, OpenMode::ReadWrite);
    EXPECT_FALSE(handle.valid()) << path;
    EXPECT_EQ(handle.failure(), OpenFailure::Other) << path;
  }
}

// Root passes over permission bits, so as root the open runs in a child
// that has become the unprivileged user "nobody".
TEST_F(HidrawOpen, PermissionDeniedIsAccessDenied) {
  const fs::path node = MakeFile("node");
  ASSERT_EQ(chmod(node.c_str(), 0600), 0);
  if (geteuid() != 0) {
    ASSERT_EQ(chmod(node.c_str(), 0000), 0);
    const DeviceHandle handle = port_.Open(node.string(), OpenMode::ReadWrite);
    EXPECT_FALSE(handle.valid());
    EXPECT_EQ(handle.failure(), OpenFailure::AccessDenied);
    return;
  }
  ASSERT_EQ(chmod(tree_.root().c_str(), 0755), 0);  // nobody may reach the file, not open it
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
    const DeviceHandle handle = port_.Open(node.string(), OpenMode::ReadWrite);
    _exit(!handle.valid() && handle.failure() == OpenFailure::AccessDenied ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_NE(WEXITSTATUS(status), 2) << "could not become nobody";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "open as nobody was not reported as AccessDenied";
}

// Descriptor 0 is as good as any other: validity comes from the open.
TEST_F(HidrawOpen, DescriptorZeroIsAValidHandle) {
  const fs::path node = MakeFile("node");
  const int savedStdin = fcntl(0, F_DUPFD_CLOEXEC, 0);
  ASSERT_GE(savedStdin, 0);
  close(0);
  {
    DeviceHandle handle = port_.Open(node.string(), OpenMode::ReadWrite);
    EXPECT_TRUE(handle.valid());
    EXPECT_EQ(handle.native(), 0);
    const std::vector<std::uint8_t> report = {0x00, 0xAA, 0x01};
    EXPECT_TRUE(port_.Write(handle, report));
    EXPECT_TRUE(handle.Close());
    EXPECT_EQ(fcntl(0, F_GETFD), -1) << "descriptor 0 was not closed";
  }
  ASSERT_EQ(dup2(savedStdin, 0), 0);
  close(savedStdin);
  EXPECT_EQ(fs::file_size(node), 3u);
}

// The ioctls fail on anything that is not a hidraw node; the answer is then
// "cannot be read", never a made-up value.
TEST_F(HidrawOpen, AttributesAndReportLengthOfANonHidrawNodeCannotBeRead) {
  const DeviceHandle file = port_.Open(MakeFile("node").string(), OpenMode::ReadWrite);
  ASSERT_TRUE(file.valid());
  EXPECT_EQ(port_.ReadAttributes(file), std::nullopt);
  EXPECT_EQ(port_.ReadOutputReportLength(file), std::nullopt);
  const DeviceHandle failed = port_.Open((tree_.root() / "absent").string(), OpenMode::ReadWrite);
  EXPECT_EQ(port_.ReadAttributes(failed), std::nullopt);
  EXPECT_EQ(port_.ReadOutputReportLength(failed), std::nullopt);
  EXPECT_FALSE(port_.Write(failed, std::vector<std::uint8_t>{0x00, 0x01}));
}

// Discovery repeats every 350 ms for hours: no path may leave a descriptor.
TEST(HidrawDescriptors, ManyCyclesLeaveNoDescriptorOpen) {
  TempTree tree;
  const fs::path classDir = tree.root() / "class";
  for (int n = 0; n < 8; ++n) {
    const fs::path deviceDir = tree.root() / "devices" / std::to_string(n);
    WriteFile(deviceDir / "uevent", "HID_ID=0003:00002704:00002018\n");
    WriteFile(deviceDir / "report_descriptor", std::string("\x05\x01\x09\x06\xA1\x01\xC0", 7));
    fs::create_directories(classDir / ("hidraw" + std::to_string(n)));
    fs::create_symlink(deviceDir, classDir / ("hidraw" + std::to_string(n)) / "device");
  }
  fs::create_directories(classDir / "hidraw8");  // an entry with nothing in it
  const fs::path node = tree.root() / "dev" / "hidraw0";
  WriteFile(node, "");
  HidrawPort port({classDir.string(), (tree.root() / "dev").string()});
  const std::vector<std::uint8_t> report(9, 0x5A);

  // One cycle first, so whatever is set up once (the writer thread) exists.
  ASSERT_TRUE(port.Write(port.Open(node.string(), OpenMode::ReadWrite), report));
  const std::size_t before = CountOpenDescriptors();
  for (int cycle = 0; cycle < 300; ++cycle) {
    ASSERT_EQ(port.EnumerateInterfaces().size(), 9u);
    DeviceHandle readWrite = port.Open(node.string(), OpenMode::ReadWrite);
    DeviceHandle overlapped = port.Open(node.string(), OpenMode::Overlapped);
    ASSERT_TRUE(readWrite.valid() && overlapped.valid());
    EXPECT_EQ(port.ReadAttributes(readWrite), std::nullopt);
    EXPECT_EQ(port.ReadOutputReportLength(readWrite), std::nullopt);
    EXPECT_TRUE(port.Write(readWrite, report));
    EXPECT_FALSE(port.Open((tree.root() / "dev" / "absent").string(), OpenMode::ReadWrite).valid());
    if (cycle % 2 == 0) {
      EXPECT_TRUE(readWrite.Close());  // the other half close on destruction
    }
  }
  EXPECT_EQ(CountOpenDescriptors(), before);
}

}  // namespace
}  // namespace kestrova::hid
