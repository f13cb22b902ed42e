#pragma once

#include <QApplication>
#include <QWidget>
#include <chrono>

namespace vek::ui {

// The wait cursor for as long as this lives, whatever way the command ends: over the whole
// program, or over one widget only.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    explicit WaitCursor(QWidget* widget) : m_widget(widget) { m_widget->setCursor(Qt::WaitCursor); }
    ~WaitCursor() {
        if (m_widget) {
            m_widget->unsetCursor();
        } else {
            QApplication::restoreOverrideCursor();
        }
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    QWidget* m_widget = nullptr;
};

// Paints the widget at once, and lets the other windows paint what is due, taking no input.
void paintNow(QWidget* widget);
// Waits the whole time measured as elapsed time, the windows painted but no input taken.
void waitPainting(std::chrono::milliseconds duration);

// Runs `job` with the wait cursor over the whole program and returns what it gives.
template <typename Job>
auto whileBusy(Job&& job) {
    const WaitCursor busy;
    return job();
}

}  // namespace vek::ui
