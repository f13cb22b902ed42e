#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/vek_error.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

namespace fs = std::filesystem;

namespace {

void removeScratchFolder();

// A folder of this process's own, removed at its end (registered once the folder exists, so
// that the removal runs before the name itself is destroyed).
const fs::path& scratchFolder() {
    static const fs::path folder = [] {
        fs::path made = fs::temp_directory_path() / ("vekfuzz-" + std::to_string(::getpid()));
        fs::create_directories(made);
        return made;
    }();
    [[maybe_unused]] static const bool removedAtExit = std::atexit(removeScratchFolder) == 0;
    return folder;
}

void removeScratchFolder() {
    std::error_code ignored;
    fs::remove_all(scratchFolder(), ignored);
}

void writeBytes(const fs::path& file, std::span<const std::uint8_t> bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

void expectSame(bool same, const char* what) {
    if (same) return;
    std::fprintf(stderr, "round trip failed: %s\n", what);
    std::abort();
}

std::string_view asText(std::span<const std::uint8_t> input) {
    return {reinterpret_cast<const char*>(input.data()), input.size()};
}

Bytes bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

PaletteTable distinctPalette() {
    PaletteTable palette;
    for (std::size_t k = 0; k < kPaletteColorCount; ++k)
        palette.setColor(k, paletteEntryColor(static_cast<std::uint8_t>(k % 64),
                                              static_cast<std::uint8_t>(k / 4 % 64),
                                              static_cast<std::uint8_t>(k / 16)));
    return palette;
}

fs::path inputFile(std::span<const std::uint8_t> input, std::string_view name) {
    const fs::path file = scratchFolder() / name;
    writeBytes(file, input);
    return file;
}

}  // namespace vek::fuzz

// With VEK_FUZZ_SEEDS=DIR the harness writes its seeds into DIR and ends.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* folder = std::getenv("VEK_FUZZ_SEEDS")) {
        std::filesystem::create_directories(folder);
        int n = 0;
        for (const vek::fuzz::Bytes& seed : vek::fuzz::seeds())
            vek::fuzz::writeBytes(std::filesystem::path(folder) / ("seed-" + std::to_string(n++)),
                                  seed);
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        vek::fuzz::fuzzOne(std::span(data, size));
    } catch (const vek::VekError&) {
        // Refused with a message: what a reader should do with bad input.
    }
    return 0;
}
