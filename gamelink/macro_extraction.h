#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// Makes the game write family, genus and species of every object in its world.
inline constexpr std::string_view kEnumerationMacro =
    "inst,enum 0 0 0,dde: putv fmly,dde: putv gnus,dde: putv spcs,next,endm";
inline constexpr std::size_t kMaxClassKeys = 1001;
inline constexpr int kScriptEventCount = 73;  // events 0 to 72

// A class as the game named it: the three numbers as received, each followed by one blank.
struct ClassKey {
    std::string text;  // "2 13 1 "
    int family = 0;
    int genus = 0;
    int species = 0;
};

struct ClassList {
    std::vector<ClassKey> keys;  // distinct, in the order first seen, at most kMaxClassKeys
    std::size_t dropped = 0;     // further distinct classes beyond the limit
};

// Reads the enumeration answer: values separated by "|", taken in threes; a last group of
// fewer than three pieces is dropped. A piece that is not a whole number throws the
// conversion error, except an empty piece of the dropped group (the game closes every value
// with a "|", so its answer always ends in one). A number outside 0 to 255 is refused.
ClassList parseClassKeys(std::string_view answer);

// "inst,dde: scrp " + key + event + ",endm".
std::string scriptRequestMacro(const ClassKey& key, int event);

// Eight digits and ".MAC": the last two digits of family, genus, species and event.
std::string macroFileName(int family, int genus, int species, int event);

// The name of a later file of this run whose eight-digit name is taken: the eight digits, a
// dash and the three numbers in full ("02050501-002005105.MAC"), so that the class's mask
// still finds it.
std::string distinctMacroFileName(int family, int genus, int species, int event);

// A script as the lines of its file: cut at every comma, a double quote before the first
// piece and after the last.
std::vector<std::string> macroFileLines(std::string_view script);

struct ExtractionResult {
    std::size_t classes = 0;
    std::size_t requests = 0;  // conversations held, the enumeration included
    std::size_t files = 0;     // files really written
    bool stopped = false;      // a conversation failed and the run ended there
};

// Sends one macro and returns the game's answer; nothing when the conversation failed.
using MacroQuestion = std::function<std::optional<std::string>(std::string_view)>;

// Asks the game for every class in its world and each class for its 73 scripts, and writes
// every script returned as a file of its own into `macDirectory` (which must exist). Progress
// lines go to `progress` in the interface language. A failed conversation ends the run with
// one progress line; a file error stops it by throwing. The files written before either stay
// whole, and no file written in the run is replaced by a later one (distinctMacroFileName).
ExtractionResult extractAllMacros(const MacroQuestion& sendMacro,
                                  const std::filesystem::path& macDirectory,
                                  std::string_view language,
                                  const std::function<void(const std::string&)>& progress);

}  // namespace vek
