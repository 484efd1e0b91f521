#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/ui/back_color.h"
#include "app/ui/clickable_label.h"
#include "window_fixture.h"

namespace kestrova::testing {
namespace {

using StartUp = WindowFixture;

std::vector<QWidget*> DeviceControls(const ui::USB& window) {
  const std::initializer_list<const char*> names = {
      "Command_shift",  "Command_ctrl",  "Command_alt",   "Command_win",      "Command_shift_r",
      "Command_ctrl_r", "Command_alt_r", "Command_win_r", "Command1",         "Iwrite",
      "Command_L_btn",  "Command_M_btn", "Command_R_btn", "Command_auto_run", "Command2"};
  std::vector<QWidget*> controls;
  controls.reserve(static_cast<std::size_t>(keys::kKeyButtonCount) + names.size());
  for (int i = 0; i < keys::kKeyButtonCount; ++i) controls.push_back(window.Command_key(i));
  for (const char* name : names) controls.push_back(window.control(name));
  return controls;
}

TEST_F(StartUp, WindowHasItsCaptionSizeAndTimer) {
  EXPECT_EQ(window->windowTitle(), "Kestrova");
  EXPECT_EQ(window->size(), QSize(809, 361));
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->windowIcon().isNull());
  EXPECT_EQ(window->Timer1->interval(), 350);
}

TEST_F(StartUp, ControlsHoldTheirStartValues) {
  for (QWidget* control : DeviceControls(*window)) {
    ASSERT_NE(control, nullptr);
    EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
  }
  ASSERT_EQ(window->Combo1->count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(window->Combo1->itemText(i), QString::number(i + 1));
  EXPECT_EQ(window->Combo1->currentText(), "1");
  EXPECT_TRUE(window->Combo1->isEditable());
  EXPECT_TRUE(window->Option2->isChecked());
  EXPECT_FALSE(window->Option1->isChecked());
  EXPECT_FALSE(window->Check1->isChecked());
  EXPECT_EQ(window->Text_delay->text(), "0");
  EXPECT_EQ(window->TextIW->text(), "aa 01 00 00 3C 00 00");
  EXPECT_FALSE(window->TextIW->isEnabled());
  EXPECT_EQ(window->TextVID->text(), "2704");
  EXPECT_EQ(window->TextPID->text(), "2018");
  EXPECT_EQ(window->Label3->text(), "请插入设备！");
  EXPECT_EQ(window->lstResults->count(), 0);
  EXPECT_TRUE(window->contion->isEnabled());
  EXPECT_TRUE(window->Check1->isEnabled());
  EXPECT_TRUE(window->Option1->isEnabled());
  EXPECT_EQ(port.calls().size(), 0u) << "start-up sends nothing";
}

TEST_F(StartUp, KeysCarryTheirCaptionsAndCodes) {
  struct Key {
    int index;
    const char* caption;
    const char* code;
  };
  const Key keysToCheck[] = {{0, "F1", "58"}, {11, "F12", "69"}, {27, "\\", "50"},    {41, "1", "30"},
                             {50, "A", "4"},  {75, "Z", "29"},   {76, " ", "44"},     {79, "enter", ""},
                             {85, "7", "95"}, {47, "7", "36"},   {31, "Menu", "101"}, {21, "Numlock", "83"}};
  for (const Key& key : keysToCheck) {
    EXPECT_EQ(window->Command_key(key.index)->text(), key.caption) << key.index;
    EXPECT_EQ(window->KeyCodeTable()[static_cast<std::size_t>(key.index)], key.code) << key.index;
  }
  for (int empty : {98, 99, 100}) EXPECT_TRUE(window->KeyCodeTable()[static_cast<std::size_t>(empty)].isEmpty());
}

TEST_F(StartUp, HiddenAndOffScreenControlsExistAndStayHidden) {
  for (const char* hidden : {"Frame1", "Frame4", "Command1", "Command2", "Label1", "TextVID", "Label2", "TextPID"}) {
    ASSERT_NE(window->control(hidden), nullptr) << hidden;
    EXPECT_TRUE(window->control(hidden)->isHidden()) << hidden;
  }
  EXPECT_TRUE(window->Command_key(21)->isHidden());
  EXPECT_TRUE(window->Command_key(79)->isHidden());
  EXPECT_EQ(window->Command_key(21)->parentWidget(), window.get());
  EXPECT_EQ(window->Command_key(0)->parentWidget(), window->FrameKeyBoard);
  // Beyond the right edge of the client area: there, but out of sight.
  for (const char* offScreen : {"TextIW", "contion", "Frame4"}) {
    EXPECT_GE(window->control(offScreen)->x(), window->width()) << offScreen;
  }
  window->EnableDeviceControls();
  for (const char* hidden : {"Frame1", "Frame4", "Command1", "Command2"}) {
    EXPECT_TRUE(window->control(hidden)->isHidden()) << hidden;
  }
  EXPECT_TRUE(window->Command_key(21)->isHidden());
  EXPECT_TRUE(window->Command_key(79)->isHidden());
}

TEST_F(StartUp, EnableAndDisableChangeOnlyTheEnabledStateAndRepeatSafely) {
  QTest::mouseClick(window->Command_ctrl, Qt::LeftButton);  // disabled: the click does nothing
  EXPECT_EQ(ui::BackColor(window->Command_ctrl), keys::kButtonFaceColour);

  window->EnableDeviceControls();
  window->EnableDeviceControls();
  for (QWidget* control : DeviceControls(*window)) EXPECT_TRUE(control->isEnabled());
  QTest::mouseClick(window->Command_ctrl, Qt::LeftButton);
  const QString frame = window->TextIW->text();

  window->DisableDeviceControls();
  window->DisableDeviceControls();
  for (QWidget* control : DeviceControls(*window)) EXPECT_FALSE(control->isEnabled());
  EXPECT_EQ(ui::BackColor(window->Command_ctrl), keys::kToggleOnColour) << "a toggle keeps its colour";
  EXPECT_EQ(window->TextIW->text(), frame);
  EXPECT_EQ(window->Command_key(0)->text(), "F1");
  EXPECT_FALSE(window->TextIW->isEnabled());
}

TEST_F(StartUp, ToggleClicksComposeTheKeyboardFrameWithoutWriting) {
  window->EnableDeviceControls();
  TypeSwitch("2");
  QTest::mouseClick(window->Command_ctrl, Qt::LeftButton);
  EXPECT_EQ(window->TextIW->text(), "aa 01 04 01 00 00 00");
  EXPECT_EQ(window->ModifierMask(), 0x01);
  QTest::mouseClick(window->Command_shift, Qt::LeftButton);
  EXPECT_EQ(window->TextIW->text(), "aa 01 04 03 00 00 00");
  QTest::mouseClick(window->Command_win_r, Qt::LeftButton);
  EXPECT_EQ(window->TextIW->text(), "aa 01 04 83 00 00 00");
  QTest::mouseClick(window->Command_win_r, Qt::LeftButton);
  EXPECT_EQ(ui::BackColor(window->Command_win_r), keys::kButtonFaceColour);
  EXPECT_EQ(window->TextIW->text(), "aa 01 04 03 00 00 00");
  EXPECT_EQ(std::get<double>(window->KeyCode()), 0.0);

  // Any colour other than exact green counts as off in the frame, and as on
  // for the toggle, which turns it off.
  ui::SetBackColor(window->Command_alt, 0x00FE00);
  window->BuildKeyFrame();
  EXPECT_EQ(window->ModifierMask(), 0x03);
  QTest::mouseClick(window->Command_alt, Qt::LeftButton);
  EXPECT_EQ(ui::BackColor(window->Command_alt), keys::kButtonFaceColour);

  for (QPushButton* toggle :
       {window->Command_ctrl, window->Command_shift, window->Command_alt, window->Command_win, window->Command_ctrl_r,
        window->Command_shift_r, window->Command_alt_r, window->Command_win_r}) {
    if (ui::BackColor(toggle) != keys::kToggleOnColour) QTest::mouseClick(toggle, Qt::LeftButton);
  }
  TypeSwitch("4");
  window->BuildKeyFrame();
  EXPECT_EQ(window->TextIW->text(), "aa 01 0C FF 00 00 00");
  EXPECT_TRUE(port.writes().empty());
  EXPECT_EQ(window->lstResults->count(), 0);
}

TEST_F(StartUp, OddSwitchTextsNeverCrashTheFrameBuilder) {
  window->EnableDeviceControls();
  struct Case {
    QString text;
    QString frame;
  };
  const Case cases[] = {{"0", "aa 01 FC 01 00 00 00"},   {"abc", "aa 01 FC 01 00 00 00"},
                        {"5", "aa 01 10 01 00 00 00"},   {"65", "aa 01 00 01 00 00 00"},
                        {"1.5", "aa 01 02 01 00 00 00"}, {"1.125", "aa 01 00 01 00 00 00"},
                        {"", "aa 01 FC 01 00 00 00"},    {"-2147483649", "aa 01 F8 01 00 00 00"}};
  QTest::mouseClick(window->Command_ctrl, Qt::LeftButton);
  for (const Case& c : cases) {
    TypeSwitch(c.text);
    window->BuildKeyFrame();
    EXPECT_EQ(window->TextIW->text(), c.frame) << c.text.toStdString();
  }
  // No integer value at all: nothing is built, the last frame stays.
  TypeSwitch(QString(400, '9'));
  EXPECT_FALSE(window->BuildKeyFrame());
  EXPECT_EQ(window->TextIW->text(), cases[std::size(cases) - 1].frame);
}

TEST_F(StartUp, StatusLinesCarryTheTimeAndTheNewestIsSelected) {
  window->AddStatusLine("m");
  window->AddStatusLine("");
  EXPECT_EQ(window->lstResults->item(0)->text(), "[2021/12/12 15:04:05]:m");
  EXPECT_EQ(window->lstResults->item(1)->text(), "[2021/12/12 15:04:05]:");
  EXPECT_EQ(window->lstResults->currentRow(), 1);

  window->lstResults->setCurrentRow(0);
  clock = {2022, 1, 2, 0, 0, 0};
  window->AddStatusLine("midnight");
  EXPECT_EQ(window->lstResults->item(2)->text(), "[2022/01/02]:midnight");
  EXPECT_EQ(window->lstResults->currentRow(), 2);

  QTest::mouseClick(window->Clear, Qt::LeftButton);
  EXPECT_EQ(window->lstResults->count(), 0);
  EXPECT_EQ(window->lstResults->currentRow(), -1);
  window->AddStatusLine("again");
  EXPECT_EQ(window->lstResults->count(), 1);
  EXPECT_EQ(window->lstResults->currentRow(), 0);
}

TEST_F(StartUp, ShopLinkOpensTheConfiguredPageWithOrWithoutDevice) {
  QTest::mouseClick(window->Label11, Qt::LeftButton);
  ASSERT_EQ(openedUrls.size(), 1u);
  EXPECT_FALSE(openedUrls[0].isEmpty());
  EXPECT_FALSE(window->Label11->text().isEmpty());
  Connect();
  QTest::mouseClick(window->Label11, Qt::LeftButton);
  EXPECT_EQ(openedUrls.size(), 2u);
  EXPECT_EQ(window->lstResults->count(), 0) << "the link logs nothing";
}

TEST_F(StartUp, UnloadLogsBothClosesEvenWithoutADevice) {
  window->close();
  EXPECT_EQ(LogMessages(), (QStringList{"CloseHandle (HIDHandle)", "CloseHandle (ReadHandle)"}));
  EXPECT_FALSE(window->Timer1->isActive());
}

}  // namespace
}  // namespace kestrova::testing
