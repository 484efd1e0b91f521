// kestrova-bench-startup: start-up time to the first drawn window, and the
// resident memory then, of two or more Qt programs, started in turn in one
// run with the show probe preloaded. Prints medians, and the ratios of the
// first program named to each of the others (the yardsticks).
//
//   kestrova-bench-startup --probe LIB [--runs N] [--settle-ms MS]
//                          NAME=PROGRAM YARDSTICK=PROGRAM...
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace {

struct Program {
  std::string name;
  std::string path;
  std::map<std::string, std::vector<double>> samples;  // by the probe's key
  unsigned failures = 0;
};

std::int64_t NowNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// "key=value key=value" as numbers.
std::map<std::string, double> ParseReport(const std::string& line) {
  std::map<std::string, double> values;
  std::istringstream words(line);
  std::string word;
  while (words >> word) {
    const std::size_t equals = word.find('=');
    if (equals != std::string::npos) values[word.substr(0, equals)] = std::strtod(word.c_str() + equals + 1, nullptr);
  }
  return values;
}

// Starts the program with the probe, waits for it to end (at most a minute)
// and returns the probe's report; empty when there was none.
std::string RunOnce(const Program& program, const std::string& probe, int settleMs, const std::string& reportPath) {
  std::remove(reportPath.c_str());
  std::vector<std::string> added = {
      "KESTROVA_PROBE_REPORT=" + reportPath,
      "KESTROVA_PROBE_SETTLE_MS=" + std::to_string(settleMs),
  };
  const char* preload = std::getenv("LD_PRELOAD");
  added.push_back("LD_PRELOAD=" + probe + (preload != nullptr ? std::string(":") + preload : ""));
  std::vector<char*> envp;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text = *entry;
    if (text.starts_with("LD_PRELOAD=") || text.starts_with("KESTROVA_PROBE_")) continue;
    envp.push_back(*entry);
  }
  for (std::string& entry : added) envp.push_back(entry.data());

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>(program.path.c_str()), nullptr};

  // Taken last, just before the spawn.
  std::string startEntry = "KESTROVA_PROBE_START_NS=" + std::to_string(NowNs());
  envp.push_back(startEntry.data());
  envp.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, program.path.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return {};

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return {};
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  // Both lines of the probe as one.
  std::ifstream report(reportPath);
  std::string text;
  for (std::string line; std::getline(report, line);) text += line + " ";
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  std::string probe;
  unsigned runs = 20;
  int settleMs = 0;
  std::vector<Program> programs;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--probe" && i + 1 < argc) {
      probe = argv[++i];
    } else if (arg == "--runs" && i + 1 < argc) {
      runs = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--settle-ms" && i + 1 < argc) {
      settleMs = std::max(0, std::atoi(argv[++i]));
    } else if (const std::size_t equals = arg.find('='); equals != std::string_view::npos && equals > 0) {
      programs.push_back({std::string(arg.substr(0, equals)), std::string(arg.substr(equals + 1)), {}, 0});
    } else {
      programs.clear();
      break;
    }
  }
  if (probe.empty() || programs.size() < 2 || runs == 0) {
    std::fputs(
        "usage: kestrova-bench-startup --probe LIB [--runs N] [--settle-ms MS] NAME=PROGRAM "
        "YARDSTICK=PROGRAM...\n",
        stderr);
    return 2;
  }
  const char* platformEnv = std::getenv("QT_QPA_PLATFORM");
  const std::string platform = platformEnv != nullptr ? platformEnv : "default";
  const std::string reportPath = "/tmp/kestrova-probe-" + std::to_string(getpid()) + ".txt";

  // One run each first, not counted: it fills the page cache and font caches.
  for (const Program& program : programs) RunOnce(program, probe, settleMs, reportPath);
  for (unsigned run = 0; run < runs; ++run) {
    for (Program& program : programs) {
      const std::string line = RunOnce(program, probe, settleMs, reportPath);
      if (line.find("settled_rss_kib=") == std::string::npos) {
        ++program.failures;
        continue;
      }
      for (const auto& [key, value] : ParseReport(line)) program.samples[key].push_back(value);
    }
  }
  std::remove(reportPath.c_str());

  const char* keys[] = {"expose_ms", "drawn_ms",        "rss_kib",         "hwm_kib",          "anon_kib",
                        "file_kib",  "settled_rss_kib", "settled_hwm_kib", "settled_anon_kib", "settled_file_kib"};
  bool allRan = true;
  for (const Program& program : programs) {
    std::printf("BENCH startup platform=%s program=%s runs=%zu failures=%u", platform.c_str(), program.name.c_str(),
                program.samples.count("drawn_ms") ? program.samples.at("drawn_ms").size() : 0, program.failures);
    for (const char* key : keys) {
      const auto found = program.samples.find(key);
      std::printf(" %s=%.1f", key, found == program.samples.end() ? 0.0 : Median(found->second));
    }
    std::printf("\n");
    allRan = allRan && program.failures == 0;
  }
  const Program& program = programs.front();
  for (std::size_t i = 1; i < programs.size(); ++i) {
    const Program& yardstick = programs[i];
    std::printf("BENCH startup-ratio platform=%s program=%s over=%s", platform.c_str(), program.name.c_str(),
                yardstick.name.c_str());
    for (const char* key : keys) {
      const auto mine = program.samples.find(key);
      const auto theirs = yardstick.samples.find(key);
      if (mine == program.samples.end() || theirs == yardstick.samples.end()) continue;
      std::printf(" %s=%.2f", key, Median(mine->second) / Median(theirs->second));
    }
    std::printf("\n");
  }
  return allRan ? 0 : 1;
}
