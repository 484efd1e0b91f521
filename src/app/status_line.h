#pragma once

#include <string>
#include <string_view>

namespace kestrova {

struct LocalDateTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
};

// "2021/12/12 15:04:05"; at exactly midnight the date alone, as the usual
// rendering of a date-time value does.
std::string FormatLogTimestamp(const LocalDateTime& when);

// "[" timestamp "]" ":" message, with no blank after the colon.
std::string FormatStatusLine(const LocalDateTime& when, std::string_view message);

}  // namespace kestrova
