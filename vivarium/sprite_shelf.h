#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "vivarium/world.h"

namespace vek::vivarium {

// The installation's sprite files as the world needs them: the size of each image, read from
// the image directory once per file, whatever the letter case of its name.
class SpriteShelf {
  public:
    explicit SpriteShelf(std::filesystem::path imageDirectory);

    // The images of "NAME.spr"; nullptr when there is no such file, or it cannot be read.
    const SpriteSizes* find(std::string_view name);
    // A lookup for the world; the shelf must outlive it.
    SpriteLookup lookup();

  private:
    std::filesystem::path m_directory;
    std::map<std::string, std::unique_ptr<SpriteSizes>, std::less<>> m_files;
};

}  // namespace vek::vivarium
