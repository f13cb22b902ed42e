#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/text_names.h"
#include "generators/class_catalogue.h"

namespace vek {

// Attribute bits of a simple object.
enum SimpleAttribute : int {
    kCarryable = 1,
    kDraggable = 2,
    kActivateable = 4,
    kContainer = 8,
    kInvisible = 16,
    kFloatable = 32,
    kWallbound = 64,
    kGroundbound = 128,
};
// What creatures may do with it.
enum CreatureAction : int { kActivate1 = 1, kActivate2 = 2, kDeactivate = 4 };

// A macro file the source takes a script from: its name and its lines as read.
struct MacroScript {
    std::string fileName;  // "02050301.MAC"
    std::vector<std::string> lines;
};

// The form of the simple object source. Texts are copied as typed.
struct SimpleObjectForm {
    std::string name;
    std::string file;  // the sprite file, four characters
    std::string count = "1";
    std::string start = "0";
    std::string plane = "3500";
    int attributes = 0;
    int click = 0;      // 0 dumb, 1 one-shot, 2 retriggerable, 3 toggle, 4 cycle
    int creatures = 0;  // CreatureAction bits
    bool edit = false;
    bool cloneSprites = false;
    std::vector<MacroScript> macroScripts;  // in the list's order
    std::vector<std::size_t> emptyScripts;  // positions in the script event list, ascending
};

inline constexpr BilingualBox kNoClassBox{Msg::NoClassText, Msg::ErrorCaption};
inline constexpr BilingualBox kNotSimpleObjectBox{Msg::NotSimpleObjectText, Msg::ErrorCaption};
inline constexpr BilingualBox kSpriteFileLengthBox{Msg::SpriteFileLengthText, Msg::ErrorCaption};

// Every check that fails, in order; nothing may be generated unless this is empty.
std::vector<BilingualBox> checkSimpleObject(const SimpleObjectForm& form,
                                            const ClassSelection& selection);

// The source of the object. A macro file whose name does not start with four two-digit numbers
// throws the conversion error.
std::vector<std::string> simpleObjectSource(const SimpleObjectForm& form,
                                            const ClassSelection& selection);

// A macro file read for the form (ANSI text); one that cannot be read throws, naming it.
MacroScript readMacroScript(const std::filesystem::path& file);

}  // namespace vek
