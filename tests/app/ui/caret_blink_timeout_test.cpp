#include "app/ui/caret_blink_timeout.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>
#include <chrono>
#include <utility>

namespace kestrova::ui {
namespace {

using namespace std::chrono_literals;

constexpr int kDesktopFlashTime = 1000;

// Counts the paints of one widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int TakeCount() { return std::exchange(count_, 0); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count_;
    return QObject::eventFilter(watched, event);
  }

 private:
  int count_ = 0;
};

// A focused text box in an active window, with a known desktop flash time.
class CaretBlinkTimeoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedFlashTime_ = QGuiApplication::styleHints()->cursorFlashTime();
    QGuiApplication::styleHints()->setCursorFlashTime(kDesktopFlashTime);
    box.show();
    box.activateWindow();
    box.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
  }
  void TearDown() override { QGuiApplication::styleHints()->setCursorFlashTime(savedFlashTime_); }

  static int FlashTime() { return QGuiApplication::styleHints()->cursorFlashTime(); }

  QLineEdit box;

 private:
  int savedFlashTime_ = 0;
};

TEST_F(CaretBlinkTimeoutTest, StopsAfterTheQuietTimeAndBlinksAgainAtTheNextKey) {
  CaretBlinkTimeout timeout(200ms);
  EXPECT_FALSE(timeout.blinkingStopped());
  EXPECT_EQ(FlashTime(), kDesktopFlashTime);

  QTRY_VERIFY_WITH_TIMEOUT(timeout.blinkingStopped(), 2000);
  EXPECT_EQ(FlashTime(), 0) << "a flash time of 0 shows the caret steadily";

  QTest::keyClick(&box, Qt::Key_A);
  EXPECT_FALSE(timeout.blinkingStopped());
  EXPECT_EQ(FlashTime(), kDesktopFlashTime) << "the desktop's own time comes back";
  EXPECT_EQ(box.text(), "a") << "the key still reaches the box";
  QTRY_VERIFY_WITH_TIMEOUT(timeout.blinkingStopped(), 2000);
}

TEST_F(CaretBlinkTimeoutTest, InputBeforeTheQuietTimeEndsPutsTheStopOff) {
  CaretBlinkTimeout timeout(500ms);
  for (int i = 0; i < 5; ++i) {
    QTest::qWait(200);
    EXPECT_FALSE(timeout.blinkingStopped()) << "never 500 ms without input, after " << (i + 1) * 200 << " ms";
    QTest::mouseClick(&box, Qt::LeftButton);
  }
}

TEST_F(CaretBlinkTimeoutTest, EndingGivesTheDesktopsTimeBackEvenWhileStopped) {
  {
    CaretBlinkTimeout timeout(50ms);
    QTRY_VERIFY_WITH_TIMEOUT(timeout.blinkingStopped(), 2000);
  }
  EXPECT_EQ(FlashTime(), kDesktopFlashTime);
}

// What the stop is for: a focused box is no longer repainted while idle.
TEST_F(CaretBlinkTimeoutTest, AStoppedCaretNoLongerRepaintsItsBox) {
  PaintCounter paints(&box);
  CaretBlinkTimeout timeout(1500ms);
  QTest::qWait(1200);
  EXPECT_GE(paints.TakeCount(), 1) << "a blinking caret repaints its box";

  QTRY_VERIFY_WITH_TIMEOUT(timeout.blinkingStopped(), 3000);
  paints.TakeCount();  // the caret drawn steadily once
  QTest::qWait(1200);
  EXPECT_EQ(paints.TakeCount(), 0);
}

}  // namespace
}  // namespace kestrova::ui
