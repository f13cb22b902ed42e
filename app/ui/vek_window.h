#pragma once

#include <QMainWindow>
#include <QVBoxLayout>

#include "app/ui/app_context.h"

namespace vek::ui {

// Base of every window of the program: created once at start-up and afterwards only shown and
// hidden. Its Qt object name is the designed form name (TForm1 ...).
class VekWindow : public QMainWindow {
    Q_OBJECT
  public:
    VekWindow(AppContext& context, const QString& formName, const QString& caption);

    AppContext& context() const { return m_context; }

  Q_SIGNALS:
    // Emitted whenever the window closes by any means (close box, menu, program).
    void closed();

  protected:
    // Places the window in the middle of the screen.
    void centreOnScreen();
    void closeEvent(QCloseEvent* event) override;
    // Makes the central widget, a column with those margins and spacing for the caller to fill.
    QVBoxLayout* makeCentralColumn(const QMargins& margins, int spacing);
    // Runs a command handler; an error it throws is shown by the default error report.
    void runCommand(const std::function<void()>& command);

  private:
    AppContext& m_context;
};

}  // namespace vek::ui
