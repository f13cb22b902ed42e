#pragma once

#include <QString>

#include "app/text_names.h"  // the notes: Msg::SavedNote, %1 the file name or the count

class QMainWindow;

namespace vek::ui {

// Shows a note that a command is done in the window's own status line, or, for a window without
// one (or none given), in the main window's; the note goes again after a few seconds.
void showNote(QMainWindow* window, const QString& note);

}  // namespace vek::ui
