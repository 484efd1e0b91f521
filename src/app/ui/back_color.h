#pragma once

#include "keys/modifiers.h"

class QWidget;

namespace kestrova::ui {

// A toggle keeps its state only in its back colour, stored on the widget in
// the toolkit's colour encoding and shown through its palette.
void SetBackColor(QWidget* widget, keys::ColourValue colour);
keys::ColourValue BackColor(const QWidget* widget);

}  // namespace kestrova::ui
