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

InstallationFactsCache::Stamp InstallationFactsCache::stampNow() const {
    const auto timeOf = [](const std::string& folder) {
        std::error_code error;
        // Windows finds no folder by a name with a separator at its end, as the game writes them.
        const fs::path path = pathFromUtf8(folder);
        const auto time =
            fs::last_write_time(path.has_filename() ? path : path.parent_path(), error);
        return error ? fs::file_time_type{} : time;
    };
    const GamePaths& paths = m_game.paths();
    return {paths, timeOf(paths.CImagePath), timeOf(paths.CSoundPath)};
}

void InstallationFactsCache::setClassLookup(ClassLookup knowsClass) {
    m_knowsClass = std::move(knowsClass);
    m_stamp.reset();
}

std::shared_ptr<const InstallationFacts> InstallationFactsCache::current() {
    Stamp now = stampNow();
    if (m_stamp == now) return m_facts;
    auto facts = std::make_shared<InstallationFacts>(readInstallationFacts(now.paths));
    facts->knowsClass = m_knowsClass;
    ++m_reads;
    m_stamp = std::move(now);
    m_facts = std::move(facts);
    return m_facts;
}

namespace {

constexpr std::pair<FindingCode, const char*> kCheckKeys[] = {
    {FindingCode::SpriteFileMissing, "SpriteFiles"},
    {FindingCode::ImageBeyondRange, "Images"},
    {FindingCode::SoundMissing, "Sounds"},
    {FindingCode::ClassUnknown, "Classes"}};

}  // namespace

std::set<FindingCode> switchedOffInstallationChecks(const VekIni& settings) {
    std::set<FindingCode> off;
    for (const auto& [code, key] : kCheckKeys) {
        if (settings.read("Checking", key, "1") == "0") off.insert(code);
    }
    return off;
}

const char* installationCheckKey(FindingCode code) {
    for (const auto& [known, key] : kCheckKeys) {
        if (known == code) return key;
    }
    return "";
}

void writeInstallationCheck(const VekIni& settings, FindingCode code, bool on) {
    settings.write("Checking", installationCheckKey(code), on ? "1" : "0");
}

}  // namespace vek
