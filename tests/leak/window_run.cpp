#include "window_run.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QThreadPool>
#include <QTimer>
#include <memory>

#include "app/ui/usb_window.h"
#include "keys/key_table.h"

namespace kestrova::leak {
namespace {

ui::WindowServices QuietServices(hid::HidPort& port, bool& answerOk) {
  ui::WindowServices services;
  services.port = &port;
  services.sleep = [](int) {};
  services.now = [] { return LocalDateTime{2021, 12, 12, 15, 4, 5}; };
  services.confirm = [&answerOk](QWidget*, const QString&, const QString&) { return answerOk; };
  services.inform = [](QWidget*, const QString&) {};
  services.openUrl = [](const QString&) {};
  return services;
}

// Handlers are called directly: most buttons are greyed out while the
// device is away, and a click on a disabled button does nothing.
std::size_t RunEveryCommand(ui::USB& window, bool& answerOk) {
  std::size_t commands = 0;
  const auto run = [&commands](auto&& command) {
    command();
    ++commands;
  };
  for (int index = 0; index < keys::kKeyCodeTableSize; ++index) run([&] { window.Command_key_Click(index); });
  run([&] { window.Command_ctrl_Click(); });
  run([&] { window.Command_shift_Click(); });
  run([&] { window.Command_alt_Click(); });
  run([&] { window.Command_win_Click(); });
  run([&] { window.Command_ctrl_r_Click(); });
  run([&] { window.Command_shift_r_Click(); });
  run([&] { window.Command_alt_r_Click(); });
  run([&] { window.Command_win_r_Click(); });
  run([&] { window.Command_L_btn_Click(); });
  run([&] { window.Command_M_btn_Click(); });
  run([&] { window.Command_R_btn_Click(); });
  run([&] { window.Text_delay->setText("1200"); });
  run([&] { window.Command2_Click(); });
  run([&] { window.Command_auto_run_Click(); });
  run([&] { window.Option2_Click(); });
  run([&] { window.Option1_Click(); });
  run([&] {
    answerOk = false;
    window.Command1_Click();
  });
  run([&] {
    answerOk = true;
    window.Command1_Click();
  });
  run([&] { window.TextIW->setText("aa xy 01 \t zz"); });
  run([&] { window.Iwrite_Click(); });
  run([&] { window.contion_Click(); });
  run([&] { window.Label11_Click(); });
  run([&] { window.Clear_Click(); });
  QCoreApplication::processEvents();  // paints what the commands changed
  return commands;
}

}  // namespace

WindowRunCounts RunWindowLife(hid::HidPort& port, std::size_t ticks, const BeforeTick& beforeTick) {
  WindowRunCounts counts;
  bool answerOk = true;
  {
    auto window = std::make_unique<ui::USB>(QuietServices(port, answerOk));
    window->Timer1->stop();
    window->Form_Load();
    QCoreApplication::processEvents();
    for (std::size_t tick = 0; tick < ticks; ++tick) {
      beforeTick(tick);
      window->Timer1_Timer();
      ++counts.ticks;
      if (tick % 100 == 50) counts.commands += RunEveryCommand(*window, answerOk);
    }
    window->close();  // unload closes the device handles
    QCoreApplication::processEvents();
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  // Painting hands work to Qt's pool threads, each with its own event
  // descriptors; they are Qt's, and they go once the pool has wound down.
  QThreadPool::globalInstance()->waitForDone();
  return counts;
}

}  // namespace kestrova::leak
