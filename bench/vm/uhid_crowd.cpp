// kestrova-bench-crowd: N other HID devices on the kernel's uhid, so the
// discovery benchmark sees a machine with N interfaces besides the foot
// switch. Each is a vendor-defined device with 64-byte reports and IDs of its
// own. Prints "ready" once all their hidraw nodes are listed, then answers
// the kernel until SIGINT or SIGTERM.
//
//   kestrova-bench-crowd COUNT
#include <fcntl.h>
#include <linux/input.h>
#include <linux/uhid.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::uint8_t kVendorDescriptor[] = {
    0x06, 0x00, 0xFF,  // Usage Page (vendor defined 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x40,        //   Report Count (64)
    0x09, 0x02,        //   Usage (2)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0x09, 0x03,        //   Usage (3)
    0x91, 0x02,        //   Output (Data, Variable, Absolute)
    0xC0,              // End Collection
};

// Away from the foot switch's 2704:2018.
constexpr std::uint16_t kVendor = 0x1209;
constexpr std::uint16_t kFirstProduct = 0x0100;

bool Send(int fd, const uhid_event& event) {
  return write(fd, &event, sizeof event) == static_cast<ssize_t>(sizeof event);
}

bool Create(int fd, unsigned index) {
  uhid_event event{};
  event.type = UHID_CREATE2;
  uhid_create2_req& request = event.u.create2;
  std::snprintf(reinterpret_cast<char*>(request.name), sizeof request.name, "bench crowd device %u", index);
  std::snprintf(reinterpret_cast<char*>(request.uniq), sizeof request.uniq, "bench-crowd-%u", index);
  std::memcpy(request.rd_data, kVendorDescriptor, sizeof kVendorDescriptor);
  request.rd_size = sizeof kVendorDescriptor;
  request.bus = BUS_USB;
  request.vendor = kVendor;
  request.product = static_cast<std::uint16_t>(kFirstProduct + index);
  request.version = 0x0100;
  return Send(fd, event);
}

std::size_t HidrawCount() {
  std::error_code error;
  std::size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/sys/class/hidraw", error)) {
    (void)entry;
    ++count;
  }
  return count;
}

// Report requests get a refusal at once, so no requester waits for the
// kernel's timeout; every other event only needs reading.
void Answer(int fd) {
  uhid_event event{};
  if (read(fd, &event, sizeof event) <= 0) return;
  uhid_event reply{};
  if (event.type == UHID_GET_REPORT) {
    reply.type = UHID_GET_REPORT_REPLY;
    reply.u.get_report_reply.id = event.u.get_report.id;
    reply.u.get_report_reply.err = EIO;
    Send(fd, reply);
  } else if (event.type == UHID_SET_REPORT) {
    reply.type = UHID_SET_REPORT_REPLY;
    reply.u.set_report_reply.id = event.u.set_report.id;
    reply.u.set_report_reply.err = EIO;
    Send(fd, reply);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: kestrova-bench-crowd COUNT\n", stderr);
    return 2;
  }
  const auto count = static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10));

  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
  const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

  const std::size_t before = HidrawCount();
  std::vector<int> devices;
  for (unsigned i = 0; i < count; ++i) {
    const int fd = open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (fd < 0 || !Create(fd, i)) {
      std::perror("kestrova-bench-crowd: /dev/uhid");
      return 1;
    }
    devices.push_back(fd);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (HidrawCount() < before + count) {
    if (std::chrono::steady_clock::now() > deadline) {
      std::fputs("kestrova-bench-crowd: the hidraw nodes did not all appear\n", stderr);
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::printf("ready %u\n", count);
  std::fflush(stdout);

  std::vector<pollfd> fds;
  fds.push_back({signalFd, POLLIN, 0});
  for (const int fd : devices) fds.push_back({fd, POLLIN, 0});
  for (;;) {
    if (poll(fds.data(), fds.size(), -1) < 0) continue;
    if (fds[0].revents & POLLIN) break;
    for (std::size_t i = 1; i < fds.size(); ++i) {
      if (fds[i].revents & POLLIN) Answer(fds[i].fd);
    }
  }
  // Closing a uhid file removes its device.
  for (const int fd : devices) close(fd);
  return 0;
}
