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

    // What of its last place the window takes again when it first shows: its size and place,
    // its size only (where it has a place of its own), or nothing (where its size is fixed).
    enum class PlaceMemory { SizeAndPlace, SizeOnly, None };
    void setPlaceMemory(PlaceMemory memory) { m_placeMemory = memory; }
    // Keeps the window's size and place for its next showing (hiding it does this too).
    void rememberPlace();

  Q_SIGNALS:
    // Emitted whenever the window closes by any means (close box, menu, program).
    void closed();

  protected:
    // Places the window in the middle of the screen.
    void centreOnScreen();
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Makes the central widget, a column with those margins and spacing for the caller to fill.
    QVBoxLayout* makeCentralColumn(const QMargins& margins, int spacing);
    // Runs a command handler; an error it throws is shown by the default error report.
    void runCommand(const std::function<void()>& command);

  private:
    void takeLastPlace();

    AppContext& m_context;
    PlaceMemory m_placeMemory = PlaceMemory::SizeAndPlace;
    bool m_placeTaken = false;
};

}  // namespace vek::ui
