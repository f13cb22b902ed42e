#pragma once

#include <filesystem>
#include <string_view>

#include "app/macro_outcome.h"

namespace vek {

class TCreatures;

// Removes every object of class 2 3 255 from the game's world and puts one new one there,
// showing the picture vekw, at 4597, 440.
inline constexpr std::string_view kLauncherMacro =
    "dde: putv targ,inst,enum 2 3 255,kill targ,next,new: simp vekw 1 0 10 0,setv clas 33816320,"
    "setv attr 48,bhvr 0 0,mvto 4597 440,endm";

// Copies the program's rpsw.kev to the game's image directory as vekw.spr (a failed copy is
// not reported) and sends the launcher macro; what became of it.
MacroOutcome putLauncherObject(TCreatures& creatures,
                               const std::filesystem::path& programDirectory);

}  // namespace vek
