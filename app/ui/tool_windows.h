#pragma once

#include <QObject>
#include <array>
#include <functional>

class QAbstractButton;
class QWidget;

namespace vek::ui {

class VekWindow;

// The main window's toggle group: at most one of five tool windows is open from its button, and
// opening one closes the others and the about window. The composition root owns it and ties the
// windows to the buttons, so that no window holds another.
class ToolWindowGroup : public QObject {
    Q_OBJECT
  public:
    enum Tool { Map, SoundPlayer, ObjectCompiler, SpriteEditor, CommandInterface, kToolCount };

    // `top` tells where a tool window goes: just under the main window.
    ToolWindowGroup(std::function<int()> top, QObject* parent = nullptr);

    // A window placed under the main window unless `placeUnder` is false.
    void attach(Tool tool, QAbstractButton* button, VekWindow* window, bool placeUnder = true);
    void setAbout(QWidget* about) { m_about = about; }

    // The button's click: opens the tool's window, or closes it when it is open.
    void toggle(Tool tool);
    // Opens the tool's window unless its button is down already.
    void show(Tool tool);

  private:
    struct Entry {
        QAbstractButton* button = nullptr;
        VekWindow* window = nullptr;
        bool open = false;  // the tool-window flag: opened from its button
        bool placeUnder = true;
    };
    std::array<Entry, kToolCount> m_tools{};
    QWidget* m_about = nullptr;
    std::function<int()> m_top;
};

}  // namespace vek::ui
