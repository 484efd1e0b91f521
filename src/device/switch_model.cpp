#include "device/switch_model.h"

#include <algorithm>

#include "app/hex_byte.h"

namespace kestrova::device {
namespace {

constexpr std::uint8_t kReportId = 0x00;
constexpr std::uint8_t kLeadByte = 0xAA;
constexpr std::uint8_t kKeyCommand = 0x01;
constexpr std::uint8_t kMouseCommand = 0x02;
constexpr std::uint8_t kLastSlotAddress = 0x7C;
// Report ID, lead byte, command, slot address, four data bytes.
constexpr std::size_t kFrameReportSize = 8;

}  // namespace

SwitchModel::SwitchModel() = default;

bool SwitchModel::ApplyReport(std::span<const std::uint8_t> report) {
  // Bytes after the frame are the zero fill up to the report length.
  if (report.size() < kFrameReportSize) return false;
  if (report[0] != kReportId || report[1] != kLeadByte) return false;
  const std::uint8_t command = report[2];
  if (command != kKeyCommand && command != kMouseCommand) return false;
  const std::uint8_t slot = report[3];
  if (slot % 4 != 0 || slot > kLastSlotAddress) return false;

  const std::size_t index = slot / 4u;
  std::copy_n(report.begin() + 4, records_[index].size(), records_[index].begin());
  commands_[index] = command;
  return true;
}

std::string SwitchModel::Dump() const {
  std::string text;
  for (std::size_t index = 0; index < kRecordCount; ++index) {
    text += HexDigits(static_cast<std::uint8_t>(index * 4)) + ":";
    for (const std::uint8_t byte : records_[index]) text += " " + HexDigits(byte);
    text += "\n";
  }
  return text;
}

}  // namespace kestrova::device
