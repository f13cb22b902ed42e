#include "sprites/sprite_frames.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace {

void requireNumber(const SpriteList& sprites, std::size_t index, std::size_t end) {
    if (index < end) return;
    throw VekError(
        fill(Msg::SpriteNumberMissing, {std::to_string(index), std::to_string(sprites.size())}));
}

void requireRoomForOneMore(const SpriteList& sprites) {
    if (sprites.size() < kSpriteTableCapacity) return;
    const std::string count = std::to_string(sprites.size() + 1);
    throw VekError(
        fill(Msg::SpriteCountBeyondEditor, {count, std::to_string(kSpriteTableCapacity)}));
}

std::ptrdiff_t position(std::size_t index) { return static_cast<std::ptrdiff_t>(index); }

}  // namespace

SpriteList readAllSprites(const std::filesystem::path& file) {
    SpriteFile reader(file);
    const std::vector<SpriteEntry> entries = reader.readTable(kSpriteTableCapacity);
    SpriteList sprites;
    sprites.reserve(entries.size());
    for (const SpriteEntry& entry : entries) sprites.push_back(reader.readSprite(entry));
    return sprites;
}

void insertSprite(SpriteList& sprites, std::size_t at, SpriteImage sprite) {
    requireNumber(sprites, at, sprites.size() + 1);
    requireRoomForOneMore(sprites);
    if (sprite.pixels.size() != std::size_t{sprite.width} * sprite.height)
        throw VekError(Msg::SpritePixelsDoNotFit);
    sprites.insert(sprites.begin() + position(at), std::move(sprite));
}

void duplicateSprite(SpriteList& sprites, std::size_t index) {
    requireNumber(sprites, index, sprites.size());
    SpriteImage copy = sprites[index];
    insertSprite(sprites, index + 1, std::move(copy));
}

SpriteImage deleteSprite(SpriteList& sprites, std::size_t index) {
    requireNumber(sprites, index, sprites.size());
    SpriteImage removed = std::move(sprites[index]);
    sprites.erase(sprites.begin() + position(index));
    return removed;
}

const SpriteImage& spriteAt(const SpriteList& sprites, std::size_t index) {
    requireNumber(sprites, index, sprites.size());
    return sprites[index];
}

void replaceSprite(SpriteList& sprites, std::size_t index, SpriteImage sprite) {
    requireNumber(sprites, index, sprites.size());
    sprites[index] = std::move(sprite);
}

void moveSprite(SpriteList& sprites, std::size_t from, std::size_t to) {
    requireNumber(sprites, from, sprites.size());
    requireNumber(sprites, to, sprites.size());
    const auto first = sprites.begin();
    if (from < to) {
        std::rotate(first + position(from), first + position(from) + 1, first + position(to) + 1);
    } else {
        std::rotate(first + position(to), first + position(from), first + position(from) + 1);
    }
}

void rewriteSpriteFile(const std::filesystem::path& input, const std::filesystem::path& output,
                       const std::function<void(SpriteList&)>& edit) {
    SpriteList sprites = readAllSprites(input);
    edit(sprites);
    writeSpriteFile(output, sprites);
}

}  // namespace vek
