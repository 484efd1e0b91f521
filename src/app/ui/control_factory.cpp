#include "app/ui/control_factory.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "app/ui/back_color.h"
#include "app/ui/clickable_label.h"
#include "app/ui/fonts.h"

namespace kestrova::ui {
namespace {

QColor RoleColour(ColourRole role) {
  const QPalette& palette = QApplication::palette();
  switch (role) {
    case ColourRole::HighlightText: return palette.color(QPalette::HighlightedText);
    case ColourRole::WindowText: return palette.color(QPalette::WindowText);
    case ColourRole::WindowBackground: return palette.color(QPalette::Base);
    case ColourRole::Green: return QColor(0, 128, 0);
    case ColourRole::White: return QColor(255, 255, 255);
    case ColourRole::Default: break;
  }
  return {};
}

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QWidget* NewWidget(const ControlSpec& spec, QWidget* parent) {
  const QString caption = Text(spec.caption);
  switch (spec.kind) {
    case ControlKind::Frame: return new QGroupBox(caption, parent);
    case ControlKind::Label: return new ClickableLabel(caption, parent);
    case ControlKind::Button: return new QPushButton(caption, parent);
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(true);
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setEditText(caption);
      return combo;
    }
    case ControlKind::TextBox: return new QLineEdit(caption, parent);
    case ControlKind::ListBox: return new QListWidget(parent);
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(caption, parent);
      box->setChecked(spec.checked);
      return box;
    }
    case ControlKind::OptionButton: {
      auto* option = new QRadioButton(caption, parent);
      option->setChecked(spec.checked);
      return option;
    }
  }
  return new QWidget(parent);
}

void ApplyColours(const ControlSpec& spec, QWidget* widget) {
  QPalette palette = widget->palette();
  if (spec.back != ColourRole::Default) {
    if (spec.kind == ControlKind::Button) {
      palette.setColor(QPalette::Button, RoleColour(spec.back));
    } else {
      palette.setColor(QPalette::Window, RoleColour(spec.back));
      widget->setAutoFillBackground(true);
    }
  }
  if (spec.text != ColourRole::Default) {
    palette.setColor(spec.kind == ControlKind::Button ? QPalette::ButtonText : QPalette::WindowText,
                     RoleColour(spec.text));
  }
  widget->setPalette(palette);
}

}  // namespace

void PlaceInTwips(QWidget* widget, const TwipsRect& rect) {
  widget->setGeometry(TwipsToPixels(rect.left), TwipsToPixels(rect.top), TwipsToPixels(rect.width),
                      TwipsToPixels(rect.height));
}

QWidget* CreateControl(const ControlSpec& spec, QWidget* parent) {
  QWidget* widget = NewWidget(spec, parent);
  widget->setObjectName(Text(spec.name));
  widget->setFont(FontFor(spec.font));
  PlaceInTwips(widget, spec.rect);
  ApplyColours(spec, widget);
  if (spec.graphical && spec.back == ColourRole::Default) SetBackColor(widget, keys::kButtonFaceColour);
  widget->setEnabled(spec.enabled);
  widget->setVisible(spec.visible);
  return widget;
}

}  // namespace kestrova::ui
