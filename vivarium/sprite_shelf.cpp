#include "vivarium/sprite_shelf.h"

#include "app/file_lookup.h"
#include "sprites/sprite_file.h"

namespace vek::vivarium {

SpriteShelf::SpriteShelf(std::filesystem::path imageDirectory)
    : m_directory(std::move(imageDirectory)) {}

const SpriteSizes* SpriteShelf::find(std::string_view name) {
    if (const auto known = m_files.find(name); known != m_files.end()) return known->second.get();
    std::unique_ptr<SpriteSizes> sizes;
    // A name with a separator would reach outside the image directory.
    if (!name.empty() && name.find_first_of("/\\:") == std::string_view::npos) {
        const std::filesystem::path file =
            findIgnoringCase(m_directory, std::string(name) + ".spr");
        std::error_code error;
        if (std::filesystem::is_regular_file(file, error)) {
            try {
                sizes = std::make_unique<SpriteSizes>();
                for (const SpriteEntry& entry : readSpriteTable(file, kMaxSpriteCount).entries)
                    sizes->sizes.emplace_back(entry.width, entry.height);
            } catch (const std::exception&) {
                sizes.reset();  // a damaged file counts as none: the object keeps its own count
            }
        }
    }
    return m_files.emplace(std::string(name), std::move(sizes)).first->second.get();
}

SpriteLookup SpriteShelf::lookup() {
    return [this](std::string_view name) { return find(name); };
}

}  // namespace vek::vivarium
