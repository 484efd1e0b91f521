#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "hid/hid_port.h"

namespace kestrova::hid {

// A typed vendor or product ID: hexadecimal digits of either case, at most
// four significant ones (leading zeros are free), surrounding blanks and tabs
// ignored. nullopt for anything else, the empty text included: such an ID
// matches no interface, instead of being guessed at (an empty text read as 0
// would match every interface that cannot be opened).
std::optional<std::uint16_t> ParseWantedId(std::string_view text);

// The vendor and product ID that discovery looks for.
struct WantedIds {
  std::optional<std::uint16_t> vendor;
  std::optional<std::uint16_t> product;

  static WantedIds Parse(std::string_view vendorText, std::string_view productText);

  // True when both IDs were understood; otherwise nothing can match.
  bool usable() const { return vendor.has_value() && product.has_value(); }
  // Both zero in value: then an interface that cannot be opened, which reads
  // as 0 / 0, counts as the device.
  bool bothZero() const { return vendor == 0 && product == 0; }
  bool Matches(const DeviceIds& ids) const { return usable() && ids.vendor == *vendor && ids.product == *product; }
};

}  // namespace kestrova::hid
