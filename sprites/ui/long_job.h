#pragma once

#include <QElapsedTimer>

namespace vek::ui {

// A long command run on the user-interface thread: the wait cursor while it lives, and, every so
// often, a chance for paint events to be handled while user input waits until the job ends.
class LongJob {
  public:
    LongJob();
    ~LongJob();
    LongJob(const LongJob&) = delete;
    LongJob& operator=(const LongJob&) = delete;

    // Handles pending events other than user input when the last time was long enough ago;
    // true when it did (the caller repaints what changed just before).
    bool due() const;
    void keepAlive();

  private:
    QElapsedTimer m_sinceLast;
};

}  // namespace vek::ui
