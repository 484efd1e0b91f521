// The yardstick for start-up time, memory and idle cost: a Qt Widgets
// program that shows one empty window and nothing else. With
// "--tick-ms N" a timer also fires every N ms and does nothing, which gives
// the floor of what waking up that often costs on the machine.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <cstring>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("minimal");
  window.resize(640, 480);
  window.show();
  QTimer tick;
  if (argc == 3 && std::strcmp(argv[1], "--tick-ms") == 0) {
    QObject::connect(&tick, &QTimer::timeout, [] {});
    tick.start(std::atoi(argv[2]));
  }
  return QApplication::exec();
}
