#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "sprites/sprite_file.h"

namespace vek {

// Changes to a file's list of sprites: insert, duplicate, delete, move. Unlike painting, which
// writes a sprite back into its own block, these change the count and the table, so the whole
// file is written anew, contiguous and in order, through a temporary file that replaces it only
// when complete. A file never grows beyond the sprite editor's table.
using SpriteList = std::vector<SpriteImage>;

// Every sprite of a file, read by its stored offset; a file beyond the table is refused.
SpriteList readAllSprites(const std::filesystem::path& file);

// Each refuses, changing nothing, a number the list lacks or a list that would grow beyond the
// table. `at` may be one past the last sprite (appending); `to` is the number the moved sprite
// ends up with.
void insertSprite(SpriteList& sprites, std::size_t at, SpriteImage sprite);
void duplicateSprite(SpriteList& sprites, std::size_t index);
SpriteImage deleteSprite(SpriteList& sprites, std::size_t index);
void moveSprite(SpriteList& sprites, std::size_t from, std::size_t to);
// The sprite of a number, and one put in its place; both refuse a number the list lacks.
const SpriteImage& spriteAt(const SpriteList& sprites, std::size_t index);
void replaceSprite(SpriteList& sprites, std::size_t index, SpriteImage sprite);

// Reads `input`, applies `edit` and writes the result to `output` (which may be `input`).
void rewriteSpriteFile(const std::filesystem::path& input, const std::filesystem::path& output,
                       const std::function<void(SpriteList&)>& edit);

}  // namespace vek
