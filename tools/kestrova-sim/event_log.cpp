#include "event_log.h"

#include <cstdio>

namespace kestrova::sim {

std::string HexBytes(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (const std::uint8_t byte : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

void PrintEvent(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void PrintProblem(const std::string& line) {
  std::fprintf(stderr, "kestrova-sim: %s\n", line.c_str());
  std::fflush(stderr);
}

}  // namespace kestrova::sim
