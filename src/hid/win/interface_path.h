#pragma once

#include "hid/win/win32_api.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace kestrova::hid::win {

// Bytes to allocate for an interface detail record whose required size the
// system gave as `requiredSize`: room for the record's own header even when
// the answer is smaller, plus one zero byte so the path always ends inside
// the buffer. None when the size cannot even hold the record's size field:
// such an answer is no usable path.
std::optional<std::size_t> DetailBufferSize(DWORD requiredSize);

// The path in a detail record: the text after the size field, up to the
// first NUL or the end of the buffer, whichever comes first.
std::string PathFromDetailRecord(std::span<const char> record);

// The device path of one interface of the set, by the two detail calls.
// Empty when the system does not tell it; such an interface does not open.
std::string ReadInterfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& interfaceData);

}  // namespace kestrova::hid::win
