#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>

#include "app/game_paths.h"
#include "app/settings.h"
#include "language/checker.h"
#include "language/installation_rules.h"

namespace vek {

// The sprite files (with their sprite counts) and sounds of an installation, for the checker.
// A folder that cannot be read leaves its part unknown, so that nothing is reported missing
// from it; a sprite file whose table cannot be read counts as holding no sprites.
InstallationFacts readInstallationFacts(const GamePaths& paths);

// The facts of the installed game for the checks of an editor: read when first asked for, not
// before, and read again when the game's image or sound folder is another one or was changed
// since (a look at the two folders' times each time it is asked). The class catalogue is asked
// as it is at the time of each check.
class InstallationFactsCache {
  public:
    using ClassLookup = std::function<bool(int family, int genus, int species)>;
    explicit InstallationFactsCache(const GameInstallation& game) : m_game(game) {}

    void setClassLookup(ClassLookup knowsClass);
    // The facts as they are now; the same object as long as nothing changed.
    std::shared_ptr<const InstallationFacts> current();
    // The facts last read, without a look at the folders; none before the first read.
    std::shared_ptr<const InstallationFacts> held() const { return m_facts; }
    // How often the folders were read.
    std::size_t reads() const { return m_reads; }

  private:
    struct Stamp {
        GamePaths paths;
        std::filesystem::file_time_type images;
        std::filesystem::file_time_type sounds;
        bool operator==(const Stamp&) const = default;
    };
    Stamp stampNow() const;

    const GameInstallation& m_game;
    ClassLookup m_knowsClass;
    std::optional<Stamp> m_stamp;  // of the facts held
    std::shared_ptr<const InstallationFacts> m_facts;
    std::size_t m_reads = 0;
};

// The installation checks that VEK.INI switches off: in section [Checking], the keys SpriteFiles,
// Images, Sounds and Classes, each off when "0".
std::set<FindingCode> switchedOffInstallationChecks(const VekIni& settings);

// The key of section [Checking] that switches an installation check off, e.g. "Sounds".
const char* installationCheckKey(FindingCode code);
void writeInstallationCheck(const VekIni& settings, FindingCode code, bool on);

}  // namespace vek
