#include "objects/installation_facts.h"

#include <filesystem>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/vek_error.h"
#include "language/reading.h"
#include "sprites/sprite_file.h"

namespace vek {

namespace fs = std::filesystem;

namespace {

// Calls `take` with the lower-case stem of every file in `folder` with the extension; none when
// the folder cannot be read.
template <typename Take>
bool eachFileOf(const std::string& folder, std::string_view extension, Take take) {
    std::error_code error;
    fs::directory_iterator entries(pathFromUtf8(folder), error);
    if (folder.empty() || error) return false;
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::path& file = entries->path();
        if (!equalsIgnoringCase(pathToUtf8(file.extension()), extension)) continue;
        take(file, lowered(pathToUtf8(file.stem())));
    }
    return !error;
}

std::size_t spriteCountOf(const fs::path& file) {
    try {
        return SpriteFile(file).readTable(kMaxSpriteCount).size();
    } catch (const VekError&) {
        return 0;
    }
}

}  // namespace

InstallationFacts readInstallationFacts(const GamePaths& paths) {
    InstallationFacts facts;
    std::map<std::string, std::size_t> sprites;
    if (eachFileOf(paths.CImagePath, ".spr", [&](const fs::path& file, const std::string& name) {
            sprites[name] = spriteCountOf(file);
        }))
        facts.spriteCounts = std::move(sprites);
    std::set<std::string> sounds;
    if (eachFileOf(paths.CSoundPath, ".wav",
                   [&](const fs::path&, const std::string& name) { sounds.insert(name); }))
        facts.sounds = std::move(sounds);
    return facts;
}

std::set<FindingCode> switchedOffInstallationChecks(const VekIni& settings) {
    constexpr std::pair<FindingCode, const char*> kKeys[] = {
        {FindingCode::SpriteFileMissing, "SpriteFiles"},
        {FindingCode::ImageBeyondRange, "Images"},
        {FindingCode::SoundMissing, "Sounds"},
        {FindingCode::ClassUnknown, "Classes"}};
    std::set<FindingCode> off;
    for (const auto& [code, key] : kKeys) {
        if (settings.read("Checking", key, "1") == "0") off.insert(code);
    }
    return off;
}

}  // namespace vek
