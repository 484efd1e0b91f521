#include "app/ui/back_color.h"

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace kestrova::ui {
namespace {

constexpr const char* kProperty = "BackColor";
constexpr keys::ColourValue kSystemColourBit = 0x80000000;

}  // namespace

void SetBackColor(QWidget* widget, keys::ColourValue colour) {
  widget->setProperty(kProperty, QVariant::fromValue(colour));
  QPalette palette = widget->palette();
  if ((colour & kSystemColourBit) != 0) {
    palette.setColor(QPalette::Button, QApplication::palette().color(QPalette::Button));
  } else {
    // 0x00BBGGRR
    palette.setColor(QPalette::Button, QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                                              static_cast<int>((colour >> 16) & 0xFF)));
  }
  widget->setPalette(palette);
}

keys::ColourValue BackColor(const QWidget* widget) {
  const QVariant value = widget->property(kProperty);
  return value.isValid() ? value.value<keys::ColourValue>() : keys::kButtonFaceColour;
}

}  // namespace kestrova::ui
