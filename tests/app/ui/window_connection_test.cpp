#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "window_fixture.h"

namespace kestrova::testing {
namespace {

using Connection = WindowFixture;

TEST_F(Connection, FirstTickConnectsAndEnablesTheDeviceControls) {
  Connect();
  EXPECT_EQ(window->Label3->text(), "设备连接成功！");
  EXPECT_TRUE(window->Command_key(0)->isEnabled());
  EXPECT_TRUE(window->Iwrite->isEnabled());
  EXPECT_TRUE(window->link().deviceConnected());
  EXPECT_EQ(window->link().interfacePath(), footSwitch.vendorPath()) << "the keyboard interface takes no frames";
  EXPECT_EQ(window->lstResults->count(), 0) << "discovery logs nothing";
}

TEST_F(Connection, TheTimerRunsDiscoveryEvery350Milliseconds) {
  footSwitch.PlugInto(port);
  window->Timer1->start();
  QTRY_COMPARE_WITH_TIMEOUT(window->Label3->text(), QString("设备连接成功！"), 2000);
  footSwitch.UnplugFrom(port);
  QTRY_COMPARE_WITH_TIMEOUT(window->Label3->text(), QString("请插入设备！"), 2000);
  EXPECT_FALSE(window->Command_key(0)->isEnabled());
}

TEST_F(Connection, FollowsUnplugAndReplug) {
  Connect();
  QTest::mouseClick(window->Command_ctrl, Qt::LeftButton);
  footSwitch.UnplugFrom(port);
  window->Timer1_Timer();
  EXPECT_EQ(window->Label3->text(), "请插入设备！");
  EXPECT_FALSE(window->Command_ctrl->isEnabled());
  EXPECT_FALSE(window->link().deviceConnected());
  EXPECT_TRUE(window->link().deviceFoundOnce());
  EXPECT_EQ(port.openHandleCount(), 0u);

  footSwitch.PlugInto(port);
  window->Timer1_Timer();
  EXPECT_EQ(window->Label3->text(), "设备连接成功！");
  EXPECT_TRUE(window->Command_ctrl->isEnabled());
  // The toggle kept its state through the disconnection.
  window->Command_key_Click(0);
  EXPECT_EQ(ReportsToDevice().front(), "00 AA 01 00 01 3A 00 00 00");
}

TEST_F(Connection, EditedIdsTakeEffectAtTheNextTick) {
  Connect();
  window->TextVID->setText(" 2705");
  window->Timer1_Timer();
  EXPECT_EQ(window->Label3->text(), "请插入设备！");
  window->TextVID->setText(" 2704 ");
  window->TextPID->setText("2018");
  window->Timer1_Timer();
  EXPECT_EQ(window->Label3->text(), "设备连接成功！");
  for (const QString& odd : {QString(""), QString("xyz"), QString("12704"), QString("27 04")}) {
    window->TextVID->setText(odd);
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text(), "请插入设备！") << odd.toStdString();
  }
}

TEST_F(Connection, LostDeviceIsLookedForOnceByEachWrite) {
  Connect();
  footSwitch.UnplugFrom(port);
  window->Timer1_Timer();
  port.TakeCalls();
  window->Command_key_Click(0);
  const auto calls = port.TakeCalls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "enumerate"), 3) << "one discovery for each of the three writes";
  EXPECT_TRUE(window->lstResults->item(0)->text().endsWith("成功在开关 <1> 中写入< F1 >"));

  // Plugged again: the first write finds it and the rest go straight out.
  footSwitch.PlugInto(port);
  window->Command_key_Click(0);
  const auto again = port.TakeCalls();
  EXPECT_EQ(std::count(again.begin(), again.end(), "enumerate"), 1);
  EXPECT_EQ(ReportsToDevice().size(), 3u);
  EXPECT_EQ(window->Label3->text(), "设备连接成功！");
}

TEST_F(Connection, HandlesStayBoundedOverManyCyclesAndUnloadClosesThem) {
  for (int cycle = 0; cycle < 100; ++cycle) {
    footSwitch.PlugInto(port);
    window->Timer1_Timer();
    window->Timer1_Timer();
    EXPECT_LE(port.openHandleCount(), 2u);
    footSwitch.UnplugFrom(port);
    window->Timer1_Timer();
    EXPECT_EQ(port.openHandleCount(), 0u);
  }
  footSwitch.PlugInto(port);
  window->Timer1_Timer();
  EXPECT_EQ(port.openHandleCount(), 2u);
  window->close();
  EXPECT_EQ(port.openHandleCount(), 0u);
  EXPECT_EQ(LogMessages(), (QStringList{"CloseHandle (HIDHandle)", "CloseHandle (ReadHandle)"}));
  EXPECT_TRUE(port.misuse().empty());
}

}  // namespace
}  // namespace kestrova::testing

namespace kestrova::testing {
namespace {

class AccessDenied : public WindowFixture {
 protected:
  // The vendor interface is present but refuses to open, as a hidraw node
  // without the user's permissions does.
  void PlugDenied() {
    footSwitch.PlugInto(port);
    port.interfaceAt(footSwitch.vendorPath()).openFailure = hid::OpenFailure::AccessDenied;
  }
  void Ticks(int count) {
    for (int i = 0; i < count; ++i) window->Timer1_Timer();
  }
  int NoticeCount() const { return static_cast<int>(LogMessages().filter("没有访问权限").size()); }
};

TEST_F(AccessDenied, OneLinePerEpisodeOnceTheDenialLasts) {
  PlugDenied();
  Ticks(3);
  EXPECT_EQ(NoticeCount(), 0) << "udev may still be setting the permissions";
  Ticks(1);
  EXPECT_EQ(NoticeCount(), 1);
  Ticks(50);
  EXPECT_EQ(NoticeCount(), 1) << "one line per episode, not per tick";
  EXPECT_EQ(window->Label3->text(), "请插入设备！");
  EXPECT_FALSE(window->Command_key(0)->isEnabled());

  footSwitch.UnplugFrom(port);
  Ticks(2);
  PlugDenied();
  Ticks(10);
  EXPECT_EQ(NoticeCount(), 2) << "plugged again: a new episode";
}

TEST_F(AccessDenied, BriefDenialOrOpenableDeviceSaysNothing) {
  PlugDenied();
  Ticks(3);
  port.interfaceAt(footSwitch.vendorPath()).openFailure = hid::OpenFailure::None;  // permissions applied
  Ticks(10);
  EXPECT_EQ(window->Label3->text(), "设备连接成功！");
  EXPECT_EQ(NoticeCount(), 0);

  // Another kind of failure is not a permissions problem.
  port.interfaceAt(footSwitch.vendorPath()).openFailure = hid::OpenFailure::Other;
  Ticks(10);
  EXPECT_EQ(NoticeCount(), 0);
}

}  // namespace
}  // namespace kestrova::testing
