#include "window_e2e_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <iostream>

#include "app/ui/window_services.h"
#include "hid/platform_port.h"
#include "uhid_access.h"

namespace kestrova::e2e {
namespace {

constexpr int kKeyButtons = 98;

}  // namespace

void WindowOnSimulatedSwitch::SetUp() {
  KESTROVA_REQUIRE_UHID();
  port = hid::MakePlatformPort();
  ASSERT_NE(port, nullptr);
}

void WindowOnSimulatedSwitch::TearDown() {
  if (window) {
    window->close();
    window.reset();
  }
  if (HasFailure() && sim) std::cerr << "last simulator events:\n" << sim->Tail(40);
  sim.reset();
}

void WindowOnSimulatedSwitch::StartSimulator(const std::vector<std::string>& args, std::size_t interfaces) {
  sim = std::make_unique<SimProcess>(args);
  ASSERT_TRUE(sim->running()) << "kestrova-sim did not start";
  nodes = sim->WaitForNodes(interfaces);
  ASSERT_EQ(nodes.size(), interfaces) << "kestrova-sim did not announce its nodes\n" << sim->Tail(20);
}

void WindowOnSimulatedSwitch::OpenWindow() {
  ui::WindowServices services = ui::DesktopServices(*port);
  // No scenario here asks a question; a modal box would block the run.
  services.confirm = [](QWidget*, const QString&, const QString&) { return true; };
  services.inform = [this](QWidget*, const QString& text) { messageBoxes.push_back(text); };
  services.openUrl = [](const QString&) {};
  window = std::make_unique<ui::USB>(std::move(services));
  window->Form_Load();
}

void WindowOnSimulatedSwitch::Click(QWidget* widget) {
  ASSERT_NE(widget, nullptr);
  ASSERT_TRUE(widget->isEnabled()) << widget->objectName().toStdString() << " is greyed out";
  QTest::mouseClick(widget, Qt::LeftButton);
}

void WindowOnSimulatedSwitch::PickSwitch(const QString& item) {
  const int index = window->Combo1->findText(item);
  ASSERT_GE(index, 0) << "no item " << item.toStdString() << " in Combo1";
  window->Combo1->setCurrentIndex(index);
}

void WindowOnSimulatedSwitch::AssignCtrlF1ToSwitch2() {
  PickSwitch("2");
  Click(window->Command_ctrl);
  Click(window->Command_key(0));
}

QStringList WindowOnSimulatedSwitch::LogMessages() const {
  QStringList messages;
  for (int row = 0; row < window->lstResults->count(); ++row) {
    const QString line = window->lstResults->item(row)->text();
    const qsizetype afterStamp = line.indexOf("]:");
    messages << (afterStamp < 0 ? line : line.mid(afterStamp + 2));
  }
  return messages;
}

std::vector<QWidget*> WindowOnSimulatedSwitch::DeviceControls() const {
  const std::initializer_list<QWidget*> named = {
      window->Command_shift,   window->Command_ctrl,     window->Command_alt,   window->Command_win,
      window->Command_shift_r, window->Command_ctrl_r,   window->Command_alt_r, window->Command_win_r,
      window->Command1,        window->Iwrite,           window->Command_L_btn, window->Command_M_btn,
      window->Command_R_btn,   window->Command_auto_run, window->Command2};
  std::vector<QWidget*> controls;
  controls.reserve(static_cast<std::size_t>(kKeyButtons) + named.size());
  for (int i = 0; i < kKeyButtons; ++i) controls.push_back(window->Command_key(i));
  controls.insert(controls.end(), named);
  return controls;
}

::testing::AssertionResult WindowOnSimulatedSwitch::ShowsState(const QString& caption, bool controlsEnabled) const {
  if (window->Label3->text() != caption) {
    return ::testing::AssertionFailure() << "Label3 shows \"" << window->Label3->text().toStdString()
                                         << "\", expected \"" << caption.toStdString() << "\"";
  }
  const std::vector<QWidget*> controls = DeviceControls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i] == nullptr) return ::testing::AssertionFailure() << "device control " << i << " is missing";
    if (controls[i]->isEnabled() != controlsEnabled) {
      return ::testing::AssertionFailure()
             << controls[i]->objectName().toStdString() << (i < kKeyButtons ? "(" + std::to_string(i) + ")" : "")
             << " is " << (controlsEnabled ? "greyed out" : "enabled");
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult WindowOnSimulatedSwitch::ShowsConnected() const {
  return ShowsState(kConnectedCaption, true);
}

::testing::AssertionResult WindowOnSimulatedSwitch::ShowsNoDevice() const {
  return ShowsState(kInsertDeviceCaption, false);
}

}  // namespace kestrova::e2e
