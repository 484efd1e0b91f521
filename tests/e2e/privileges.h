#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace kestrova::e2e {

// Makes the process a plain user (real and effective IDs, no supplementary
// groups, so no capabilities in effect) as a desktop user running the tool
// would be. Root stays the saved ID, so the simulator can still be started
// as root and a hung one killed. Call before any thread starts.
bool DropToUser(uid_t uid, gid_t gid, std::string& error);

// Root as the effective user for the scope, to signal the simulator; a
// no-op when that is not possible (the process never was root).
class EffectiveRoot {
 public:
  EffectiveRoot();
  EffectiveRoot(const EffectiveRoot&) = delete;
  EffectiveRoot& operator=(const EffectiveRoot&) = delete;
  ~EffectiveRoot();

 private:
  uid_t previousUid_;
};

// How many file descriptors the process has open now.
std::size_t CountOpenDescriptors();

}  // namespace kestrova::e2e
