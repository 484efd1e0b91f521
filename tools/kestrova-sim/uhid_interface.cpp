#include "uhid_interface.h"

#include <fcntl.h>
#include <linux/input.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace kestrova::sim {
namespace {

std::string ErrnoText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

template <std::size_t N>
void CopyText(std::uint8_t (&field)[N], const std::string& text) {
  const std::size_t length = std::min(text.size(), N - 1);
  std::memcpy(field, text.data(), length);
  field[length] = 0;
}

}  // namespace

UhidInterface::UhidInterface(UhidInterface&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), created_(std::exchange(other.created_, false)) {}

UhidInterface& UhidInterface::operator=(UhidInterface&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    created_ = std::exchange(other.created_, false);
  }
  return *this;
}

UhidInterface::~UhidInterface() {
  if (fd_ >= 0) ::close(fd_);
}

bool UhidInterface::Open(const std::string& uhidPath, std::string& error) {
  fd_ = ::open(uhidPath.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0) {
    error = ErrnoText(uhidPath.c_str());
    return false;
  }
  return true;
}

bool UhidInterface::Create(const DeviceIdentity& identity, std::span<const std::uint8_t> descriptor,
                           std::string& error) {
  uhid_event event{};
  event.type = UHID_CREATE2;
  uhid_create2_req& request = event.u.create2;
  CopyText(request.name, identity.name);
  CopyText(request.phys, identity.phys);
  CopyText(request.uniq, identity.uniq);
  if (descriptor.size() > sizeof(request.rd_data)) {
    error = "report descriptor too long";
    return false;
  }
  std::copy(descriptor.begin(), descriptor.end(), request.rd_data);
  request.rd_size = static_cast<std::uint16_t>(descriptor.size());
  request.bus = BUS_USB;
  request.vendor = identity.vendorId;
  request.product = identity.productId;
  request.version = 0x0100;
  request.country = 0;
  if (!Send(event, error)) return false;
  created_ = true;
  return true;
}

bool UhidInterface::Destroy(std::string& error) {
  uhid_event event{};
  event.type = UHID_DESTROY;
  if (!Send(event, error)) return false;
  created_ = false;
  return true;
}

bool UhidInterface::ReadEvent(uhid_event& event, std::string& error) {
  const ssize_t got = ::read(fd_, &event, sizeof(event));
  if (got < 0) {
    error = ErrnoText("read uhid");
    return false;
  }
  // The kernel delivers whole events; shorter ones come from older layouts
  // and carry the type in front all the same.
  if (static_cast<std::size_t>(got) < sizeof(event.type)) {
    error = "short uhid event";
    return false;
  }
  return true;
}

bool UhidInterface::RefuseGetReport(std::uint32_t requestId, std::string& error) {
  uhid_event event{};
  event.type = UHID_GET_REPORT_REPLY;
  event.u.get_report_reply.id = requestId;
  event.u.get_report_reply.err = EIO;
  return Send(event, error);
}

bool UhidInterface::RefuseSetReport(std::uint32_t requestId, std::string& error) {
  uhid_event event{};
  event.type = UHID_SET_REPORT_REPLY;
  event.u.set_report_reply.id = requestId;
  event.u.set_report_reply.err = EIO;
  return Send(event, error);
}

bool UhidInterface::Send(const uhid_event& event, std::string& error) {
  const ssize_t written = ::write(fd_, &event, sizeof(event));
  if (written != static_cast<ssize_t>(sizeof(event))) {
    error = written < 0 ? ErrnoText("write uhid") : "short write to uhid";
    return false;
  }
  return true;
}

}  // namespace kestrova::sim
