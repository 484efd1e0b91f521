#include "settings/clearing.h"

#include "app/hex_byte.h"

namespace kestrova::settings {

std::string ClearFrameText(int recordIndex) {
  return "AA 01 " + HexDigits(static_cast<std::uint8_t>(recordIndex * 4)) + " FF FF FF FF";
}

}  // namespace kestrova::settings
