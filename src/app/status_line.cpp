#include "app/status_line.h"

#include <cstdio>

namespace kestrova {

std::string FormatLogTimestamp(const LocalDateTime& when) {
  char text[64];
  if (when.hour == 0 && when.minute == 0 && when.second == 0) {
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", when.year, when.month, when.day);
  } else {
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", when.year, when.month, when.day, when.hour,
                  when.minute, when.second);
  }
  return text;
}

std::string FormatStatusLine(const LocalDateTime& when, std::string_view message) {
  std::string line = "[" + FormatLogTimestamp(when) + "]:";
  line += message;
  return line;
}

}  // namespace kestrova
