#include "app/ui/caret_blink_timeout.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

namespace kestrova::ui {
namespace {

// Input that shows the user is at the window again.
bool IsUserInput(const QEvent& event) {
  switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::InputMethod:
    case QEvent::WindowActivate: return true;
    default: return false;
  }
}

}  // namespace

CaretBlinkTimeout::CaretBlinkTimeout(std::chrono::milliseconds timeout)
    : flashTime_(QGuiApplication::styleHints()->cursorFlashTime()) {
  quiet_.setSingleShot(true);
  quiet_.setInterval(timeout);
  connect(&quiet_, &QTimer::timeout, this, &CaretBlinkTimeout::StopBlinking);
  QCoreApplication::instance()->installEventFilter(this);
  quiet_.start();
}

CaretBlinkTimeout::~CaretBlinkTimeout() { ResumeBlinking(); }

bool CaretBlinkTimeout::eventFilter(QObject* watched, QEvent* event) {
  if (IsUserInput(*event)) {
    ResumeBlinking();
    quiet_.start();
  }
  return QObject::eventFilter(watched, event);
}

void CaretBlinkTimeout::StopBlinking() {
  if (stopped_) return;
  stopped_ = true;
  // A flash time of 0 shows the caret steadily.
  QGuiApplication::styleHints()->setCursorFlashTime(0);
}

void CaretBlinkTimeout::ResumeBlinking() {
  if (!stopped_) return;
  stopped_ = false;
  QGuiApplication::styleHints()->setCursorFlashTime(flashTime_);
}

}  // namespace kestrova::ui
