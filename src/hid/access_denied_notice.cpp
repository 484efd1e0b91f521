#include "hid/access_denied_notice.h"

namespace kestrova::hid {

std::optional<std::string_view> AccessDeniedNotice::AfterDiscoveryRun(bool accessDenied) {
  if (!accessDenied) {
    // Found, unplugged or no longer wanted: the episode is over.
    deniedRuns_ = 0;
    return std::nullopt;
  }
  // Counting stops past the threshold, so an episode says it once however long it lasts.
  if (deniedRuns_ <= kRunsBeforeNotice) ++deniedRuns_;
  if (deniedRuns_ == kRunsBeforeNotice) return kMessage;
  return std::nullopt;
}

}  // namespace kestrova::hid
