#pragma once

#include <QString>
#include <functional>

#include "app/recent_files.h"

class QMenu;

namespace vek::ui {

struct AppContext;

// A "Recent" submenu of a window's file menu: the files last used of `kind`, newest first, filled
// anew each time it opens; choosing one hands its name to `open`.
QMenu* addRecentMenu(QMenu* fileMenu, AppContext& context, RecentKind kind,
                     std::function<void(const QString&)> open);

}  // namespace vek::ui
