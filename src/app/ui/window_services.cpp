#include "app/ui/window_services.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QMessageBox>
#include <QThread>
#include <QUrl>

namespace kestrova::ui {

WindowServices DesktopServices(hid::HidPort& port) {
  WindowServices services;
  services.port = &port;
  services.sleep = [](int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); };
  services.now = [] {
    const QDateTime now = QDateTime::currentDateTime();
    return LocalDateTime{now.date().year(), now.date().month(),  now.date().day(),
                         now.time().hour(), now.time().minute(), now.time().second()};
  };
  services.confirm = [](QWidget* owner, const QString& title, const QString& text) {
    return QMessageBox::question(owner, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
  };
  services.inform = [](QWidget* owner, const QString& text) {
    QMessageBox::information(owner, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
  };
  services.openUrl = [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };
  return services;
}

}  // namespace kestrova::ui
