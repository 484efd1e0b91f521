#include "privileges.h"

#include <grp.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace kestrova::e2e {

bool DropToUser(uid_t uid, gid_t gid, std::string& error) {
  if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, 0) != 0 || ::setresuid(uid, uid, 0) != 0) {
    error = std::string("cannot become user ") + std::to_string(uid) + ": " + std::strerror(errno);
    return false;
  }
  // A change of user makes the process undumpable, which would also hand
  // its /proc entries to root.
  ::prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
  return true;
}

EffectiveRoot::EffectiveRoot() : previousUid_(::geteuid()) {
  if (previousUid_ != 0 && ::seteuid(0) != 0) {
    // Never was root: the caller's action fails on its own and says so.
  }
}

EffectiveRoot::~EffectiveRoot() {
  if (::geteuid() == previousUid_) return;
  // Staying root would make every later permission check meaningless.
  if (::seteuid(previousUid_) != 0) std::abort();
  ::prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
}

std::size_t CountOpenDescriptors() {
  std::error_code error;
  std::size_t count = 0;
  for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    ++count;
  }
  // The directory iterator holds one descriptor of its own while counting.
  return count > 0 ? count - 1 : 0;
}

}  // namespace kestrova::e2e
