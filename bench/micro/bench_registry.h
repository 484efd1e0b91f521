#pragma once

namespace kestrova::bench {

// Runs a registration function before main, for benchmarks whose names and
// arguments are built from tables.
struct Registration {
  explicit Registration(void (*registerAll)()) { registerAll(); }
};

}  // namespace kestrova::bench
