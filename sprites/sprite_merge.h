#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <vector>

#include "sprites/sprite_file.h"

namespace vek {

// The merge list holds up to 1001 sprites.
inline constexpr std::size_t kMergeListCapacity = 1001;

// One sprite to be merged: where its pixels are.
struct MergeEntry {
    std::filesystem::path file;
    SpriteEntry entry;
};

// The sprites of all inputs, in input order and each file's order; only headers are read.
// Inputs that hold more than `capacity` sprites together are refused before the list grows
// beyond it.
std::vector<MergeEntry> buildMergeList(std::span<const std::filesystem::path> inputs,
                                       std::size_t capacity = kMergeListCapacity);

// Writes the listed sprites, unchanged and in order, as one new file with contiguous blocks. The
// output may be one of the inputs: the sources are read before the new file replaces anything.
void writeMergedFile(const std::filesystem::path& output, std::span<const MergeEntry> list);

// Both steps.
void mergeSpriteFiles(const std::filesystem::path& output,
                      std::span<const std::filesystem::path> inputs);

}  // namespace vek
