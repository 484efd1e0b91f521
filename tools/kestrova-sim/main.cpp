// kestrova-sim: a simulated foot switch on the Linux kernel's uhid, for
// trying the tool without the hardware and for the end-to-end tests.
#include <cstdio>
#include <string>
#include <vector>

#include "sim_options.h"
#include "simulator.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  kestrova::sim::ParsedOptions parsed = kestrova::sim::ParseSimOptions(args);
  if (!parsed.options) {
    std::fputs(parsed.message.c_str(), parsed.exitCode == 0 ? stdout : stderr);
    if (!parsed.message.empty() && parsed.message.back() != '\n')
      std::fputc('\n', parsed.exitCode == 0 ? stdout : stderr);
    return parsed.exitCode;
  }
  kestrova::sim::Simulator simulator(std::move(*parsed.options));
  return simulator.Run();
}
