#include "app/ui/tool_windows.h"

#include <QAbstractButton>

#include "app/ui/vek_window.h"

namespace vek::ui {

ToolWindowGroup::ToolWindowGroup(std::function<int()> top, QObject* parent)
    : QObject(parent), m_top(std::move(top)) {}

void ToolWindowGroup::attach(Tool tool, QAbstractButton* button, VekWindow* window,
                             bool placeUnder) {
    Entry& entry = m_tools[tool];
    entry = {button, window, false, placeUnder};
    // The toggle group places the window; only its size is its own to keep.
    if (placeUnder) window->setPlaceMemory(VekWindow::PlaceMemory::SizeOnly);
    button->setCheckable(true);
    connect(window, &VekWindow::closed, this, [&entry] {
        entry.open = false;
        entry.button->setChecked(false);
    });
}

void ToolWindowGroup::toggle(Tool tool) {
    Entry& chosen = m_tools[tool];
    if (!chosen.window) return;
    if (chosen.open) {
        chosen.window->close();
        chosen.open = false;
        chosen.button->setChecked(false);
        return;
    }
    for (Entry& entry : m_tools) {
        entry.open = false;
        if (&entry != &chosen && entry.window) entry.window->close();
    }
    if (m_about) m_about->close();
    if (chosen.placeUnder && m_top) chosen.window->move(0, m_top());
    chosen.window->show();
    chosen.window->raise();
    chosen.open = true;
    chosen.button->setChecked(true);
}

void ToolWindowGroup::show(Tool tool) {
    if (!m_tools[tool].open) toggle(tool);
}

}  // namespace vek::ui
