#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "window_fixture.h"

namespace kestrova::testing {
namespace {

// One text box of the window, how text gets into it and its start-up text.
struct TextBox {
  const char* name;
  std::function<QLineEdit*(ui::USB&)> edit;
  QString startText;
};

// Test names and messages show the box by its name.
void PrintTo(const TextBox& box, std::ostream* out) { *out << box.name; }

const TextBox kBoxes[] = {
    {"Combo1", [](ui::USB& w) { return w.Combo1->lineEdit(); }, "1"},
    {"Text_delay", [](ui::USB& w) { return w.Text_delay; }, ""},
    {"TextIW", [](ui::USB& w) { return w.TextIW; }, "aa 01 00 00 3C 00 00"},
    {"TextVID", [](ui::USB& w) { return w.TextVID; }, "2704"},
    {"TextPID", [](ui::USB& w) { return w.TextPID; }, "2018"},
};

struct BadText {
  const char* what;
  QString text;
};

std::vector<BadText> BadTexts() {
  return {
      {"100000 digits", QString(100000, '7')},
      {"100000 letters", QString(100000, 'z')},
      {"100000 hex digits and blanks", QString("aa ").repeated(33334)},
      {"control characters", QString::fromUtf8("\x01\x02\x1b\x7f\t\r\n\x0b") + QChar(u'\0') + "12"},
      {"non-ASCII", QString::fromUtf8("鼠标１２é€😀ａｂ")},
      {"lone surrogate", QString(QChar(0xD800)) + "3"},
      {"empty", QString()},
      {"blanks only", "   \t "},
      {"2^32", "4294967296"},
      {"below -2^31", "-2147483649"},
      {"hex past 32 bits", "&HFFFFFFFFFF"},
      {"20 digits", "99999999999999999999"},
      {"beyond double", "1e309"},
      {"hex ID past 16 bits", "12704"},
  };
}

class BadInput : public WindowFixture, public ::testing::WithParamInterface<TextBox> {
 protected:
  // Every command, each modifier and the power-on toggle twice so that the
  // window's state is the same afterwards.
  void RunEveryCommand() {
    window->Iwrite_Click();
    for (const int key : {0, 50, 85}) window->Command_key_Click(key);
    for (QPushButton* toggle :
         {window->Command_ctrl, window->Command_shift, window->Command_alt, window->Command_win, window->Command_ctrl_r,
          window->Command_shift_r, window->Command_alt_r, window->Command_win_r}) {
      toggle->click();
      toggle->click();
    }
    window->Command_L_btn_Click();
    window->Command_M_btn_Click();
    window->Command_R_btn_Click();
    window->Command2_Click();
    window->Command_auto_run_Click();
    window->Command_auto_run_Click();
    window->Option2_Click();
    window->Option1_Click();
    window->Command1_Click();
    window->contion_Click();
    window->Timer1_Timer();
  }

  // Every report that left the window, whatever interface it went to.
  void ExpectOnlyWellFormedReports(const char* what) {
    for (const auto& written : port.writes()) {
      ASSERT_EQ(written.path, footSwitch.vendorPath()) << what;
      ASSERT_EQ(written.report.size(), SimulatedFootSwitch::kOutputReportLength) << what;
      ASSERT_EQ(written.report[0], 0) << what;
    }
  }

  void ExpectFrameBoxHoldsOnlyFrameText(const char* what) {
    for (const QChar c : window->TextIW->text()) {
      ASSERT_TRUE(c == u' ' || (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))
          << what << ": U+" << std::hex << static_cast<unsigned>(c.unicode());
    }
  }

  // With the box back at its start-up text a key assignment writes exactly
  // its three frames and logs its line.
  void ExpectWindowStillWorks(const char* what) {
    GetParam().edit(*window)->setText(GetParam().startText);
    window->Text_delay->setText("");
    TypeSwitch("2");
    window->Timer1_Timer();
    ASSERT_EQ(window->Label3->text(), "设备连接成功！") << what;
    const std::size_t before = ReportsToDevice().size();
    window->Command_key_Click(0);
    const std::vector<std::string> reports = ReportsToDevice();
    ASSERT_EQ(reports.size(), before + 3) << what;
    EXPECT_EQ(reports[before], "00 AA 01 04 00 3A 00 00 00") << what;
    EXPECT_EQ(reports[before + 1], "00 AA 01 7C 79 01 00 00 00") << what;
    EXPECT_EQ(reports[before + 2], "00 AA 01 78 79 01 00 00 00") << what;
    EXPECT_EQ(LogMessages().last(), "成功在开关 <2> 中写入< F1 >") << what;
  }
};

TEST_P(BadInput, WindowKeepsWorkingAndWritesOnlyWellFormedReports) {
  Connect();
  for (const BadText& bad : BadTexts()) {
    SCOPED_TRACE(std::string(GetParam().name) + " <- " + bad.what);
    GetParam().edit(*window)->setText(bad.text);
    RunEveryCommand();
    ExpectFrameBoxHoldsOnlyFrameText(bad.what);
    ExpectOnlyWellFormedReports(bad.what);
    ExpectWindowStillWorks(bad.what);
  }
  EXPECT_GT(ReportsToDevice().size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryTextBox, BadInput, ::testing::ValuesIn(kBoxes),
                         [](const ::testing::TestParamInfo<TextBox>& box) { return std::string(box.param.name); });

}  // namespace
}  // namespace kestrova::testing
