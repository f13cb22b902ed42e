#include "world/world_files.h"

#include <system_error>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/vek_error.h"

namespace vek {

namespace fs = std::filesystem;

namespace {

std::string reason(const std::exception& failure, std::string_view language) {
    if (const auto* own = dynamic_cast<const VekError*>(&failure))
        return std::string(own->text(language));
    return failure.what();
}

}  // namespace

WorldFiles worldFilesIn(const std::string& mainPath) {
    const fs::path main = pathFromUtf8(mainPath);
    return {findIgnoringCase(main, "world.sfc"), findIgnoringCase(main, "eden.sfc"),
            findIgnoringCase(main, "OldWorld.sfc")};
}

void resetWorld(const std::string& mainPath) {
    const WorldFiles files = worldFilesIn(mainPath);
    // Read first, so that a missing pristine world stops the reset before anything changes.
    const std::vector<std::uint8_t> eden = readFileBytes(files.eden);
    std::error_code error;
    if (fs::exists(files.world, error)) {
        try {
            copyFileAtomically(files.world, files.oldWorld);
        } catch (const std::exception& failure) {
            throw VekError(
                "The world was not reset: its backup OldWorld.sfc could not be written (" +
                    reason(failure, kLanguageEnglish) + ")",
                "Die Welt wurde nicht zurückgesetzt: die Sicherung OldWorld.sfc konnte nicht "
                "geschrieben werden (" +
                    reason(failure, kLanguageGerman) + ")",
                ErrorDetail::ofFile(files.oldWorld));
        }
    }
    writeFileAtomically(files.world, eden);
}

void createNewWorld(const std::string& mainPath, const fs::path& target) {
    copyFileAtomically(worldFilesIn(mainPath).eden, target);
}

}  // namespace vek
