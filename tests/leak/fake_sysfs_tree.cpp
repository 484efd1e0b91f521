#include "fake_sysfs_tree.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace kestrova::leak {
namespace {

namespace fs = std::filesystem;

// Vendor page Application collection, one Output item of 8 x 8 bits.
constexpr std::array<std::uint8_t, 14> kVendorDescriptor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,
                                                            0x75, 0x08, 0x95, 0x08, 0x91, 0x02, 0xC0};

void WriteBytes(const fs::path& path, const char* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data, static_cast<std::streamsize>(size));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string Name(unsigned number) { return "hidraw" + std::to_string(number); }

}  // namespace

FakeSysfsTree::FakeSysfsTree() {
  std::string pattern = (fs::temp_directory_path() / "kestrova-leak-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = buffer.data();
  fs::create_directories(root_ / "class");
  fs::create_directories(root_ / "dev");
}

FakeSysfsTree::~FakeSysfsTree() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void FakeSysfsTree::Plug(unsigned number, const std::string& hidId) {
  const fs::path device = root_ / "devices" / (Name(number) + "-hid");
  fs::create_directories(device);
  const std::string uevent = "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=Leak Check\n";
  WriteBytes(device / "uevent", uevent.data(), uevent.size());
  WriteBytes(device / "report_descriptor", reinterpret_cast<const char*>(kVendorDescriptor.data()),
             kVendorDescriptor.size());
  fs::create_directories(root_ / "class" / Name(number));
  fs::create_symlink(device, root_ / "class" / Name(number) / "device");
  WriteBytes(root_ / "dev" / Name(number), "", 0);
}

void FakeSysfsTree::Unplug(unsigned number) {
  fs::remove_all(root_ / "class" / Name(number));
  fs::remove(root_ / "dev" / Name(number));
}

hid::HidrawLocations FakeSysfsTree::locations() const { return {(root_ / "class").string(), (root_ / "dev").string()}; }

}  // namespace kestrova::leak
