#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace kestrova::hid::testing_linux {

// A directory of its own under the system's temporary directory, removed
// with everything in it when the object goes.
class TempTree {
 public:
  TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;
  ~TempTree();

  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
};

// Creates the parent directories as needed.
void WriteFile(const std::filesystem::path& path, std::string_view text);
void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// The descriptors open in this process right now.
std::size_t CountOpenDescriptors();

}  // namespace kestrova::hid::testing_linux
