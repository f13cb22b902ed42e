#pragma once

#include <QString>
#include <functional>

#include "app/recent_files.h"

class QMenu;

namespace vek::ui {

class ProgramFiles;

// A "Recent" submenu of a window's file menu: the files last used of `kind`, newest first, filled
// anew each time it opens; choosing one hands its name to `open`.
QMenu* addRecentMenu(QMenu* fileMenu, const ProgramFiles& files, RecentKind kind,
                     std::function<void(const QString&)> open);

}  // namespace vek::ui
