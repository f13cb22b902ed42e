#pragma once

#include <QElapsedTimer>

#include "app/ui/widgets/wait_cursor.h"

namespace vek::ui {

// A long command run on the user-interface thread: the wait cursor while it lives, and, every so
// often, a chance for paint events to be handled while user input waits until the job ends.
class LongJob {
  public:
    LongJob();
    LongJob(const LongJob&) = delete;
    LongJob& operator=(const LongJob&) = delete;

    // Asked once per step of the job: true when it is time to let pending events run (enough
    // steps or enough time since the last time); the caller repaints, then calls keepAlive.
    bool due();
    // Handles pending events other than user input.
    void keepAlive();
    // Repaints every window that is shown, at once.
    static void repaintWindows();

  private:
    WaitCursor m_waitCursor;
    QElapsedTimer m_sinceLast;
    int m_stepsSinceLast = 0;
};

}  // namespace vek::ui
