#include "settings/playback.h"

namespace kestrova::settings {

std::string PlaybackFrameText(bool powerOnRun, bool loopPlay) {
  return std::string("AA 01 7C ") + (powerOnRun ? "79" : "00") + (loopPlay ? " 01" : " 00") + " 00 00";
}

}  // namespace kestrova::settings
