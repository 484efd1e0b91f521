#include <QApplication>
#include <QIcon>

#include "app/ui/caret_blink_timeout.h"
#include "app/ui/usb_window.h"
#include "hid/platform_port.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("kestrova");
  QApplication::setApplicationDisplayName("Kestrova");
  QApplication::setWindowIcon(QIcon(":/icons/kestrova-32.png"));

  const kestrova::ui::CaretBlinkTimeout caretBlinkTimeout;
  const auto port = kestrova::hid::MakePlatformPort();
  kestrova::ui::USB window(kestrova::ui::DesktopServices(*port));
  window.Form_Load();
  return QApplication::exec();
}
