// Preloaded (LD_PRELOAD) by the idle benchmark to tell the cost of the
// blinking text caret apart: it sets Qt's cursor flash time to 0, so the
// caret of a focused text box stays on instead of being repainted twice a
// second. A diagnostic only; the tool itself keeps the desktop's setting.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QStyleHints>

namespace {

// Runs while the application is being constructed, before any window exists.
void SteadyCaret() { QGuiApplication::styleHints()->setCursorFlashTime(0); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(SteadyCaret)
