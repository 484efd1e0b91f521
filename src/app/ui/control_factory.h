#pragma once

#include "app/control_layout.h"

class QWidget;

namespace kestrova::ui {

// Creates one control of the layout table under its parent, placed in
// pixels and styled as the table says. The widget's objectName is the
// control's name.
QWidget* CreateControl(const ControlSpec& spec, QWidget* parent);

// Places a widget at a rectangle given in twips.
void PlaceInTwips(QWidget* widget, const TwipsRect& rect);

}  // namespace kestrova::ui
