#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/ui/back_color.h"
#include "window_fixture.h"

namespace kestrova::testing {
namespace {

using Commands = WindowFixture;

const std::string kNoDelayFrame = "00 AA 01 7C 79 01 00 00 00";
const std::string kLongPressOffFrame = "00 AA 01 78 79 01 00 00 00";

std::string Record(const device::SwitchModel& model, std::size_t index) {
  const auto& r = model.record(index);
  return HexBytes(r);
}

TEST_F(Commands, KeyAssignmentWritesThreeReportsPausesAndLogs) {
  Connect();
  TypeSwitch("2");
  QTest::mouseClick(window->Command_ctrl, Qt::LeftButton);
  QTest::mouseClick(window->Command_key(0), Qt::LeftButton);

  EXPECT_EQ(ReportsToDevice(),
            (std::vector<std::string>{"00 AA 01 04 01 3A 00 00 00", kNoDelayFrame, kLongPressOffFrame}));
  EXPECT_EQ(sleeps, (std::vector<int>{50, 50}));
  ASSERT_EQ(window->lstResults->count(), 1);
  EXPECT_TRUE(window->lstResults->item(0)->text().endsWith("成功在开关 <2> 中写入< Ctrl + F1 >"));
  EXPECT_EQ(window->TextIW->text(), "AA 01 78 79 01 00 00") << "the long-press frame is the last one composed";
  EXPECT_EQ(std::get<std::string>(window->KeyCode()), "58");
  EXPECT_EQ(Record(footSwitch.model(), 1), "01 3A 00 00");
}

TEST_F(Commands, KeyAssignmentLogNamesModifiersInItsOwnOrder) {
  Connect();
  struct Case {
    std::vector<QPushButton*> toggles;
    int key;
    QString switchText;
    QString ending;
    std::string frame;
  };
  const Case cases[] = {
      {{}, 0, "1", "成功在开关 <1> 中写入< F1 >", "00 AA 01 00 00 3A 00 00 00"},
      {{window->Command_shift, window->Command_alt},
       50,
       "1",
       "成功在开关 <1> 中写入< Alt + Shift + A >",
       "00 AA 01 00 06 04 00 00 00"},
      {{window->Command_ctrl, window->Command_ctrl_r},
       76,
       "3",
       "成功在开关 <3> 中写入< Ctrl + Ctrl_R +   >",
       "00 AA 01 08 11 2C 00 00 00"},
      {{window->Command_ctrl, window->Command_shift, window->Command_alt, window->Command_win, window->Command_ctrl_r,
        window->Command_shift_r, window->Command_alt_r, window->Command_win_r},
       31,
       "4",
       "成功在开关 <4> 中写入< Ctrl + Alt + Shift + Win + Ctrl_R + Alt_R + Shift_R + Win_R + Menu >",
       "00 AA 01 0C FF 65 00 00 00"},
      {{}, 85, "0", "成功在开关 <0> 中写入< 7 >", "00 AA 01 FC 00 5F 00 00 00"},
      {{}, 27, " 2", "成功在开关 <2> 中写入< \\ >", "00 AA 01 04 00 32 00 00 00"},
  };
  for (const Case& c : cases) {
    for (QPushButton* toggle : c.toggles) QTest::mouseClick(toggle, Qt::LeftButton);
    TypeSwitch(c.switchText);
    const std::size_t before = port.writes().size();
    QTest::mouseClick(window->Command_key(c.key), Qt::LeftButton);
    ASSERT_EQ(port.writes().size(), before + 3);
    EXPECT_EQ(HexBytes(port.writes()[before].report), c.frame);
    EXPECT_TRUE(window->lstResults->item(window->lstResults->count() - 1)->text().endsWith(c.ending))
        << window->lstResults->item(window->lstResults->count() - 1)->text().toStdString();
    for (QPushButton* toggle : c.toggles) QTest::mouseClick(toggle, Qt::LeftButton);  // back off
  }
}

TEST_F(Commands, GuardedCommandsRefuseBeforeTheDeviceWasEverFound) {
  window->EnableDeviceControls();  // even with the buttons enabled, the guard holds
  const QString frameBefore = window->TextIW->text();
  window->Command_key_Click(0);
  window->Command2_Click();
  EXPECT_EQ(LogMessages(), (QStringList{"写入失败，请先连接。", "写入失败，请先连接。"}));
  EXPECT_EQ(window->TextIW->text(), frameBefore);
  EXPECT_EQ(std::get<double>(window->KeyCode()), 0.0);
  EXPECT_TRUE(port.writes().empty());
  EXPECT_TRUE(sleeps.empty());

  // The unguarded commands compose, log and write nothing.
  window->Command_L_btn_Click();
  window->Option1_Click();
  window->Iwrite_Click();
  EXPECT_TRUE(port.writes().empty());
  EXPECT_EQ(window->lstResults->count(), 5);
  EXPECT_EQ(LogMessages()[2], "成功在开关 < 1 > 写入鼠标 < 左键单击 > ");
  EXPECT_EQ(LogMessages()[3], "单次播放！");
  EXPECT_EQ(LogMessages()[4], "写入数据：AA 01 7C 00 00 00 00");
}

TEST_F(Commands, RefusedFramesWriteNothing) {
  Connect();
  TypeSwitch(QString(400, '9'));  // a number with no integer value
  window->Command_key_Click(0);
  window->Command_L_btn_Click();
  EXPECT_TRUE(port.writes().empty());
  EXPECT_EQ(LogMessages(), (QStringList{"写入失败，开关选择无效。", "写入失败，开关选择无效。"}));
  TypeSwitch("1");
  window->Command_key_Click(79);  // the spare key has no code
  EXPECT_TRUE(port.writes().empty());
  EXPECT_EQ(LogMessages().last(), "写入失败，该按键没有键值。");
}

TEST_F(Commands, MouseButtonsWriteMouseFramesWhateverTheToggles) {
  Connect();
  struct Case {
    QPushButton* button;
    QString switchText;
    std::string report;
    QString ending;
  };
  const Case cases[] = {
      {window->Command_L_btn, "1", "00 AA 02 00 FE 01 00 00 00", "成功在开关 < 1 > 写入鼠标 < 左键单击 > "},
      {window->Command_M_btn, "4", "00 AA 02 0C FE 04 00 00 00", "成功在开关 < 4 > 写入鼠标 < 中键单击 > "},
      {window->Command_R_btn, "2", "00 AA 02 04 FE 02 00 00 00", "成功在开关 < 2 > 写入鼠标 < 右键单击 > "},
  };
  QTest::mouseClick(window->Command_ctrl, Qt::LeftButton);
  QTest::mouseClick(window->Command_alt_r, Qt::LeftButton);
  for (const Case& c : cases) {
    TypeSwitch(c.switchText);
    QTest::mouseClick(c.button, Qt::LeftButton);
    EXPECT_EQ(ReportsToDevice().back(), c.report);
    EXPECT_TRUE(window->lstResults->item(window->lstResults->count() - 1)->text().endsWith(c.ending));
  }
  EXPECT_TRUE(sleeps.empty());
  // A toggle after a mouse button shows a keyboard frame with key 00.
  QTest::mouseClick(window->Command_ctrl, Qt::LeftButton);
  EXPECT_EQ(window->TextIW->text(), "aa 01 04 40 00 00 00");
}

TEST_F(Commands, KeyDelayIsCappedWrittenAndLoggedBeforeTheKeyLine) {
  Connect();
  window->Text_delay->setText("70000");
  EXPECT_EQ(window->Text_delay->text(), "65535");
  window->Text_delay->setText("300");
  window->Check1->setChecked(true);
  window->Command_key_Click(50);
  const auto reports = ReportsToDevice();
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[1], "00 AA 01 7C 79 01 01 2C 00");
  EXPECT_EQ(reports[2], "00 AA 01 78 79 01 01 00 00");
  EXPECT_EQ(LogMessages(), (QStringList{"按键延时响应时间：300 ms", "成功在开关 <1> 中写入< A >"}));
}

TEST_F(Commands, PlaybackAndPowerOnFramesFollowTheirControls) {
  Connect();
  window->Command_auto_run_Click();
  EXPECT_EQ(ui::BackColor(window->Command_auto_run), keys::kToggleOnColour);
  EXPECT_EQ(window->TextIW->text(), "AA 01 7C 79 01 00 00");
  window->Option1->setChecked(true);  // selecting runs its handler
  EXPECT_EQ(window->TextIW->text(), "AA 01 7C 79 00 00 00");
  window->Command_auto_run_Click();
  EXPECT_EQ(window->TextIW->text(), "AA 01 7C 00 00 00 00");
  window->Option2->setChecked(true);
  EXPECT_EQ(window->TextIW->text(), "AA 01 7C 00 01 00 00");
  // Any colour but exact green is off.
  ui::SetBackColor(window->Command_auto_run, 0x00FE00);
  window->Option1_Click();
  EXPECT_EQ(window->TextIW->text(), "AA 01 7C 00 00 00 00");

  EXPECT_EQ(ReportsToDevice(), (std::vector<std::string>{"00 AA 01 7C 79 01 00 00 00", "00 AA 01 7C 79 00 00 00 00",
                                                         "00 AA 01 7C 00 00 00 00 00", "00 AA 01 7C 00 01 00 00 00",
                                                         "00 AA 01 7C 00 00 00 00 00"}));
  EXPECT_EQ(LogMessages(), (QStringList{"键鼠控制器上电自动运行存储的键值！", "单次播放！",
                                        "键鼠控制器上电不自动运行！", "循环播放！", "单次播放！"}));
}

TEST_F(Commands, ClearingAsksFirstAndCancelWritesNothing) {
  Connect();
  TypeSwitch("3");
  answerOk = false;
  window->Command1_Click();
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].title, "温馨提示");
  EXPECT_EQ(questions[0].text, "确定清空设备所有键值?");
  EXPECT_EQ(window->TextIW->text(), "aa 00 ff ff ff ff");
  EXPECT_EQ(window->Combo1->currentText(), "3");
  EXPECT_TRUE(port.writes().empty());
  EXPECT_EQ(window->lstResults->count(), 0);
}

TEST_F(Commands, ProgrammingAllSwitchesThenClearingLandsInTheDevice) {
  Connect();
  const auto& model = footSwitch.model();
  // Switch 1: Ctrl + Shift + F1; switch 2: Win_R + A; switch 3: middle
  // click; switch 4: right Alt + Enter.
  TypeSwitch("1");
  QTest::mouseClick(window->Command_ctrl, Qt::LeftButton);
  QTest::mouseClick(window->Command_shift, Qt::LeftButton);
  QTest::mouseClick(window->Command_key(0), Qt::LeftButton);
  QTest::mouseClick(window->Command_ctrl, Qt::LeftButton);
  QTest::mouseClick(window->Command_shift, Qt::LeftButton);
  TypeSwitch("2");
  QTest::mouseClick(window->Command_win_r, Qt::LeftButton);
  QTest::mouseClick(window->Command_key(50), Qt::LeftButton);
  QTest::mouseClick(window->Command_win_r, Qt::LeftButton);
  TypeSwitch("3");
  QTest::mouseClick(window->Command_M_btn, Qt::LeftButton);
  TypeSwitch("4");
  window->Text_delay->setText("1000");
  window->Check1->setChecked(true);
  QTest::mouseClick(window->Command_alt_r, Qt::LeftButton);
  QTest::mouseClick(window->Command_key(80), Qt::LeftButton);
  window->Command_auto_run_Click();  // power-on run, loop play
  window->Option1_Click();           // single play

  EXPECT_EQ(Record(model, 0), "03 3A 00 00");
  EXPECT_EQ(Record(model, 1), "80 04 00 00");
  EXPECT_EQ(Record(model, 2), "FE 04 00 00");
  EXPECT_EQ(model.command(2), 0x02);
  EXPECT_EQ(Record(model, 3), "40 28 00 00");
  EXPECT_EQ(Record(model, 30), "79 01 01 00");  // long press
  EXPECT_EQ(Record(model, 31), "79 00 00 00");  // playback after the last key's delay frame
  EXPECT_TRUE(port.misuse().empty());

  window->Command1_Click();
  EXPECT_EQ(window->Combo1->currentText(), "0");
  EXPECT_EQ(window->TextIW->text(), "AA 01 7C FF FF FF FF");
  for (std::size_t i = 0; i < device::SwitchModel::kRecordCount; ++i) EXPECT_EQ(Record(model, i), "FF FF FF FF") << i;
  const auto reports = ReportsToDevice();
  ASSERT_GE(reports.size(), 32u);
  for (std::size_t i = 0; i < 32; ++i) {
    const char* hex = "0123456789ABCDEF";
    const std::string slot{hex[(i * 4) >> 4], hex[(i * 4) & 15]};
    EXPECT_EQ(reports[reports.size() - 32 + i], "00 AA 01 " + slot + " FF FF FF FF 00") << i;
  }
  EXPECT_EQ(LogMessages().last(), "已清空设备所有键值!");
}

TEST_F(Commands, ManualWriteSendsTheLastFrameComposed) {
  Connect();
  window->Iwrite_Click();
  EXPECT_EQ(ReportsToDevice().back(), "00 AA 01 00 00 3C 00 00 00");
  EXPECT_EQ(LogMessages().last(), "写入数据：aa 01 00 00 3C 00 00");
  window->Command_key_Click(0);
  window->Iwrite_Click();
  EXPECT_EQ(ReportsToDevice().back(), kLongPressOffFrame);
  EXPECT_EQ(LogMessages().last(), "写入数据：AA 01 78 79 01 00 00");
  window->TextIW->setText("");
  window->Iwrite_Click();
  EXPECT_EQ(ReportsToDevice().back(), "00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(LogMessages().last(), "写入数据：");
}

TEST_F(Commands, FrameTextFilterDropsEachOffendingCharacterAfterOneMessage) {
  struct Case {
    QString typed;
    QString result;
    int messageCount;
  };
  const Case cases[] = {
      {"aa 01x", "aa 01", 1},
      {"axbyc", "abc", 2},
      {"x1x", "1", 1},
      {"Xx", "", 2},
      {"aA fF 09  ", "aA fF 09  ", 0},
      {"", "", 0},
      {"a\tb\nc", "abc", 2},
      {"１２ab", "ab", 2},
      {"a😀b", "ab", 1},
  };
  for (const Case& c : cases) {
    messages.clear();
    window->TextIW->setText(c.typed);
    EXPECT_EQ(window->TextIW->text(), c.result) << c.typed.toStdString();
    EXPECT_EQ(static_cast<int>(messages.size()), c.messageCount) << c.typed.toStdString();
    for (const QString& message : messages) EXPECT_EQ(message, "请输入的数据是16进制的范围");
  }
}

TEST_F(Commands, VeryLongAndOddInputsKeepTheWindowWorking) {
  Connect();
  const QString longHex = QString(100000, 'a');
  window->TextIW->setText(longHex + "z");
  EXPECT_EQ(window->TextIW->text(), longHex);
  window->Iwrite_Click();
  EXPECT_EQ(ReportsToDevice().back(), "00 AA AA AA AA AA AA AA AA");
  for (const QString& text :
       {QString(100000, '7'), QString("\x01\x02"), QString("鼠标"), QString(), QString("99999999999999999999")}) {
    window->Text_delay->setText(text);
    TypeSwitch(text);
    window->TextVID->setText(text);
    window->Command_key_Click(0);
    window->Command_R_btn_Click();
    window->Timer1_Timer();
  }
  for (const auto& written : port.writes()) {
    ASSERT_EQ(written.report.size(), 9u);
    EXPECT_EQ(written.report[0], 0);
  }
}

}  // namespace
}  // namespace kestrova::testing
