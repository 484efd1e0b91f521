#include "fd_snapshot.h"

#include <charconv>
#include <filesystem>
#include <system_error>

namespace kestrova::leak {

FdSnapshot TakeFdSnapshot() {
  namespace fs = std::filesystem;
  FdSnapshot snapshot;
  std::error_code error;
  // The iterator's own descriptor shows up in the listing; it is the same
  // number on every call and is dropped by the comparison when it closes.
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd", error)) {
    const std::string name = entry.path().filename().string();
    int fd = -1;
    if (std::from_chars(name.data(), name.data() + name.size(), fd).ec != std::errc()) continue;
    std::error_code linkError;
    const fs::path target = fs::read_symlink(entry.path(), linkError);
    snapshot[fd] = linkError ? std::string("?") : target.string();
  }
  return snapshot;
}

std::string DescribeNewDescriptors(const FdSnapshot& before, const FdSnapshot& after) {
  std::string report;
  for (const auto& [fd, target] : after) {
    const auto it = before.find(fd);
    if (it != before.end() && it->second == target) continue;
    // The directory listing of the snapshot itself.
    if (target.find("/proc/") != std::string::npos && target.ends_with("/fd")) continue;
    report += "  fd " + std::to_string(fd) + " -> " + target + "\n";
  }
  return report;
}

}  // namespace kestrova::leak
