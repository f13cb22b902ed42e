#pragma once

namespace vek::ui {

struct AppContext;

// The check for an installed game, run in the sprite editor's creation step right after the
// paths are read: without a main directory the user chooses between quitting (after start-up)
// and going on without the game. Sets `pathsRead` and `quitAfterStartup`; returns `pathsRead`.
bool checkGameInstalled(AppContext& context);

}  // namespace vek::ui
