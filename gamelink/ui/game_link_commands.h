#pragma once

namespace vek {
class TCreatures;
}

namespace vek::ui {

struct AppContext;

// The game-link commands that other windows offer. Each runs one whole command, showing its
// own messages through the context's dialogs; none of them throws.

// Main window, SpeedButton7: puts the program's launcher object into the running game.
void putLauncherObject(AppContext& context, TCreatures& creatures);

// Sprite editor, ConnectVEKtoCreatures1: opens a conversation with the game and closes it
// again; when none opens, says so in the current language.
void testConnectionToCreatures(AppContext& context, TCreatures& creatures);

// Sprite editor, LaunchCREATURES1: starts the game with "-Embedding" from its main directory;
// a launch error is shown in a plain message box.
void launchCreatures(AppContext& context, const TCreatures& creatures);

// Routes the link's own messages ("Creatures not found! ...") to the context's dialogs.
void installGameLinkNotices(AppContext& context, TCreatures& creatures);

}  // namespace vek::ui
