// The Wine registry file reader that finds the game's paths.
#include "app/game_paths.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    return {
        bytesOf("WINE REGISTRY Version 2\n\n[Software\\\\Millennium Interactive\\\\Creatures\\\\"
                "1.0] 1234\n\"Main Directory\"=\"C:\\\\Creatures\\\\\"\n\"Image Directory\"="
                "\"C:\\\\Creatures\\\\Images\\\\\"\n"),
        bytesOf("[software\\\\millennium interactive\\\\creatures\\\\1.0]\r\n\"Sound "
                "Directory\"=\"D:\\\\x\\\"y\"\r\n")};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    parseWineRegistryKey(asText(input), kGameRegistryKey);
}

}  // namespace vek::fuzz
