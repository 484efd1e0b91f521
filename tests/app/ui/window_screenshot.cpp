// Draws the window as a user sees it, once without and once with a
// (simulated) foot switch, for the README. Run under a real display server
// (Xvfb) for the real look: window_screenshot <dir>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/ui/usb_window.h"
#include "fake_hid_port.h"
#include "simulated_foot_switch.h"

using namespace kestrova;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName("Kestrova");
  const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(".");

  testing::FakeHidPort port;
  testing::SimulatedFootSwitch footSwitch;
  ui::WindowServices services = ui::DesktopServices(port);
  services.sleep = [](int) {};
  ui::USB window(std::move(services));
  window.Timer1->stop();
  window.Form_Load();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  QTest::qWait(200);
  const bool idle = window.grab().save(dir + "/window-no-device.png");

  footSwitch.PlugInto(port);
  window.Timer1_Timer();
  window.Combo1->setEditText("2");
  QTest::mouseClick(window.Command_ctrl, Qt::LeftButton);
  QTest::mouseClick(window.Command_key(0), Qt::LeftButton);
  QTest::mouseClick(window.Command_M_btn, Qt::LeftButton);
  QTest::qWait(200);
  const bool connected = window.grab().save(dir + "/screenshot.png");
  return idle && connected ? 0 : 1;
}
