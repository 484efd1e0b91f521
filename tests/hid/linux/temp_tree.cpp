#include "temp_tree.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>
#include <string>

namespace kestrova::hid::testing_linux {

TempTree::TempTree() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-hidraw-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
}

TempTree::~TempTree() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void WriteFile(const std::filesystem::path& path, std::string_view text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  WriteFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::size_t CountOpenDescriptors() {
  std::size_t count = 0;
  // The directory iterator's own descriptor is counted too, the same every time.
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

}  // namespace kestrova::hid::testing_linux
