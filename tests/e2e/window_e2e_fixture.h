#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/usb_window.h"
#include "hid/hid_port.h"
#include "sim_process.h"

namespace kestrova::e2e {

inline const QString kConnectedCaption = QString::fromUtf8("设备连接成功！");
inline const QString kInsertDeviceCaption = QString::fromUtf8("请插入设备！");

// The three reports of switch "2", left Ctrl and F1 with no delay and long
// press not ticked: the key frame, the key-delay frame, the long-press frame.
inline const std::vector<std::string> kCtrlF1OnSwitch2Reports = {
    "00 AA 01 04 01 3A 00 00 00",
    "00 AA 01 7C 79 01 00 00 00",
    "00 AA 01 78 79 01 00 00 00",
};

// The real window over the real hidraw port, with kestrova-sim as the
// device. Ticks are run by the test (`Tick`) unless a scenario waits on
// the window's own timer.
class WindowOnSimulatedSwitch : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the simulator with these options and waits for its nodes.
  void StartSimulator(const std::vector<std::string>& args, std::size_t interfaces);
  void OpenWindow();
  void Tick() { window->Timer1_Timer(); }
  void Click(QWidget* widget);
  void PickSwitch(const QString& item);
  // Switch "2", left Ctrl on, click on F1 (key index 0).
  void AssignCtrlF1ToSwitch2();
  // The status log's messages without their time stamps.
  QStringList LogMessages() const;

  // Every control that needs the device, in the window's order.
  std::vector<QWidget*> DeviceControls() const;
  ::testing::AssertionResult ShowsConnected() const;
  ::testing::AssertionResult ShowsNoDevice() const;

  std::unique_ptr<SimProcess> sim;
  std::vector<std::string> nodes;
  std::unique_ptr<hid::HidPort> port;
  std::unique_ptr<ui::USB> window;
  std::vector<QString> messageBoxes;

 private:
  ::testing::AssertionResult ShowsState(const QString& caption, bool controlsEnabled) const;
};

}  // namespace kestrova::e2e
