// Composing a key frame and turning frame text into an output report: the
// work of one command apart from the device write and the pauses.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "hid/device_link.h"
#include "hid/report_encoding.h"
#include "keys/key_code.h"
#include "keys/key_frame.h"
#include "lean_hid_port.h"

namespace kestrova::bench {
namespace {

constexpr std::string_view kKeyFrame = "aa 01 04 01 3A 00 00";

void EncodeReport_KeyFrame(benchmark::State& state) {
  const auto length = static_cast<std::uint16_t>(state.range(0));
  for ([[maybe_unused]] auto _ : state) {
    auto report = hid::EncodeReport(kKeyFrame, length);
    benchmark::DoNotOptimize(report.data());
  }
}
// 9: the foot switch's report; 65: a device with a 64-byte report.
BENCHMARK(EncodeReport_KeyFrame)->Arg(9)->Arg(65);

void KeyFrameText_KeyClick(benchmark::State& state) {
  // After a key click the code is the key's decimal text, as in the table.
  const keys::KeyCodeValue code = std::string("58");
  for ([[maybe_unused]] auto _ : state) {
    auto frame = keys::KeyFrameText(2.0, 0x01, code);
    benchmark::DoNotOptimize(frame);
  }
}
BENCHMARK(KeyFrameText_KeyClick);

void KeyFrameText_ModifierToggle(benchmark::State& state) {
  // After a modifier toggle the code is the number 0.
  const keys::KeyCodeValue code = 0.0;
  for ([[maybe_unused]] auto _ : state) {
    auto frame = keys::KeyFrameText(1.0, 0x05, code);
    benchmark::DoNotOptimize(frame);
  }
}
BENCHMARK(KeyFrameText_ModifierToggle);

// WriteFrame on a connected device: encoding plus one call into the port.
void WriteFrame_Connected(benchmark::State& state) {
  LeanHidPort port;
  LeanHidPort::Scripted footSwitch;
  footSwitch.listed.path = "/dev/hidraw0";
  footSwitch.listed.idsWithoutOpening = hid::DeviceIds{0x2704, 0x2018};
  footSwitch.ids = {0x2704, 0x2018};
  port.Plug(footSwitch);
  hid::DeviceLink link(port, nullptr);
  link.SetWantedIds("2704", "2018");
  if (!link.FindTheHid()) {
    state.SkipWithError("the foot switch was not found");
    return;
  }
  for ([[maybe_unused]] auto _ : state) link.WriteFrame(kKeyFrame);
}
BENCHMARK(WriteFrame_Connected);

}  // namespace
}  // namespace kestrova::bench
