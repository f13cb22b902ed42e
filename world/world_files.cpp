#include "world/world_files.h"

#include <algorithm>
#include <system_error>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/game_paths.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace fs = std::filesystem;

WorldFiles worldFilesIn(const std::string& mainPath) {
    const fs::path main = knownGameFolder(mainPath, kMainDirectoryValue);
    return {findIgnoringCase(main, "world.sfc"), findIgnoringCase(main, "eden.sfc"),
            findIgnoringCase(main, "OldWorld.sfc")};
}

fs::path olderWorldBackup(const fs::path& mainDirectory, int age) {
    return findIgnoringCase(mainDirectory, "OldWorld" + std::to_string(age) + ".sfc");
}

void backUpWorld(const fs::path& mainDirectory, std::span<const std::uint8_t> pristine) {
    const fs::path world = findIgnoringCase(mainDirectory, "world.sfc");
    const fs::path oldWorld = findIgnoringCase(mainDirectory, "OldWorld.sfc");
    std::error_code error;
    if (!fs::exists(world, error)) return;
    try {
        const std::vector<std::uint8_t> current = readFileBytes(world);
        if (std::ranges::equal(current, pristine)) return;
        if (fs::exists(oldWorld, error)) {
            if (readFileBytes(oldWorld) == current) return;
            // The oldest backup drops out; every other one moves one place down.
            for (int age = kOlderWorldBackups; age >= 1; --age) {
                const fs::path from =
                    age == 1 ? oldWorld : olderWorldBackup(mainDirectory, age - 1);
                if (fs::exists(from, error)) fs::rename(from, olderWorldBackup(mainDirectory, age));
            }
        }
        writeFileAtomically(oldWorld, current);
    } catch (const std::exception& failure) {
        throw VekError(fill(Msg::WorldBackupNotWritten, {failureText(failure)}),
                       ErrorDetail::ofFile(oldWorld));
    }
}

void resetWorld(const std::string& mainPath) {
    const WorldFiles files = worldFilesIn(mainPath);
    // Read first, so that a missing pristine world stops the reset before anything changes.
    const std::vector<std::uint8_t> eden = readFileBytes(files.eden);
    backUpWorld(files.world.parent_path(), eden);
    writeFileAtomically(files.world, eden);
}

void createNewWorld(const std::string& mainPath, const fs::path& target) {
    const WorldFiles files = worldFilesIn(mainPath);
    std::error_code error;
    // The game's own world is never replaced without its backup.
    if (fs::equivalent(files.world, target, error))
        backUpWorld(files.world.parent_path(), readFileBytes(files.eden));
    copyFileAtomically(files.eden, target);
}

}  // namespace vek
