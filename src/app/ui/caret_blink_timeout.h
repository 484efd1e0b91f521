#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

class QEvent;

namespace kestrova::ui {

// Stops the text caret's blinking after a while without input, and lets it
// blink again at the next key press, click or activation, as the desktops do
// for their own text fields. A blinking caret repaints its text box twice a
// second for as long as the window is active, which in an idle window left
// open for hours is nearly all of its cost; Qt blinks for ever. The caret
// stays visible when it stops.
class CaretBlinkTimeout : public QObject {
 public:
  static constexpr std::chrono::milliseconds kDefaultTimeout{10'000};

  // Watches the input of the whole application; the application must exist.
  explicit CaretBlinkTimeout(std::chrono::milliseconds timeout = kDefaultTimeout);
  ~CaretBlinkTimeout() override;
  CaretBlinkTimeout(const CaretBlinkTimeout&) = delete;
  CaretBlinkTimeout& operator=(const CaretBlinkTimeout&) = delete;

  bool blinkingStopped() const { return stopped_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void StopBlinking();
  void ResumeBlinking();

  QTimer quiet_;
  int flashTime_;  // the desktop's, given back when the caret blinks again
  bool stopped_ = false;
};

}  // namespace kestrova::ui
