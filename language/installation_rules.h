#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"
#include "language/checker.h"
#include "language/reading.h"

namespace vek {

// What the checker may know of the installation a source is meant for. The object side fills it
// from the game's folders (or the demo installation); the checker knows no other subsystem.
struct InstallationFacts {
    // Sprite files of the image folder by their name in lower case without ".spr", with the
    // number of sprites each holds; none where the folder could not be read.
    std::optional<std::map<std::string, std::size_t>> spriteCounts;
    // Sounds of the sound folder by their name in lower case without ".wav"; none where the
    // folder could not be read.
    std::optional<std::set<std::string>> sounds;
    // Whether the class catalogue holds a class; unset where no catalogue is known.
    std::function<bool(int family, int genus, int species)> knowsClass;
};

struct InstallationFinding {
    FindingCode code = FindingCode::SpriteFileMissing;
    Lexeme lexeme;  // what the finding marks
    BilingualText text;
};

// Follows a macro command by command and finds what the game would show only by misbehaving:
// a sprite file or sound that is not there, images beyond a sprite file or beyond the images an
// object was created with, a class the catalogue does not hold. An object's images are known
// from its creating command with numbers written out until the target changes.
class InstallationRules {
  public:
    explicit InstallationRules(const InstallationFacts& facts) : m_facts(facts) {}

    void command(const CommandReading& command, std::string_view text,
                 std::vector<InstallationFinding>& found);

  private:
    void creation(const CommandReading& command, std::string_view text,
                  std::vector<InstallationFinding>& found);
    void image(const CommandReading& command, std::string_view text,
               std::vector<InstallationFinding>& found);

    const InstallationFacts& m_facts;
    std::optional<long long> m_targetImages;  // of the object created last, while it is the target
};

// The family, genus and species packed into a class number as `setv clas` takes it.
struct PackedClass {
    int family = 0;
    int genus = 0;
    int species = 0;

    auto operator<=>(const PackedClass&) const = default;
};
PackedClass unpackClass(long long number);

// What one section of a source (a script or an installation routine, as the macro compiling
// makes of it) says about classes: the class each object it creates is given, and a script's
// own class.
struct SectionClasses {
    // An object created by a `new:` word gets the class that `setv clas` gives it while it is
    // still the target, so the number written there is the class created.
    std::vector<PackedClass> created;
    // A created object is given a class the check cannot read (a variable, a value).
    bool createsUnreadClass = false;
    // The class of a script's scrp, written as three whole numbers, none of them 0 ("any").
    struct Script {
        PackedClass packed;
        TextPosition position;  // of the family
        int length = 0;         // characters from the family to the end of the species
        std::string subject;    // those characters
        std::string command;    // the scrp command as written
    };
    std::optional<Script> script;
};
SectionClasses sectionClassesOf(const MacroText& macro,
                                const Dictionary& dictionary = Dictionary::builtIn());

// The warning of each script among a source's `sections` (in source order) whose class no
// section of the source creates and the catalogue does not hold; with the index of its section.
// None without a catalogue, and none where an object is given a class the check cannot read.
struct ScriptClassFinding {
    std::size_t section = 0;
    Finding finding;
};
std::vector<ScriptClassFinding> scriptsOfUncreatedClasses(std::span<const SectionClasses> sections,
                                                          const InstallationFacts& facts);

}  // namespace vek
