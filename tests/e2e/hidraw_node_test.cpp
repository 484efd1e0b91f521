// Finding the simulator's own hidraw node by its unique ID in a sysfs-like
// tree: the kernel's numbering says nothing about which node is whose.
#include "hidraw_node.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kestrova::sim {
namespace {

namespace fs = std::filesystem;

class HidrawNodeLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("kestrova-sim-node-test-" + std::to_string(::getpid()));
    fs::create_directories(classDir());
    fs::create_directories(devDir());
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path classDir() const { return root_ / "class"; }
  fs::path devDir() const { return root_ / "dev"; }

  void AddHidraw(const std::string& name, const std::string& uniq, bool withNode) {
    fs::create_directories(classDir() / name / "device");
    std::ofstream(classDir() / name / "device" / "uevent")
        << "DRIVER=hid-generic\nHID_ID=0003:00002704:00002018\nHID_UNIQ=" << uniq << "\nMODALIAS=hid:x\n";
    if (withNode) std::ofstream(devDir() / name) << "";
  }

  std::optional<std::string> Find(const std::string& uniq) const {
    return FindHidrawNode(uniq, classDir().string(), devDir().string());
  }

  fs::path root_;
};

TEST_F(HidrawNodeLookup, FindsTheNodeWhoseDeviceCarriesTheUniqueId) {
  AddHidraw("hidraw0", "kestrova-sim-7-1", true);
  AddHidraw("hidraw1", "kestrova-sim-7-0", true);
  AddHidraw("hidraw2", "kestrova-sim-7-10", true);
  EXPECT_EQ(Find("kestrova-sim-7-0"), (devDir() / "hidraw1").string());
  EXPECT_EQ(Find("kestrova-sim-7-1"), (devDir() / "hidraw0").string());
  EXPECT_EQ(Find("kestrova-sim-7-10"), (devDir() / "hidraw2").string()) << "a longer ID is not a prefix match";
}

TEST_F(HidrawNodeLookup, WaitsForTheDeviceNodeAndForTheDevice) {
  AddHidraw("hidraw3", "kestrova-sim-7-0", false);
  EXPECT_FALSE(Find("kestrova-sim-7-0").has_value()) << "sysfs entry without its /dev node yet";
  EXPECT_FALSE(Find("kestrova-sim-8-0").has_value()) << "no such device";
  EXPECT_FALSE(FindHidrawNode("kestrova-sim-7-0", (root_ / "missing").string(), devDir().string()).has_value());
}

}  // namespace
}  // namespace kestrova::sim
