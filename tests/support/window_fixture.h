#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "app/ui/usb_window.h"
#include "fake_hid_port.h"
#include "simulated_foot_switch.h"

namespace kestrova::testing {

// The window over a fake HID port, with a fixed clock, a recording sleeper,
// scripted message boxes and a recording URL opener.
class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Plugs the simulated foot switch and runs one timer tick.
  void Connect();
  // The texts of the status log without their time stamps.
  QStringList LogMessages() const;
  // Reports that reached the vendor interface, as "00 AA 01 ..." texts.
  std::vector<std::string> ReportsToDevice() const;
  void TypeSwitch(const QString& text);

  FakeHidPort port;
  SimulatedFootSwitch footSwitch;
  std::vector<int> sleeps;
  struct Question {
    QString title;
    QString text;
  };
  std::vector<Question> questions;
  bool answerOk = true;
  std::vector<QString> messages;
  std::vector<QString> openedUrls;
  LocalDateTime clock{2021, 12, 12, 15, 4, 5};
  std::unique_ptr<ui::USB> window;
};

}  // namespace kestrova::testing
