// A second yardstick for start-up: one window with one line of Chinese text
// in the tool's font families, so the font system is started and a CJK font
// loaded, as any window that shows text must. What the tool costs beyond
// this is its own window's content.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QLabel window(QString::fromUtf8("请插入设备！"));
  QFont font;
  font.setFamilies(
      {"宋体", "SimSun", "WenQuanYi Micro Hei", "Noto Sans CJK SC", "Source Han Sans SC", "Droid Sans Fallback"});
  font.setPointSizeF(9);
  window.setFont(font);
  window.setWindowTitle("text");
  window.resize(640, 480);
  window.show();
  return QApplication::exec();
}
