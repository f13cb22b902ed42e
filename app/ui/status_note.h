#pragma once

#include <QString>

#include "app/messages.h"

class QMainWindow;

namespace vek::ui {

// The short notes with which commands end, %1 the file name or the count.
inline constexpr Bilingual kSavedNote{"Saved %1", "%1 gespeichert"};
inline constexpr Bilingual kCreatedNote{"Created %1", "%1 erzeugt"};
inline constexpr Bilingual kConvertedNote{"%1 files converted", "%1 Dateien umgewandelt"};
inline constexpr Bilingual kInjectedNote{"Injected %1", "%1 injiziert"};

// Shows a note that a command is done in the window's own status line, or, for a window without
// one (or none given), in the main window's; the note goes again after a few seconds.
void showNote(QMainWindow* window, const QString& note);

}  // namespace vek::ui
