// Loaded into a Qt program with LD_PRELOAD, so the program itself carries no
// measuring code. When its first window is exposed and drawn, it writes one
// line to the file named by KESTROVA_PROBE_REPORT:
//   expose_ms=... drawn_ms=... rss_kib=... hwm_kib=... anon_kib=... file_kib=...
// (times from KESTROVA_PROBE_START_NS, CLOCK_MONOTONIC, taken by the
// launcher just before it started the process; 0 when not given). After
// KESTROVA_PROBE_SETTLE_MS more (default 0) it adds a second line,
//   settled_rss_kib=... settled_hwm_kib=... settled_anon_kib=... settled_file_kib=...
// and ends the program; with a negative settle time the program goes on.
#include <time.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::int64_t NowNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

// From /proc/self/status, in KiB: resident and peak resident size, and the
// resident part that is private memory (RssAnon) rather than mapped files
// (libraries, fonts), which other programs share.
struct Memory {
  long rss = -1;
  long hwm = -1;
  long anon = -1;
  long file = -1;
  std::string Text(const char* prefix) const {
    const std::string p = prefix;
    return p + "rss_kib=" + std::to_string(rss) + " " + p + "hwm_kib=" + std::to_string(hwm) + " " + p +
           "anon_kib=" + std::to_string(anon) + " " + p + "file_kib=" + std::to_string(file);
  }
};

Memory ReadMemory() {
  Memory memory;
  FILE* status = std::fopen("/proc/self/status", "re");
  if (status == nullptr) return memory;
  char line[256];
  while (std::fgets(line, sizeof line, status) != nullptr) {
    std::sscanf(line, "VmRSS: %ld", &memory.rss);
    std::sscanf(line, "VmHWM: %ld", &memory.hwm);
    std::sscanf(line, "RssAnon: %ld", &memory.anon);
    std::sscanf(line, "RssFile: %ld", &memory.file);
  }
  std::fclose(status);
  return memory;
}

class ShowProbe : public QObject {
 public:
  ShowProbe(std::int64_t startNs, std::string reportPath, int settleMs)
      : QObject(QCoreApplication::instance()),
        startNs_(startNs),
        reportPath_(std::move(reportPath)),
        settleMs_(settleMs) {
    // A zero timer fires once the events pending now are handled: here, once
    // the expose has been handled and the window drawn.
    afterExpose_.setSingleShot(true);
    afterExpose_.setInterval(0);
    connect(&afterExpose_, &QTimer::timeout, this, &ShowProbe::AfterFirstFrame);
    settle_.setSingleShot(true);
    connect(&settle_, &QTimer::timeout, this, &ShowProbe::Finish);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (exposeNs_ == 0 && event->type() == QEvent::Expose) {
      const auto* window = qobject_cast<QWindow*>(watched);
      if (window != nullptr && window->isExposed()) {
        exposeNs_ = NowNs();
        afterExpose_.start();
      }
    }
    return false;
  }

 private:
  void AfterFirstFrame() {
    const std::int64_t drawnNs = NowNs();
    Append("expose_ms=" + Ms(exposeNs_) + " drawn_ms=" + Ms(drawnNs) + " " + ReadMemory().Text("") + "\n");
    if (settleMs_ >= 0) settle_.start(settleMs_);
  }

  void Finish() {
    Append(ReadMemory().Text("settled_") + "\n");
    QCoreApplication::exit(0);
  }

  void Append(const std::string& line) const {
    if (FILE* report = std::fopen(reportPath_.c_str(), "ae")) {
      std::fputs(line.c_str(), report);
      std::fclose(report);
    }
  }

  std::string Ms(std::int64_t ns) const {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(ns - startNs_) / 1e6);
    return text;
  }

  std::int64_t startNs_;
  std::string reportPath_;
  int settleMs_;
  std::int64_t exposeNs_ = 0;
  QTimer afterExpose_;
  QTimer settle_;
};

void InstallProbe() {
  const char* report = std::getenv("KESTROVA_PROBE_REPORT");
  if (report == nullptr) return;
  const char* start = std::getenv("KESTROVA_PROBE_START_NS");
  const char* settle = std::getenv("KESTROVA_PROBE_SETTLE_MS");
  auto* probe = new ShowProbe(start != nullptr ? std::strtoll(start, nullptr, 10) : 0, report,
                              settle != nullptr ? std::atoi(settle) : 0);
  QCoreApplication::instance()->installEventFilter(probe);
}

}  // namespace

// Runs when the program's QApplication is constructed.
Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
