#pragma once

#include <QLabel>

namespace kestrova::ui {

// A label with a click event, for the shop link.
class ClickableLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace kestrova::ui
