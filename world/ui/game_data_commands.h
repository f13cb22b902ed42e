#pragma once

#include "app/game_paths.h"
#include "world/egg_disk.h"
#include "world/game_settings.h"

namespace vek::ui {

struct AppContext;

// The main window's world, egg-disk and cheat menus. Each runs one whole command with its
// questions and shows its errors through the context's dialogs; none of them throws.

// ResetWorld1Click: while the game answers on the link, first the warning that it will write
// its own world back; then the question; then the reset.
void resetWorldCommand(AppContext& context, bool gameAnswers);

// CreatenewWorld1Click: the save dialog in the main directory, then the copy of eden.sfc.
void createNewWorldCommand(AppContext& context);

// NewEggs1Click, grenorneggs1Click, norneleggs1Click, nornel1Click.
void writeEggDiskCommand(AppContext& context, EggDiskKind kind, const GamePathSources& sources);

// The cheat menu's items: one registry value each, no message on success.
void writeGameSettingCommand(AppContext& context, RegistryWriter& registry,
                             const GameSetting& setting);

}  // namespace vek::ui
