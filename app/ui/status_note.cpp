#include "app/ui/status_note.h"

#include <QMainWindow>
#include <QStatusBar>

#include "app/ui/vek_application.h"

namespace vek::ui {

namespace {
constexpr int kNoteMilliseconds = 6000;
}  // namespace

void showNote(QMainWindow* window, const QString& note) {
    auto* bar =
        window ? window->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!bar) {
        if (auto* application = qobject_cast<VekApplication*>(QCoreApplication::instance()))
            bar = application->hintBar();
    }
    if (bar) bar->showMessage(note, kNoteMilliseconds);
}

}  // namespace vek::ui
