// What the window writes to the simulated switch on the real kernel, and
// how it copes with the switch going away: the key road byte for byte, a
// switch lost in the middle of it, many plug cycles, and unloading.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <iostream>

#include "app/ui/back_color.h"
#include "keys/modifiers.h"
#include "privileges.h"
#include "window_e2e_fixture.h"

namespace kestrova::e2e {
namespace {

using Clock = std::chrono::steady_clock;

TEST_F(WindowOnSimulatedSwitch, CtrlF1OnSwitch2ArrivesAsExactlyThreeReportsAndIsStored) {
  ASSERT_NO_FATAL_FAILURE(StartSimulator({"--interface", "vendor:0666"}, 1));
  OpenWindow();
  Tick();
  ASSERT_TRUE(ShowsConnected());

  PickSwitch("2");
  Click(window->Command_ctrl);
  EXPECT_EQ(window->TextIW->text(), "aa 01 04 01 00 00 00") << "the toggle composes the frame";
  sim->DumpRecords();
  EXPECT_TRUE(sim->OutputsOf(0).empty()) << "a toggle must not write";

  Click(window->Command_key(0));
  const std::vector<std::string> records = sim->DumpRecords();
  EXPECT_EQ(sim->OutputsOf(0), kCtrlF1OnSwitch2Reports);
  ASSERT_EQ(records.size(), 32u);
  EXPECT_EQ(records[0x04 / 4], "01 01 3A 00 00") << "switch 2";
  EXPECT_EQ(records[0x7C / 4], "01 79 01 00 00") << "key delay";
  EXPECT_EQ(records[0x78 / 4], "01 79 01 00 00") << "long press";

  EXPECT_TRUE(ShowsConnected());
  EXPECT_EQ(window->TextIW->text(), "AA 01 78 79 01 00 00");
  ASSERT_FALSE(LogMessages().isEmpty());
  EXPECT_EQ(LogMessages().back(), QString::fromUtf8("成功在开关 <2> 中写入< Ctrl + F1 >"));
  EXPECT_EQ(LogMessages().size(), 1);
  EXPECT_EQ(ui::BackColor(window->Command_ctrl), keys::kToggleOnColour) << "toggles stay on";
}

// The simulator removes the device as the first report of the road arrives,
// so the rest of the road writes to a device that is gone.
TEST_F(WindowOnSimulatedSwitch, SwitchLostInTheMiddleOfTheRoadNeitherHangsNorCrashes) {
  ASSERT_NO_FATAL_FAILURE(StartSimulator({"--interface", "vendor:0666", "--unplug-at-output", "1"}, 1));
  OpenWindow();
  Tick();
  ASSERT_TRUE(ShowsConnected());

  const auto start = Clock::now();
  Click(window->Command_key(0));
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  std::cout << "[ timing ] the road to a vanishing switch took " << took.count() << " ms\n";
  // Two 50 ms pauses and, at worst, two bounded writes of 250 ms.
  EXPECT_LT(took.count(), 2000);
  ASSERT_TRUE(sim->WaitFor("unplugged 0"));
  const std::vector<std::string> reports = sim->OutputsOf(0);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports[0], "00 AA 01 00 00 3A 00 00 00");
  std::cout << "[ setup ] " << reports.size() << " of 3 reports reached the switch before it went\n";
  ASSERT_FALSE(LogMessages().isEmpty());
  EXPECT_EQ(LogMessages().back(), QString::fromUtf8("成功在开关 <1> 中写入< F1 >"));

  Tick();
  EXPECT_TRUE(ShowsNoDevice());

  sim->Send("plug");
  nodes = sim->WaitForNodes(1);
  ASSERT_EQ(nodes.size(), 1u);
  Tick();
  ASSERT_TRUE(ShowsConnected());
  const std::size_t mark = sim->Mark();
  Click(window->Command_key(0));
  sim->DumpRecords();
  EXPECT_EQ(sim->OutputsOf(0, mark),
            (std::vector<std::string>{"00 AA 01 00 00 3A 00 00 00", "00 AA 01 7C 79 01 00 00 00",
                                      "00 AA 01 78 79 01 00 00 00"}));
}

TEST_F(WindowOnSimulatedSwitch, OpenDescriptorsStayBoundedOverAHundredPlugCycles) {
  constexpr int kCycles = 100;
  ASSERT_NO_FATAL_FAILURE(StartSimulator({"--interface", "vendor:0666"}, 1));
  OpenWindow();
  Tick();
  Tick();  // a second run that finds the switch replaces the handles
  ASSERT_TRUE(ShowsConnected());
  const std::size_t baseline = CountOpenDescriptors();
  std::size_t most = baseline;
  const auto start = Clock::now();

  for (int cycle = 0; cycle < kCycles; ++cycle) {
    // A leak shows here too: every leaked node pins one of the kernel's few
    // hidraw numbers, so plugging in fails once they run out.
    SCOPED_TRACE("cycle " + std::to_string(cycle) + ", descriptors " + std::to_string(CountOpenDescriptors()) + " (" +
                 std::to_string(baseline) + " at the start)");
    sim->Send("unplug");
    ASSERT_TRUE(sim->WaitFor("unplugged 0"));
    Tick();
    ASSERT_EQ(window->Label3->text(), kInsertDeviceCaption);
    most = std::max(most, CountOpenDescriptors());

    sim->Send("plug");
    ASSERT_EQ(sim->WaitForNodes(1).size(), 1u);
    Tick();
    ASSERT_EQ(window->Label3->text(), kConnectedCaption);
    Tick();
    if (cycle % 10 == 9) {
      // A write now and then, so the writer's handles are counted too.
      const std::size_t mark = sim->Mark();
      Click(window->Iwrite);
      sim->DumpRecords();
      ASSERT_EQ(sim->OutputsOf(0, mark), std::vector<std::string>{"00 AA 01 00 00 3C 00 00 00"});
    }
    most = std::max(most, CountOpenDescriptors());
  }
  const std::size_t final = CountOpenDescriptors();
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  std::cout << "[ timing ] " << kCycles << " plug cycles in " << took.count() << " ms; descriptors: " << baseline
            << " at the start, at most " << most << ", " << final << " at the end\n";
  // The two device handles, and one the writer may still hold for a moment.
  EXPECT_LE(most, baseline + 3);
  EXPECT_LE(final, baseline + 1);
}

TEST_F(WindowOnSimulatedSwitch, UnloadLogsBothClosesAndTheSwitchSeesItsLastClose) {
  ASSERT_NO_FATAL_FAILURE(StartSimulator({"--interface", "vendor:0666"}, 1));
  OpenWindow();
  for (int tick = 0; tick < 3; ++tick) Tick();
  ASSERT_TRUE(ShowsConnected());
  ASSERT_TRUE(sim->WaitFor("open 0"));
  sim->DumpRecords();
  EXPECT_EQ(sim->Count("close 0"), 0u) << "the switch saw its last close while connected";

  window->close();
  const QStringList messages = LogMessages();
  ASSERT_GE(messages.size(), 2);
  EXPECT_EQ(messages[messages.size() - 2], "CloseHandle (HIDHandle)");
  EXPECT_EQ(messages[messages.size() - 1], "CloseHandle (ReadHandle)");
  EXPECT_TRUE(sim->WaitFor("close 0")) << "the switch did not see its last close";
  sim->DumpRecords();
  EXPECT_EQ(sim->Count("open 0"), sim->Count("close 0"));
}

}  // namespace
}  // namespace kestrova::e2e
