#pragma once

#include <QString>
#include <functional>

#include "app/status_line.h"
#include "hid/hid_port.h"

class QWidget;

namespace kestrova::ui {

// Everything the window reaches outside itself, so tests can stand in for it.
struct WindowServices {
  hid::HidPort* port = nullptr;
  std::function<void(int milliseconds)> sleep;  // blocks the window's thread
  std::function<LocalDateTime()> now;           // local date and time
  // A modal question with OK (the default) and Cancel; true for OK.
  std::function<bool(QWidget* owner, const QString& title, const QString& text)> confirm;
  // A modal message with an OK button and the application's title.
  std::function<void(QWidget* owner, const QString& text)> inform;
  std::function<void(const QString& url)> openUrl;
};

// The real ones: thread sleep, the system clock, message boxes, the desktop's
// URL handler, over the given port.
WindowServices DesktopServices(hid::HidPort& port);

}  // namespace kestrova::ui
