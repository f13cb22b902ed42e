#include "app/ui/widgets/wait_cursor.h"

#include <QEventLoop>
#include <QTimer>
#include <thread>

namespace vek::ui {

namespace {

// What a wait lets through: timers and painting, never the user's input nor another program's.
constexpr QEventLoop::ProcessEventsFlags kPaintingOnly =
    QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers;

}  // namespace

void paintNow(QWidget* widget) {
    widget->repaint();
    QCoreApplication::processEvents(kPaintingOnly);
}

void waitPainting(std::chrono::milliseconds duration) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + duration;
    for (auto left = duration; left.count() > 0;
         left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now())) {
        QEventLoop loop;
        QTimer::singleShot(left, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        // A loop that cannot run (the program is quitting) still waits out the time.
        if (loop.exec(kPaintingOnly) != 0) std::this_thread::sleep_until(end);
    }
}

}  // namespace vek::ui
