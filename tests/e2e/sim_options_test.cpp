// kestrova-sim's command line: what each option sets, and the values and
// combinations it refuses rather than misreading.
#include "sim_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova::sim {
namespace {

SimOptions Parsed(const std::vector<std::string>& args) {
  const ParsedOptions parsed = ParseSimOptions(args);
  EXPECT_TRUE(parsed.options.has_value()) << parsed.message;
  return parsed.options.value_or(SimOptions{});
}

TEST(SimOptions, DefaultsToOneVendorInterfaceWithTheSwitchsIds) {
  const SimOptions options = Parsed({});
  EXPECT_EQ(options.vendorId, 0x2704);
  EXPECT_EQ(options.productId, 0x2018);
  ASSERT_EQ(options.interfaces.size(), 1u);
  EXPECT_EQ(options.interfaces[0].kind, InterfaceKind::Vendor);
  EXPECT_FALSE(options.interfaces[0].nodeMode.has_value());
  EXPECT_FALSE(options.runTime.has_value());
  EXPECT_FALSE(options.commands);
}

TEST(SimOptions, InterfacesKeepTheirOrderAndOctalNodeModes) {
  const SimOptions options =
      Parsed({"--interface", "keyboard:0666", "--interface", "vendor:600", "--interface", "vendor"});
  ASSERT_EQ(options.interfaces.size(), 3u);
  EXPECT_EQ(options.interfaces[0].kind, InterfaceKind::Keyboard);
  EXPECT_EQ(options.interfaces[0].nodeMode, std::optional<mode_t>(0666));
  EXPECT_EQ(options.interfaces[1].kind, InterfaceKind::Vendor);
  EXPECT_EQ(options.interfaces[1].nodeMode, std::optional<mode_t>(0600));
  EXPECT_FALSE(options.interfaces[2].nodeMode.has_value());
}

TEST(SimOptions, ReadsIdsTimesAndTheUnplugTriggers) {
  const SimOptions options = Parsed({"--vid", "0x1a2B", "--pid", "ffff", "--run-time", "2.5", "--schedule", "300,150",
                                     "--cycles", "4", "--unplug-at-output", "2", "--replug-after", "40", "--commands"});
  EXPECT_EQ(options.vendorId, 0x1A2B);
  EXPECT_EQ(options.productId, 0xFFFF);
  EXPECT_EQ(options.runTime, std::optional<std::chrono::milliseconds>(2500));
  EXPECT_EQ(options.pluggedTime, std::optional<std::chrono::milliseconds>(300));
  EXPECT_EQ(options.unpluggedTime, std::chrono::milliseconds(150));
  EXPECT_EQ(options.cycles, std::optional<unsigned>(4));
  EXPECT_EQ(options.unplugAtOutput, std::optional<unsigned>(2));
  EXPECT_EQ(options.replugDelay, std::optional<std::chrono::milliseconds>(40));
  EXPECT_TRUE(options.commands);
}

TEST(SimOptions, RefusesWhatItCannotReadWithUsageStatus) {
  const std::vector<std::vector<std::string>> refused = {
      {"--vid", "10000"},              // beyond 16 bits
      {"--vid", "27g4"},               // not hexadecimal
      {"--pid"},                       // value missing
      {"--interface", "mouse"},        // unknown kind
      {"--interface", "vendor:0999"},  // not octal
      {"--interface", "vendor:"},      // empty mode
      {"--run-time", "-1"},            // negative
      {"--run-time", "1s"},            // trailing text
      {"--schedule", "300"},           // off time missing
      {"--schedule", "0,100"},         // never plugged
      {"--cycles", "3"},               // no schedule to count
      {"--unplug-at-output", "0"},     // reports count from 1
      {"--replug-after", "100"},       // nothing unplugs
      {"--frobnicate", "1"},           // unknown option
      {"--frobnicate"},                // unknown, even without a value
  };
  for (const auto& args : refused) {
    std::string shown;
    for (const std::string& arg : args) shown += arg + " ";
    SCOPED_TRACE(shown);
    const ParsedOptions parsed = ParseSimOptions(args);
    EXPECT_FALSE(parsed.options.has_value());
    EXPECT_EQ(parsed.exitCode, 2);
    EXPECT_NE(parsed.message.find("kestrova-sim:"), std::string::npos) << parsed.message;
    if (args[0] == "--frobnicate") {
      EXPECT_NE(parsed.message.find("unknown option"), std::string::npos) << parsed.message;
    }
  }
}

TEST(SimOptions, HelpIsNoError) {
  const ParsedOptions parsed = ParseSimOptions({"--help"});
  EXPECT_FALSE(parsed.options.has_value());
  EXPECT_EQ(parsed.exitCode, 0);
  EXPECT_NE(parsed.message.find("--interface"), std::string::npos);
}

}  // namespace
}  // namespace kestrova::sim
