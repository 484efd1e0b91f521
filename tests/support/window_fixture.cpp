#include "window_fixture.h"

#include <QComboBox>
#include <QListWidget>
#include <QTimer>

namespace kestrova::testing {

void WindowFixture::SetUp() {
  ui::WindowServices services;
  services.port = &port;
  services.sleep = [this](int ms) { sleeps.push_back(ms); };
  services.now = [this] { return clock; };
  services.confirm = [this](QWidget*, const QString& title, const QString& text) {
    questions.push_back({title, text});
    return answerOk;
  };
  services.inform = [this](QWidget*, const QString& text) { messages.push_back(text); };
  services.openUrl = [this](const QString& url) { openedUrls.push_back(url); };
  window = std::make_unique<ui::USB>(std::move(services));
  // Ticks are run by the tests themselves.
  window->Timer1->stop();
  window->Form_Load();
}

void WindowFixture::TearDown() {
  window.reset();
  EXPECT_EQ(port.openHandleCount(), 0u) << "the window left device handles open";
  EXPECT_TRUE(port.misuse().empty()) << port.misuse().front();
}

void WindowFixture::Connect() {
  footSwitch.PlugInto(port);
  window->Timer1_Timer();
}

QStringList WindowFixture::LogMessages() const {
  QStringList lines;
  for (int i = 0; i < window->lstResults->count(); ++i) {
    const QString line = window->lstResults->item(i)->text();
    lines << line.mid(line.indexOf("]:") + 2);
  }
  return lines;
}

std::vector<std::string> WindowFixture::ReportsToDevice() const {
  std::vector<std::string> reports;
  for (const auto& written : port.writes()) {
    if (written.path == footSwitch.vendorPath()) reports.push_back(HexBytes(written.report));
  }
  return reports;
}

void WindowFixture::TypeSwitch(const QString& text) { window->Combo1->setEditText(text); }

}  // namespace kestrova::testing
