#pragma once

#include <string>
#include <vector>

#include "app/vek_error.h"
#include "objects/picture_source.h"

namespace vek::testing {

// The message of whatever `action` throws, or "" when it throws nothing.
template <typename Action>
std::string errorOf(Action action) {
    try {
        action();
    } catch (const VekError& error) {
        return error.what();
    }
    return {};
}

// A sprite editor stand-in: remembers what it was asked and hands out one sprite per position.
class FakePictures : public PictureSource {
  public:
    std::vector<SpriteImage> sprites;
    std::vector<std::string> openedFiles;
    int selected = -1;

    void openSpriteFileByName(const std::string& path) override { openedFiles.push_back(path); }
    void selectSprite(int position) override {
        if (position < 0 || static_cast<std::size_t>(position) >= sprites.size())
            throw VekError("no such sprite", "kein solcher Sprite");
        selected = position;
    }
    bool spriteLoaded() const override { return selected >= 0; }
    SpriteImage currentSprite() const override {
        return sprites.at(static_cast<std::size_t>(selected));
    }
};

}  // namespace vek::testing
