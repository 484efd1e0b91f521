#pragma once

#include <QFont>

#include "app/control_layout.h"
#include "keys/key_table.h"

namespace kestrova::ui {

// The named face first, then its usual substitutes, then an installed CJK
// face so the Chinese captions render where the named faces are missing.
QFont FontFor(const FontSpec& spec);
QFont KeyFont(keys::FontClass fontClass);

}  // namespace kestrova::ui
