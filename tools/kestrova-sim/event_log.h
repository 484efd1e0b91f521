#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kestrova::sim {

// Upper-case two-digit hexadecimal bytes separated by single blanks.
std::string HexBytes(std::span<const std::uint8_t> bytes);

// One event per line on standard output, flushed at once so a test that
// reads the pipe sees each event as it happens.
void PrintEvent(const std::string& line);
// Problems go to standard error, prefixed with the program's name.
void PrintProblem(const std::string& line);

}  // namespace kestrova::sim
