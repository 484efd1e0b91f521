// The window finding, losing and choosing the simulated switch on the real
// kernel: ticks, plugging, interfaces it may not open, a keyboard interface.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>

#include "app/ui/back_color.h"
#include "keys/modifiers.h"
#include "privileges.h"
#include "window_e2e_fixture.h"

namespace kestrova::e2e {
namespace {

using Clock = std::chrono::steady_clock;

// The place of each node in the port's listing (the order discovery tries
// them in); -1 when it is not listed.
std::vector<int> ListingPositions(hid::HidPort& port, const std::vector<std::string>& nodes) {
  const std::vector<hid::HidInterface> listed = port.EnumerateInterfaces();
  std::vector<int> positions;
  for (const std::string& node : nodes) {
    int position = -1;
    for (std::size_t i = 0; i < listed.size(); ++i) {
      if (listed[i].path == node) position = static_cast<int>(i);
    }
    positions.push_back(position);
  }
  return positions;
}

TEST_F(WindowOnSimulatedSwitch, FirstTickAfterTheSwitchAppearsConnectsAndSendsNothing) {
  OpenWindow();
  EXPECT_TRUE(ShowsNoDevice()) << "at start-up";
  Tick();
  EXPECT_TRUE(ShowsNoDevice()) << "before the switch is plugged in";

  ASSERT_NO_FATAL_FAILURE(StartSimulator({"--interface", "vendor:0666"}, 1));
  Tick();
  EXPECT_TRUE(ShowsConnected()) << "after one tick";
  EXPECT_TRUE(sim->WaitFor("open 0")) << "the device was not opened";
  EXPECT_TRUE(window->link().deviceConnected());
  EXPECT_EQ(window->link().interfacePath(), nodes[0]);
  EXPECT_EQ(window->link().outputReportLength(), 9);

  // Connecting is silent: nothing logged, nothing written.
  sim->DumpRecords();
  EXPECT_TRUE(LogMessages().isEmpty()) << LogMessages().join(" | ").toStdString();
  EXPECT_TRUE(sim->OutputsOf(0).empty());
}

TEST_F(WindowOnSimulatedSwitch, UnplugGreysOutAtTheNextTickAndReplugConnectsAgain) {
  ASSERT_NO_FATAL_FAILURE(StartSimulator({"--interface", "vendor:0666"}, 1));
  OpenWindow();
  Tick();
  ASSERT_TRUE(ShowsConnected());
  Click(window->Command_ctrl);

  sim->Send("unplug");
  ASSERT_TRUE(sim->WaitFor("unplugged 0"));
  Tick();
  EXPECT_TRUE(ShowsNoDevice()) << "at the tick after unplugging";
  EXPECT_FALSE(window->link().deviceConnected());
  EXPECT_TRUE(window->link().deviceFoundOnce());
  EXPECT_EQ(ui::BackColor(window->Command_ctrl), keys::kToggleOnColour) << "the toggle lost its state";

  sim->Send("plug");
  nodes = sim->WaitForNodes(1);
  ASSERT_EQ(nodes.size(), 1u);
  Tick();
  EXPECT_TRUE(ShowsConnected()) << "at the tick after plugging in again";

  // The new handle is the one written to, and left Ctrl still counts.
  const std::size_t mark = sim->Mark();
  Click(window->Command_key(0));
  sim->DumpRecords();
  const std::vector<std::string> reports = sim->OutputsOf(0, mark);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0], "00 AA 01 00 01 3A 00 00 00");
}

TEST_F(WindowOnSimulatedSwitch, TheWindowsOwnTimerFollowsUnplugAndReplug) {
  ASSERT_NO_FATAL_FAILURE(StartSimulator({"--interface", "vendor:0666"}, 1));
  OpenWindow();
  ASSERT_TRUE(window->Timer1->isActive());
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->Label3->text() == kConnectedCaption; }, 3000));

  sim->Send("unplug");
  ASSERT_TRUE(sim->WaitFor("unplugged 0"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->Label3->text() == kInsertDeviceCaption; }, 3000));

  sim->Send("plug");
  ASSERT_EQ(sim->WaitForNodes(1).size(), 1u);
  const auto appeared = Clock::now();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->Label3->text() == kConnectedCaption; }, 3000));
  const auto latency = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - appeared);
  std::cout << "[ timing ] connected " << latency.count() << " ms after the node appeared (timer interval 350 ms)\n";
  EXPECT_TRUE(ShowsConnected());
  // One interval, plus room for an emulated machine's scheduling.
  EXPECT_LT(latency.count(), 350 + 1000);
}

// Two configuration interfaces under the same IDs, both root's only as the
// kernel makes them; the user is given the one that discovery tries second.
// Run as a plain user, the window must pass over the first: root would open
// both.
TEST_F(WindowOnSimulatedSwitch, UsesTheOpenableInterfaceWhenTheFirstCannotBeOpened) {
  ASSERT_NE(::geteuid(), 0u) << "this scenario needs the test to run as a plain user";
  ASSERT_NO_FATAL_FAILURE(StartSimulator({"--interface", "vendor", "--interface", "vendor"}, 2));
  const std::vector<int> positions = ListingPositions(*port, nodes);
  ASSERT_GE(positions[0], 0);
  ASSERT_GE(positions[1], 0);
  const std::size_t closed = positions[0] < positions[1] ? 0 : 1;
  const std::size_t open = 1 - closed;
  {
    const EffectiveRoot root;
    ASSERT_EQ(::chmod(nodes[open].c_str(), 0666), 0) << std::strerror(errno);
  }
  std::cout << "[ setup ] " << nodes[closed] << " (listed first) root only, " << nodes[open] << " open to all\n";
  const int probe = ::open(nodes[closed].c_str(), O_RDWR | O_CLOEXEC);
  const int probeError = errno;
  if (probe >= 0) ::close(probe);
  ASSERT_LT(probe, 0) << "a plain user could open the root-only node";
  ASSERT_EQ(probeError, EACCES);

  OpenWindow();
  Tick();
  EXPECT_TRUE(ShowsConnected());
  EXPECT_EQ(window->link().interfacePath(), nodes[open]);
  AssignCtrlF1ToSwitch2();
  sim->DumpRecords();
  EXPECT_EQ(sim->OutputsOf(open), kCtrlF1OnSwitch2Reports);
  EXPECT_TRUE(sim->OutputsOf(closed).empty());
}

// The switch's keyboard and its configuration interface under the same IDs,
// both open to the user, created in either order: reports go to the
// configuration interface only.
class KeyboardBesideTheVendorInterface : public WindowOnSimulatedSwitch, public ::testing::WithParamInterface<bool> {};

TEST_P(KeyboardBesideTheVendorInterface, FramesGoToTheVendorInterface) {
  const bool keyboardFirst = GetParam();
  const std::size_t keyboard = keyboardFirst ? 0 : 1;
  const std::size_t vendor = 1 - keyboard;
  std::vector<std::string> args = {"--interface", "vendor:0666", "--interface", "keyboard:0666"};
  if (keyboardFirst) std::swap(args[1], args[3]);
  ASSERT_NO_FATAL_FAILURE(StartSimulator(args, 2));
  const std::vector<int> positions = ListingPositions(*port, nodes);
  std::cout << "[ setup ] keyboard " << nodes[keyboard] << " listed " << positions[keyboard] << ", vendor "
            << nodes[vendor] << " listed " << positions[vendor] << "\n";

  OpenWindow();
  Tick();
  EXPECT_TRUE(ShowsConnected());
  EXPECT_EQ(window->link().interfacePath(), nodes[vendor]);
  AssignCtrlF1ToSwitch2();
  sim->DumpRecords();
  EXPECT_EQ(sim->OutputsOf(vendor), kCtrlF1OnSwitch2Reports);
  EXPECT_TRUE(sim->OutputsOf(keyboard).empty());
}

INSTANTIATE_TEST_SUITE_P(CreationOrder, KeyboardBesideTheVendorInterface, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& order) {
                           return order.param ? "KeyboardCreatedFirst" : "VendorCreatedFirst";
                         });

}  // namespace
}  // namespace kestrova::e2e
