#pragma once

#include <string>
#include <variant>

namespace kestrova::keys {

// What the next keyboard or mouse frame carries: a number (0 after a toggle,
// a mouse button's bit) or a key's decimal code text.
using KeyCodeValue = std::variant<double, std::string>;

}  // namespace kestrova::keys
