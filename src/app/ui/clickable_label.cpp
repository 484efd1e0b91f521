#include "app/ui/clickable_label.h"

#include <QMouseEvent>

namespace kestrova::ui {

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  QLabel::mouseReleaseEvent(event);
}

}  // namespace kestrova::ui
