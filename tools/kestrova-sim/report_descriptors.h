#pragma once

#include <cstdint>
#include <span>

namespace kestrova::sim {

// The configuration interface: a vendor-defined collection with an 8-byte
// output report (9 bytes with the report ID) and a 4-byte input report, no
// report IDs.
std::span<const std::uint8_t> VendorReportDescriptor();

// A boot keyboard: 8-byte input report, 1-byte LED output report.
std::span<const std::uint8_t> BootKeyboardReportDescriptor();

}  // namespace kestrova::sim
