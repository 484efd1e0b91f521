#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace kestrova::device {

// What the foot switch keeps: 32 records of four data bytes, addressed by a
// slot address of 4 x the record's index. A frame is AA, a command byte, the
// slot address and four data bytes; an output report is the report ID 00
// followed by the frame.
class SwitchModel {
 public:
  static constexpr std::size_t kRecordCount = 32;
  using Record = std::array<std::uint8_t, 4>;

  SwitchModel();

  // Applies one output report (report ID byte first). Returns false, and
  // changes nothing, when it does not carry a well-formed frame: report ID
  // 00, lead byte AA, command 01 (keys and settings) or 02 (mouse), a slot
  // address that is a multiple of 4 up to 7C, four data bytes. Bytes after
  // the frame (the zero fill of the report) are not looked at.
  bool ApplyReport(std::span<const std::uint8_t> report);

  const Record& record(std::size_t index) const { return records_.at(index); }
  // Command byte of the last frame stored in a record (0 when never written).
  std::uint8_t command(std::size_t index) const { return commands_.at(index); }

  // "00: 01 3A 00 00" lines, one per record, for people and for tests.
  std::string Dump() const;

 private:
  std::array<Record, kRecordCount> records_{};
  std::array<std::uint8_t, kRecordCount> commands_{};
};

}  // namespace kestrova::device
