#include "sprites/ui/long_job.h"

#include <QApplication>
#include <QCursor>

namespace vek::ui {

namespace {
// Often enough for a moving progress bar, rarely enough to cost nothing.
constexpr qint64 kIntervalMs = 40;
}  // namespace

LongJob::LongJob() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_sinceLast.start();
}

LongJob::~LongJob() { QApplication::restoreOverrideCursor(); }

bool LongJob::due() const { return m_sinceLast.elapsed() >= kIntervalMs; }

void LongJob::keepAlive() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceLast.restart();
}

}  // namespace vek::ui
