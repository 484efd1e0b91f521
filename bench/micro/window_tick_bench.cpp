// The whole timer tick as the window runs it (read the ID boxes, one
// discovery run, the status label and the enabling of the device controls),
// over the in-memory port: the part of the idle cost that is the window's.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>

#include "app/ui/usb_window.h"
#include "app/ui/window_services.h"
#include "lean_hid_port.h"

namespace kestrova::bench {
namespace {

void WindowTick(benchmark::State& state) {
  const bool withDevice = state.range(0) != 0;
  LeanHidPort port;
  if (withDevice) {
    LeanHidPort::Scripted footSwitch;
    footSwitch.listed.path = "/dev/hidraw0";
    footSwitch.listed.idsWithoutOpening = hid::DeviceIds{0x2704, 0x2018};
    footSwitch.ids = {0x2704, 0x2018};
    port.Plug(footSwitch);
  }
  ui::USB window(ui::DesktopServices(port));
  window.Form_Load();
  window.Timer1->stop();  // the benchmark drives the ticks
  window.Timer1_Timer();
  QApplication::processEvents();
  for ([[maybe_unused]] auto _ : state) window.Timer1_Timer();
  if (window.link().deviceConnected() != withDevice) state.SkipWithError("the tick gave the wrong state");
}
BENCHMARK(WindowTick)->ArgName("device")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrova::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
