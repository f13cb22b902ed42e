#include "sprites/sprite_merge.h"

#include <ostream>

#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace fs = std::filesystem;

std::vector<MergeEntry> buildMergeList(std::span<const fs::path> inputs, std::size_t capacity) {
    std::vector<MergeEntry> list;
    for (const fs::path& input : inputs) {
        const SpriteTable table = readSpriteTable(input, kMaxSpriteCount);
        if (table.count() > capacity - list.size()) {
            const std::string most = std::to_string(capacity);
            throw VekError(fill(Msg::MergeTooManySprites, {most}));
        }
        for (const SpriteEntry& entry : table.entries) list.push_back({input, entry});
    }
    return list;
}

void writeMergedFile(const fs::path& output, std::span<const MergeEntry> list) {
    std::vector<SpriteEntry> sizes;
    sizes.reserve(list.size());
    for (const MergeEntry& item : list) sizes.push_back(item.entry);
    const std::vector<std::uint8_t> header = encodeSpriteHeader(contiguousLayout(sizes));
    writeFileAtomically(output, [&](std::ostream& out) {
        out.write(reinterpret_cast<const char*>(header.data()),
                  static_cast<std::streamsize>(header.size()));
        for (const MergeEntry& item : list) SpriteFile(item.file).copySprite(item.entry, out);
    });
}

void mergeSpriteFiles(const fs::path& output, std::span<const fs::path> inputs) {
    writeMergedFile(output, buildMergeList(inputs));
}

}  // namespace vek
