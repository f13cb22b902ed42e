#include "app/ui/widgets/long_job.h"

#include <QApplication>
#include <QWidget>

namespace vek::ui {

namespace {
// Often enough for a moving progress bar, rarely enough to cost nothing; the step count keeps
// a fast job's bar moving too.
constexpr qint64 kIntervalMs = 40;
constexpr int kMaxStepsBetween = 100;
}  // namespace

LongJob::LongJob() { m_sinceLast.start(); }

bool LongJob::due() {
    return ++m_stepsSinceLast >= kMaxStepsBetween || m_sinceLast.elapsed() >= kIntervalMs;
}

void LongJob::repaintWindows() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) window->repaint();
    }
}

void LongJob::keepAlive() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceLast.restart();
    m_stepsSinceLast = 0;
}

}  // namespace vek::ui
