#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kestrova::hid {

// The output report for one frame text: exactly reportLength bytes, byte 0
// the report ID 00, then the frame digits taken two by two from the start.
//
// Blanks carry no meaning and are removed wherever they stand. Any other
// character that is not a hexadecimal digit is removed the same way, so a
// stray character can never turn into a byte (the text box keeps them out;
// this is the safe answer should one slip through).
//
// With n digits the text stands for round-half-even(n / 2) bytes; a shorter
// text is completed with 00 bytes, excess digits are dropped, and an odd last
// digit reads as the high half of its byte except where it ends exactly at
// the last byte with nothing appended, where it is read alone (low half).
//
// A length of 0 leaves no room even for the report ID: the result is empty,
// which means there is nothing to write.
std::vector<std::uint8_t> EncodeReport(std::string_view frameText, std::uint16_t reportLength);

}  // namespace kestrova::hid
